// The host commands of zarn_script_helper: one text each, sent with kind 0.
#include <zarn_script_helper/command_text.h>
#include <zarn_script_helper/debug_output.h>
#include <zarn_script_helper/zarn_script_helper.h>

void zarn_script_helper::giveBack(void* reply) {
    host->callback(reply, zarn_kind_give_back);
}

void zarn_script_helper::textGet(const zarn_string& property, const zarn_string& panel,
                                 const zarn_string& control, zarn_string& result) {
    if (host == nullptr) {
        result = "";
        return;
    }
    void* reply = sendCommand(*host, "TG '", panel, "' '", control, "' '", property, "'");
    if (reply == nullptr) {
        result = "";
        return;
    }
    const zarn_string whole(static_cast<const char*>(reply));
    giveBack(reply);
    if (property == "all") {
        result = whole;
        return;
    }
    zarn_string name;
    zarn_string value;
    whole.split('=', name, value);
    if (name == property) {
        result = value;
        return;
    }
    debugLog("textGet: value returned \"%1\" was not the value requested \"%2\" (value returned "
             "was \"%3\" from control \"%4\", on panel \"%5\")",
             name, property, whole, control, panel);
    result = "";
}

bool zarn_script_helper::panelShow(const zarn_string& panel, const zarn_string& file,
                                   const zarn_string& extra) {
    if (host == nullptr) {
        return true;
    }
    const zarn_string path = instancePath.isEmpty() ? file : instancePath + "/" + file;
    void* reply = extra.isEmpty()
                      ? sendCommand(*host, "PS '", panel, "' '", path, "'")
                      : sendCommand(*host, "PS '", panel, "' '", path, "' '", extra, "'");
    return reply != nullptr;
}

void zarn_script_helper::hostNotify(const zarn_string& message) {
    if (host == nullptr) {
        return;
    }
    sendCommand(*host, "HN '", message, "'");
}

zarn_stringlist zarn_script_helper::controlList(const zarn_string& panel,
                                                const zarn_string& prefix) {
    if (host == nullptr) {
        return zarn_stringlist();
    }
    void* reply = sendCommand(*host, "XI '", panel, "' '", prefix, "'");
    if (reply == nullptr) {
        return zarn_stringlist();
    }
    zarn_stringlist list(zarn_string(static_cast<const char*>(reply)), ',');
    giveBack(reply);
    return list;
}

void zarn_script_helper::routerName(int device, int database, int index, zarn_string& result) {
    if (host == nullptr) {
        return;
    }
    void* reply = sendCommand(*host, "RN ", device, " ", database, " ", index);
    if (reply != nullptr) {
        result = static_cast<const char*>(reply);
    }
    // Given back also when null: the host may count its replies that way.
    giveBack(reply);
}

void zarn_script_helper::routerRegister(int device, int first, int last, bool add) {
    if (host == nullptr) {
        return;
    }
    if (add) {
        sendCommand(*host, "RR ", device, " ", first, " ", last, " 'ADD'");
    } else {
        sendCommand(*host, "RR ", device, " ", first, " ", last);
    }
}

void zarn_script_helper::routerUnregister(int device) {
    if (host != nullptr) {
        sendCommand(*host, "RU ", device);
    }
}

void zarn_script_helper::routerPoll(int device, int first, int last) {
    if (host != nullptr) {
        sendCommand(*host, "RP ", device, " ", first, " ", last);
    }
}

void zarn_script_helper::timerStop(int timerId) {
    if (host != nullptr) {
        sendCommand(*host, "ET ", timerId);
    }
}

void zarn_script_helper::detachFromHost() {
    if (host == nullptr) {
        return;
    }
    sendCommand(*host, "AS");
}

void zarn_script_helper::debugLog(const zarn_string& format, const zarn_string& a1,
                                  const zarn_string& a2, const zarn_string& a3,
                                  const zarn_string& a4, const zarn_string& a5,
                                  const zarn_string& a6, const zarn_string& a7,
                                  const zarn_string& a8, const zarn_string& a9) {
    const zarn_string* const arguments[] = {&a1, &a2, &a3, &a4, &a5, &a6, &a7, &a8, &a9};
    zarn_debug_output(command_text::fillMarkers(format, arguments, 9));
}
