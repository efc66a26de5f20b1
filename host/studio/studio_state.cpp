#include "studio_state.h"

void postRevertive(StudioState& studio, int instance, int device, int index,
                   const std::string& text) {
    studio.deliveries.push_back({instance, Delivery::Kind::Revertive, device, index, text});
}

void postToGroup(StudioState& studio, const std::string& group, const std::string& text) {
    studio.groups.broadcasting(group, text);
    studio.notify([&](StudioObserver& observer) { observer.selectionChanged(group); });
    for (int id : studio.groups.members(group)) {
        studio.deliveries.push_back({id, Delivery::Kind::ParentCommand, 0, 0, text});
    }
}
