#include "../support/debug_capture.h"
#include "../support/probe_component.h"
#include "../support/recording_host.h"
#include "../support/test_names.h"

#include <zarn_script_helper/record_builders.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace {

using testing::_;
using testing::ElementsAre;
using testing::ElementsAreArray;

// The alarm controls of the panel, what each reads back as its "value", and whether an
// acknowledgement resets it to 4.
struct AlarmControl {
    const char* id;
    const char* valueReply;
    bool acknowledgeResets;
};

const AlarmControl alarmControls[] = {
    {"alm_1", "value=1", true},
    {"alm_3", "value=3", false},
    {"alm_7", "value=7", true},
    {"alm_0", "value=0", false},
    {"alm_e", "value=", false},
    {"alm_n", "value=-1", true},
    {"alm_5", "value=5", false},
    {"alm_4", "value=4", false},
    {"alm_6", "value=6", true},
    {"alm_2", "value=2", false},
    // Names another property: reads as "", so nothing is written (and a debug line).
    {"alm_w", "Value=1", false},
};

enum class Path { Acknowledge, SetValue, AlarmOnly };

struct ActionCase {
    const char* name;
    const char* control; // "ActionAll" or "AckAll"
    const char* event;   // the event text
    const char* alarm;   // the "alarm" value every control receives
    Path path;
    const char* value; // for SetValue
};

const ActionCase actionCases[] = {
    {"ack", "ActionAll", "alarm=ack", "ack", Path::Acknowledge, nullptr},
    {"AckAll", "AckAll", "", "4", Path::Acknowledge, nullptr},
    {"digit 4", "ActionAll", "alarm=4", "4", Path::Acknowledge, nullptr},
    {"digit 2", "ActionAll", "alarm=2", "2", Path::SetValue, "2"},
    {"digit 0", "ActionAll", "alarm=0", "0", Path::SetValue, "0"},
    {"one letter", "ActionAll", "alarm=x", "x", Path::SetValue, "0"},
    {"empty", "ActionAll", "alarm=", "", Path::AlarmOnly, nullptr},
    {"two digits", "ActionAll", "alarm=12", "12", Path::AlarmOnly, nullptr},
    {"capital ACK", "ActionAll", "alarm=ACK", "ACK", Path::AlarmOnly, nullptr},
};

std::vector<std::string> expectedCommands(const ActionCase& c) {
    std::vector<std::string> sent = {"XI '1' 'alm_'"};
    for (const AlarmControl& control : alarmControls) {
        const std::string target = std::string("' '1' '") + control.id + "'";
        sent.push_back(std::string("TP 'alarm=") + c.alarm + target);
        if (c.path == Path::Acknowledge) {
            sent.push_back(std::string("TG '1' '") + control.id + "' 'value'");
            if (control.acknowledgeResets) {
                sent.push_back("TP 'value=4" + target);
            }
        } else if (c.path == Path::SetValue) {
            sent.push_back(std::string("TP 'value=") + c.value + target);
        }
    }
    return sent;
}

class AlarmRelay : public testing::TestWithParam<ActionCase> {
protected:
    void SetUp() override {
        std::string list;
        for (const AlarmControl& control : alarmControls) {
            list += (list.empty() ? "" : ",") + std::string(control.id);
            host.answer(std::string("TG '1' '") + control.id + "' 'value'", control.valueReply);
        }
        host.answer("XI '1' 'alm_'", list);
        component.enableAlarmRelay();
    }

    RecordingHost host;
    testing::StrictMock<ProbeComponent> component{&host, ""};
};

TEST_P(AlarmRelay, PassesTheActionToEveryAlarmControl) {
    const ActionCase& c = GetParam();
    OwnedControlEvent event("1", c.control, c.event);
    DebugCapture debug;
    // StrictMock: the event must not reach onControlEvent.
    EXPECT_EQ(component.callback(event.record(), zarn_kind_control_event), nullptr);
    EXPECT_THAT(host.commands(), ElementsAreArray(expectedCommands(c)));
    EXPECT_EQ(debug.lines().size(), c.path == Path::Acknowledge ? 1u : 0u);
}

INSTANTIATE_TEST_SUITE_P(Table, AlarmRelay, testing::ValuesIn(actionCases), NameOfCase());

TEST(AlarmRelayEvents, OtherEventsStillReachOnControlEvent) {
    RecordingHost host;
    testing::StrictMock<ProbeComponent> component(&host, "");
    component.enableAlarmRelay();
    // ActionAll with another command, a control of another name, and letter case.
    OwnedControlEvent other("1", "ActionAll", "reset=1");
    OwnedControlEvent button("1", "Button", "button=released");
    OwnedControlEvent lower("1", "ackall", "");
    EXPECT_CALL(component, onControlEvent(_)).Times(3);
    component.callback(other.record(), zarn_kind_control_event);
    component.callback(button.record(), zarn_kind_control_event);
    component.callback(lower.record(), zarn_kind_control_event);
    EXPECT_TRUE(host.commands().empty());
}

TEST(AlarmRelayEvents, NoControlsOrNoListSendsNothingAfterTheQuery) {
    for (const std::optional<std::string>& reply :
         {std::optional<std::string>(""), std::optional<std::string>()}) {
        RecordingHost host;
        host.answer("XI '1' 'alm_'", reply);
        testing::StrictMock<ProbeComponent> component(&host, "");
        component.relayAlarm("ack");
        EXPECT_THAT(host.commands(), ElementsAre("XI '1' 'alm_'"));
    }
}

} // namespace
