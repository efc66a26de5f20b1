// The host commands of zarn_script_helper: one text each, sent with kind 0.
#include <zarn_script_helper/command_text.h>
#include <zarn_script_helper/debug_output.h>
#include <zarn_script_helper/zarn_script_helper.h>

#include <cstdio>

namespace {

// The longest numeric command: three numbers of the widest int and the 'ADD' form.
constexpr char longestNumericCommand[] = "RR -2147483648 -2147483648 -2147483648 'ADD'";
// Room for it and its terminating zero, so that no numeric command is ever cut short.
constexpr std::size_t numericCommandRoom = 48;
static_assert(sizeof(longestNumericCommand) <= numericCommandRoom);

} // namespace

void* zarn_script_helper::send(const char* text) {
    return host != nullptr ? host->callback(const_cast<char*>(text), zarn_kind_host_command)
                           : nullptr;
}

void zarn_script_helper::giveBack(void* reply) {
    host->callback(reply, zarn_kind_give_back);
}

template <typename... Numbers>
void zarn_script_helper::sendNumbers(const char* format, Numbers... numbers) {
    if (host == nullptr) {
        return;
    }
    char text[numericCommandRoom];
    std::snprintf(text, sizeof text, format, numbers...);
    send(text);
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
    const zarn_string text = zarn_string("XI '%1' '%2'").arg(panel).arg(prefix);
    void* reply = send(text);
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
    const zarn_string text = zarn_string("RN %1 %2 %3").arg(device).arg(database).arg(index);
    void* reply = send(text);
    if (reply != nullptr) {
        result = static_cast<const char*>(reply);
    }
    // Given back also when null: the host may count its replies that way.
    giveBack(reply);
}

void zarn_script_helper::routerRegister(int device, int first, int last, bool add) {
    sendNumbers(add ? "RR %d %d %d 'ADD'" : "RR %d %d %d", device, first, last);
}

void zarn_script_helper::routerUnregister(int device) {
    sendNumbers("RU %d", device);
}

void zarn_script_helper::routerPoll(int device, int first, int last) {
    sendNumbers("RP %d %d %d", device, first, last);
}

void zarn_script_helper::timerStop(int timerId) {
    sendNumbers("ET %d", timerId);
}

void zarn_script_helper::detachFromHost() {
    if (host == nullptr) {
        return;
    }
    send("AS");
}

void zarn_script_helper::debugLog(const zarn_string& format, const zarn_string& a1,
                                  const zarn_string& a2, const zarn_string& a3,
                                  const zarn_string& a4, const zarn_string& a5,
                                  const zarn_string& a6, const zarn_string& a7,
                                  const zarn_string& a8, const zarn_string& a9) {
    const zarn_string line =
        format.arg(a1).arg(a2).arg(a3).arg(a4).arg(a5).arg(a6).arg(a7).arg(a8).arg(a9);
    zarn_debug_output(line);
}
