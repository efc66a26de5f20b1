// Drives a component through callback as a host does: records made on the host's side,
// delivered with their kinds.
#pragma once

#include <zarn_script_helper/record_builders.h>
#include <zarn_script_helper/zarn_client_callback.h>

#include <cstdint>
#include <string>

// A kind 1 revertive from `device`, destination `index`, with `text`.
inline void sendRevertive(zarn_client_callback& component, int device, int index,
                          const std::string& text) {
    OwnedRevertive revertive(device, index, text);
    component.callback(revertive.record(), zarn_kind_revertive);
}

// A kind 2 event of `control` on `panel`; `eventText` such as "button=released".
inline void sendControlEvent(zarn_client_callback& component, const std::string& panel,
                             const std::string& control, const std::string& eventText) {
    OwnedControlEvent event(panel, control, eventText);
    component.callback(event.record(), zarn_kind_control_event);
}

// A kind 4 tick of timer `id`.
inline void sendTimer(zarn_client_callback& component, int id) {
    component.callback(reinterpret_cast<void*>(static_cast<std::intptr_t>(id)), zarn_kind_timer);
}
