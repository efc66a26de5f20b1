#include "host_command_interpreter.h"

#include "host_command.h"
#include "layout.h"

#include <string_view>

namespace {

// A poll of more destinations than this is cut to this many, with a warning.
constexpr long long maxPolledDestinations = 1024;

void missing(StudioState& studio, const Instance& instance, std::string_view word,
             Panels::Found found, std::string_view panel, std::string_view control) {
    const std::string where = "panel \"" + std::string(panel) + "\"";
    studio.transcript.warning(
        instance.name, std::string(word) + " for " +
                           (found == Panels::Found::NoPanel
                                ? "unknown " + where
                                : "unknown control \"" + std::string(control) + "\" on " + where));
}

void* setProperty(StudioState& studio, Instance& instance, const std::string& text,
                  const HostCommand& command) {
    const auto& fields = command.fields;
    studio.transcript.fromComponent(instance.name, zarn_kind_host_command, text);
    const std::size_t equals = fields[0].find('=');
    if (equals == std::string_view::npos) {
        studio.transcript.warning(instance.name, "TP without property=value: " + text);
        return nullptr;
    }
    const std::string_view property = fields[0].substr(0, equals);
    const std::string_view value = fields[0].substr(equals + 1);
    const Panels::Found found = instance.panels.set(fields[1], fields[2], property, value);
    if (found != Panels::Found::Yes) {
        missing(studio, instance, command.word, found, fields[1], fields[2]);
    } else if (!studio.observers.empty()) {
        studio.notify([&](StudioObserver& observer) {
            observer.propertySet(instance.id, std::string(fields[1]), std::string(fields[2]),
                                 std::string(property), std::string(value));
        });
    }
    return nullptr;
}

void* readControls(StudioState& studio, Instance& instance, const std::string& text,
                   const HostCommand& command) {
    const auto& fields = command.fields;
    const bool get = command.word == "TG";
    std::string reply;
    const Panels::Found found = get ? instance.panels.get(fields[0], fields[1], fields[2], reply)
                                    : instance.panels.list(fields[0], fields[1], reply);
    if (found != Panels::Found::Yes) {
        studio.transcript.fromComponent(instance.name, zarn_kind_host_command, text, "no reply");
        missing(studio, instance, command.word, found, fields[0], get ? fields[1] : "");
        return nullptr;
    }
    studio.transcript.fromComponent(instance.name, zarn_kind_host_command, text,
                                    "\"" + reply + "\"");
    return studio.ledger.handOut(instance.id, text, reply);
}

bool isRelative(std::string_view path) {
    return path.empty() ||
           !(path[0] == '/' || path[0] == '\\' || (path.size() > 1 && path[1] == ':'));
}

// A layout that cannot be shown is an error of the action under way: the scenario fails
// at its line.
void* showPanel(StudioState& studio, Instance& instance, const std::string& text,
                const HostCommand& command) {
    const auto& fields = command.fields;
    // A relative path starts in the scenario's folder, as a module's path does.
    const bool relative = isRelative(fields[1]);
    const std::string path =
        relative ? studio.folder + "/" + std::string(fields[1]) : std::string(fields[1]);
    const Layout layout = loadLayout(path);
    if (!layout.error.empty()) {
        studio.transcript.fromComponent(instance.name, zarn_kind_host_command, text, "no reply");
        if (studio.error.empty()) {
            studio.error =
                instance.name + " shows panel \"" + std::string(fields[0]) + "\": " + layout.error;
        }
        return nullptr;
    }
    studio.transcript.fromComponent(instance.name, zarn_kind_host_command, text,
                                    "shown, " + std::to_string(layout.controls.size()) +
                                        " controls" + (relative ? ", from " + path : ""));
    instance.panels.show(std::string(fields[0]), layout.controls);
    studio.notify([&](StudioObserver& observer) { observer.instanceChanged(instance.id); });
    return studio.shownReply;
}

void* notifyParent(StudioState& studio, Instance& instance, const std::string& text,
                   const HostCommand& command) {
    studio.transcript.fromComponent(instance.name, zarn_kind_host_command, text);
    const std::string message(command.fields[0]);
    const DestinationGroups::Answer answer = studio.groups.notified(instance.group, message);
    if (answer.kind == DestinationGroups::Answer::Kind::Broadcast) {
        postToGroup(studio, instance.group, answer.text);
    } else if (answer.kind == DestinationGroups::Answer::Kind::Echo) {
        studio.transcript.note("group " + instance.group + ": " + message + " from " +
                               instance.name + " is its selection already: not passed on");
    }
    return nullptr;
}

// The command as the transcript shows it: the numbers as the host read them.
std::string numericText(const HostCommand& command) {
    std::string text(command.word);
    for (std::size_t i = 0; i < command.numberCount; ++i) {
        text += " " + std::to_string(command.numbers[i]);
    }
    if (command.add) {
        text += " 'ADD'";
    }
    return text;
}

void* readDatabase(StudioState& studio, Instance& instance, const HostCommand& command) {
    const auto& n = command.numbers;
    const std::string text = numericText(command);
    const std::optional<std::string> entry = studio.databases.get(n[0], n[1], n[2]);
    studio.transcript.fromComponent(instance.name, zarn_kind_host_command, text,
                                    entry ? "\"" + *entry + "\"" : "no entry");
    return entry ? studio.ledger.handOut(instance.id, text, *entry) : nullptr;
}

// Checks a range command ("RR", "RP"); false when it is to be ignored.
bool rangeUsable(StudioState& studio, const Instance& instance, const HostCommand& command) {
    const auto& n = command.numbers;
    const std::string word(command.word);
    if (n[1] > n[2]) {
        studio.transcript.warning(instance.name,
                                  word + " with its first destination after its last");
        return false;
    }
    if (!studio.routers.defined(n[0])) {
        studio.transcript.warning(instance.name, word + " on device " + std::to_string(n[0]) +
                                                     ", which is no router of this studio");
        return word != "RP";
    }
    return true;
}

void poll(StudioState& studio, const Instance& instance, const HostCommand& command) {
    const auto& n = command.numbers;
    long long last = n[2];
    if (last - n[1] + 1 > maxPolledDestinations) {
        last = n[1] + maxPolledDestinations - 1;
        studio.transcript.warning(instance.name, "RP of more than " +
                                                     std::to_string(maxPolledDestinations) +
                                                     " destinations: only the first are answered");
    }
    for (long long destination = n[1]; destination <= last; ++destination) {
        const int index = static_cast<int>(destination);
        postRevertive(studio, instance.id, n[0], index, studio.routers.revertiveText(n[0], index));
    }
}

void* routerCommand(StudioState& studio, Instance& instance, const HostCommand& command) {
    if (command.word == "RN") {
        return readDatabase(studio, instance, command);
    }
    const auto& n = command.numbers;
    const std::string word(command.word);
    studio.transcript.fromComponent(instance.name, zarn_kind_host_command, numericText(command));
    if ((word == "RR" || word == "RP") && !rangeUsable(studio, instance, command)) {
        return nullptr;
    }
    if (word == "RR") {
        studio.routers.registerRange(instance.id, n[0], {n[1], n[2]}, command.add);
    } else if (word == "RU") {
        studio.routers.unregister(instance.id, n[0]);
    } else if (word == "RP") {
        poll(studio, instance, command);
    } else if (word == "ET") {
        studio.timers.stop(instance.id, n[0]);
    } else if (word == "AS") {
        studio.routers.unregisterAll(instance.id);
        studio.timers.stopAll(instance.id);
    }
    return nullptr;
}

} // namespace

void* interpretCommand(StudioState& studio, Instance& instance, const std::string& text) {
    studio.instances.sent(instance, text);
    const ParsedHostCommand parsed = parseHostCommand(text);
    if (!parsed.command) {
        studio.transcript.fromComponent(instance.name, zarn_kind_host_command, text);
        studio.transcript.warning(instance.name, parsed.error + ": " + text);
        return nullptr;
    }
    const HostCommand& command = *parsed.command;
    if (!command.quoted()) {
        return routerCommand(studio, instance, command);
    }
    if (command.word == "TP") {
        return setProperty(studio, instance, text, command);
    }
    if (command.word == "TG" || command.word == "XI") {
        return readControls(studio, instance, text, command);
    }
    if (command.word == "PS") {
        return showPanel(studio, instance, text, command);
    }
    return notifyParent(studio, instance, text, command);
}

void takeBack(StudioState& studio, Instance& instance, void* reply) {
    std::string command;
    Transcript& transcript = studio.transcript;
    switch (studio.ledger.takeBack(instance.id, reply, command)) {
    case ReplyLedger::Back::Freed:
        transcript.fromComponent(instance.name, zarn_kind_give_back, "reply to " + command);
        break;
    case ReplyLedger::Back::Null:
        transcript.fromComponent(instance.name, zarn_kind_give_back, "null");
        break;
    case ReplyLedger::Back::Kept:
        transcript.failure(instance.name,
                           "gave back a reply that the host keeps (replies to PS are the host's)");
        break;
    case ReplyLedger::Back::Unknown:
        transcript.failure(instance.name, "gave back a pointer that the host never handed it, or "
                                          "gave one back twice");
        break;
    }
}
