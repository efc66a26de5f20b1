// The inbound side of zarn_script_helper: construction, destruction and the dispatch of
// every message the host delivers.
#include <zarn_script_helper/parsed_command.h>
#include <zarn_script_helper/zarn_script_helper.h>

#include <cstdint>
#include <cstring>
#include <new>

zarn_script_helper::zarn_script_helper(zarn_client_callback* host, const char* text)
    : host(host), instancePath(text), alarmRelayEnabled(false) {}

zarn_script_helper::~zarn_script_helper() {
    try {
        detachFromHost();
    } catch (...) {
        // A destructor lets nothing escape into the host.
    }
}

void zarn_script_helper::onValueMessage(const ValueMessageView&) {}

void zarn_script_helper::onRecordMessage(const RecordMessageView&) {}

void* zarn_script_helper::callback(void* data, int kind) {
    try {
        return dispatch(data, kind);
    } catch (...) {
        // Nothing is thrown into the host: a failed operation ends with no result.
        return nullptr;
    }
}

void* zarn_script_helper::dispatch(void* data, int kind) {
    switch (kind) {
    case zarn_kind_revertive:
        if (data != nullptr) {
            const RevertiveRecordView revertive(static_cast<const RevertiveRecord*>(data));
            onRevertive(revertive);
        }
        return nullptr;
    case zarn_kind_control_event:
        if (data != nullptr) {
            controlEvent(static_cast<const ControlEvent*>(data));
        }
        return nullptr;
    case zarn_kind_parent_command:
        return answerParent(static_cast<const char*>(data));
    case zarn_kind_timer:
        // The id travels in the pointer word itself.
        onTimer(static_cast<int>(reinterpret_cast<std::intptr_t>(data)));
        return nullptr;
    case zarn_kind_give_back:
        // A reply array of answerParent; delete[] of null does nothing.
        delete[] static_cast<char*>(data);
        return nullptr;
    case zarn_kind_record_message: {
        const RecordMessageView message(data);
        onRecordMessage(message);
        return nullptr;
    }
    case zarn_kind_value_message: {
        const ValueMessageView message(data);
        onValueMessage(message);
        return nullptr;
    }
    default:
        return nullptr;
    }
}

void zarn_script_helper::controlEvent(const ControlEvent* record) {
    const ControlEventView event(record);
    if (alarmRelayEnabled) {
        const zarn_string control = event.control();
        if (control == "ActionAll" && event.eventCommand() == "alarm") {
            relayAlarm(event.eventValue());
            return;
        }
        if (control == "AckAll") {
            relayAlarm("4");
            return;
        }
    }
    onControlEvent(event);
}

void* zarn_script_helper::answerParent(const char* text) {
    const OwnedParsedCommand command(text);
    const zarn_string reply = onParentCommand(ParsedCommandView(&command.record()));
    if (reply.isEmpty()) {
        return nullptr;
    }
    // The host owns this array until it gives it back with kind 5.
    char* answer = new (std::nothrow) char[reply.length() + 1];
    if (answer != nullptr) {
        std::memcpy(answer, reply.data(), reply.length() + 1);
    }
    return answer;
}
