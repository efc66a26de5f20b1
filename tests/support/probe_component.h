// A component with nothing of its own: its virtual operations are mocks, and its base's
// host commands are public, so that tests can drive the base from both sides.
#pragma once

#include <zarn_script_helper/zarn_script_helper.h>

#include <gmock/gmock.h>

class ProbeComponent : public zarn_script_helper {
public:
    ProbeComponent(zarn_client_callback* host, const char* text) : zarn_script_helper(host, text) {}

    MOCK_METHOD(void, onControlEvent, (const ControlEventView& event), (override));
    MOCK_METHOD(int, onRevertive, (const RevertiveRecordView& revertive), (override));
    MOCK_METHOD(zarn_string, onParentCommand, (const ParsedCommandView& command), (override));
    MOCK_METHOD(void, onValueMessage, (const ValueMessageView& message), (override));
    MOCK_METHOD(void, onTimer, (int timerId), (override));
    MOCK_METHOD(void, onRecordMessage, (const RecordMessageView& message), (override));

    void enableAlarmRelay() { alarmRelayEnabled = true; }

    using zarn_script_helper::controlList;
    using zarn_script_helper::debugLog;
    using zarn_script_helper::detachFromHost;
    using zarn_script_helper::hostNotify;
    using zarn_script_helper::instancePath;
    using zarn_script_helper::panelShow;
    using zarn_script_helper::relayAlarm;
    using zarn_script_helper::routerName;
    using zarn_script_helper::routerPoll;
    using zarn_script_helper::routerRegister;
    using zarn_script_helper::routerUnregister;
    using zarn_script_helper::textGet;
    using zarn_script_helper::textPut;
    using zarn_script_helper::timerStop;
};
