// ry_dest: the parent's commands, their stores and their replies.
#include "ry_dest.h"

// Tested in this order, after "return" and "index"; "buttonaction" stands between the two
// tables. A command whose value equals the stored text does nothing at all.
const ry_dest::Property ry_dest::routingProperties[] = {
    {"destination_id", &ry_dest::destination_id, &ry_dest::destinationChanged},
    {"package_name_id", &ry_dest::package_name_id, &ry_dest::nameTableChanged},
    {"package_xpts_id", &ry_dest::package_xpts_id, &ry_dest::crosspointTableChanged},
    {"video_matrix_id", &ry_dest::video_matrix_id, &ry_dest::videoMatrixChanged},
    {"audio_matrix_id", &ry_dest::audio_matrix_id, &ry_dest::audioMatrixChanged},
};

const ry_dest::Property ry_dest::appearanceProperties[] = {
    {"buttonstyle", &ry_dest::buttonstyle, &ry_dest::styleRule},
    {"buttonhigh", &ry_dest::buttonhigh, &ry_dest::highRule},
    {"buttonlow", &ry_dest::buttonlow, &ry_dest::lowRule},
    {"videotallystate", &ry_dest::videotallystate, &ry_dest::videoTallyStateRule},
    {"audiotallystate", &ry_dest::audiotallystate, &ry_dest::audioTallyStateRule},
};

template <std::size_t N>
const ry_dest::Property* ry_dest::find(const Property (&table)[N], const zarn_string& key) {
    for (const Property& property : table) {
        if (key == property.key) {
            return &property;
        }
    }
    return nullptr;
}

zarn_string ry_dest::onParentCommand(const ParsedCommandView& command) {
    const zarn_string key = command.command();
    const zarn_string value = command.value();
    if (key == "return") {
        return returnReply(value);
    }
    if (key == "index") {
        indexRule(value);
        return zarn_string();
    }
    if (const Property* property = find(routingProperties, key)) {
        setProperty(*property, value);
        return zarn_string();
    }
    if (key == "buttonaction") {
        setButtonAction(value);
        return zarn_string();
    }
    if (const Property* property = find(appearanceProperties, key)) {
        setProperty(*property, value);
        return zarn_string();
    }
    if (key == "_events") {
        return (zarn_stringlist() << "select=*").toString('\n');
    }
    if (key == "_commands") {
        return (zarn_stringlist() << "index=[value]").toString('\n');
    }
    return zarn_string();
}

void ry_dest::setProperty(const Property& property, const zarn_string& value) {
    zarn_string& text = this->*property.text;
    if (value == text) {
        return;
    }
    text = value;
    (this->*property.changed)();
}

void ry_dest::setButtonAction(const zarn_string& value) {
    if (value == "press") {
        releaseAction = false;
    } else if (value == "release") {
        releaseAction = true;
    }
}

zarn_string ry_dest::returnReply(const zarn_string& value) const {
    if (value == "all") {
        return allProperties();
    }
    const zarn_string line("%1=%2");
    if (value == "destination_id") {
        return line.arg(value).arg(destination_id);
    }
    if (value == "video_id") {
        return line.arg(value).arg(videoIndex);
    }
    if (value == "audio_id") {
        return line.arg(value).arg(audioIndex);
    }
    return zarn_string();
}

zarn_string ry_dest::allProperties() const {
    zarn_stringlist lines;
    lines << zarn_string("destination_id=%1").arg(destination_id)
          << zarn_string("package_name_id=%1").arg(package_name_id)
          << zarn_string("package_xpts_id=%1").arg(package_xpts_id)
          << zarn_string("video_matrix_id=%1").arg(video_matrix_id)
          << zarn_string("audio_matrix_id=%1").arg(audio_matrix_id)
          << zarn_string("buttonaction=%1").arg(releaseAction ? "release" : "press")
          << zarn_string("buttonstyle=%1").arg(buttonstyle)
          << zarn_string("buttonhigh=%1").arg(buttonhigh)
          << zarn_string("buttonlow=%1").arg(buttonlow)
          << zarn_string("videotallystate=%1").arg(videotallystate)
          << zarn_string("audiotallystate=%1").arg(audiotallystate);
    return lines.toString('\n');
}
