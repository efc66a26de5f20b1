// The alarm relay of zarn_script_helper: a panel-wide alarm action or acknowledgement
// passed on to every alarm control of panel "1".
#include <zarn_script_helper/zarn_script_helper.h>

namespace {

constexpr int alarmAcknowledged = 4;
constexpr int noAlarmState = -1;

// The state an action stands for: "ack" is acknowledged, a one-character action is its
// number, anything else is no state.
int alarmState(const zarn_string& action) {
    if (action == "ack") {
        return alarmAcknowledged;
    }
    if (action.length() == 1) {
        return action.toInt();
    }
    return noAlarmState;
}

// An acknowledgement leaves 0 (no alarm) and 2 to 5 as they are and resets every other
// value to acknowledged.
bool needsAcknowledging(int currentValue) {
    return currentValue == 1 || currentValue < 0 || currentValue > 5;
}

} // namespace

void zarn_script_helper::relayAlarm(const zarn_string& action) {
    const int state = alarmState(action);
    const zarn_string panel(1, 0, 0, 10);
    const zarn_stringlist controls = controlList(panel, "alm_");
    for (const zarn_string& control : controls) {
        textPut("alarm", action, panel, control);
        if (state == alarmAcknowledged) {
            zarn_string current;
            textGet("value", panel, control, current);
            if (needsAcknowledging(current.toInt())) {
                textPut("value", zarn_string(alarmAcknowledged, 0, 0, 10), panel, control);
            }
        } else if (state != noAlarmState) {
            textPut("value", zarn_string(state, 0, 0, 10), panel, control);
        }
    }
}
