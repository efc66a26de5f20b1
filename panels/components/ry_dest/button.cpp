// ry_dest: the button's events, the parent's "index", and the appearance sheets.
#include "ry_dest.h"

void ry_dest::onControlEvent(const ControlEventView& event) {
    if (!(event.panel() == 1) || event.control() != "Button") {
        return;
    }
    const zarn_string value = event.eventValue();
    const bool acts =
        (value == "pressed" && !releaseAction) || (value == "released" && releaseAction);
    if (acts) {
        // Acts every time: a selected button shows its sheet and notifies again.
        select();
    }
}

void ry_dest::indexRule(const zarn_string& value) {
    if (selected && (value == "-1" || value != destination_id)) {
        deselect();
    } else if (value == destination_id) {
        select();
    }
}

void ry_dest::select() {
    textPut("statesheet", buttonhigh, panel(), "Button");
    selected = true;
    hostNotify(zarn_string("select=%1").arg(destination_id));
}

void ry_dest::deselect() {
    textPut("statesheet", buttonlow, panel(), "Button");
    selected = false;
}

void ry_dest::highRule() {
    if (selected) {
        textPut("statesheet", buttonhigh, panel(), "Button");
    }
}

void ry_dest::lowRule() {
    if (!selected) {
        textPut("statesheet", buttonlow, panel(), "Button");
    }
}

void ry_dest::styleRule() {
    textPut("stylesheet", buttonstyle, panel(), "Button");
}

void ry_dest::videoTallyStateRule() {
    textPut("statesheet", videotallystate, panel(), "Vid");
}

void ry_dest::audioTallyStateRule() {
    textPut("statesheet", audiotallystate, panel(), "Aud");
}
