#include "transcript.h"

#include "json.h"

namespace {

const char* kindName(int kind) {
    switch (kind) {
    case 0:
        return "command";
    case 1:
        return "revertive";
    case 2:
        return "event";
    case 3:
        return "parent";
    case 4:
        return "timer";
    case 5:
        return "give back";
    case 6:
        return "record";
    case 7:
        return "value";
    default:
        return "kind";
    }
}

std::string padded(const std::string& text, std::size_t width) {
    return text.size() >= width ? text : text + std::string(width - text.size(), ' ');
}

// A text for the transcript: every control character shows as \xNN, so that nothing a
// component or a file sends can scramble the terminal; a line feed shows as \n unless
// `keepLines` (the host's own messages run over several lines).
std::string escaped(const std::string& text, bool keepLines) {
    static const char hex[] = "0123456789abcdef";
    std::string out;
    for (char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '\n') {
            out += keepLines ? "\n" : "\\n";
        } else if (byte < 0x20 || byte == 0x7f) {
            out += "\\x";
            out += hex[byte >> 4];
            out += hex[byte & 15];
        } else {
            out += c;
        }
    }
    return out;
}

// Multi-line texts of components stay on one line of the transcript.
std::string oneLine(const std::string& text) {
    return escaped(text, false);
}

// The host's own texts keep their lines.
std::string safe(const std::string& text) {
    return escaped(text, true);
}

} // namespace

nlohmann::ordered_json TranscriptLine::json() const {
    nlohmann::ordered_json object = {{"type", type}};
    if (!at.empty() || type == "step" || type == "failure") {
        object["at"] = at;
    }
    if (type == "message") {
        object["from"] = from;
        object["to"] = to;
        object["kind"] = kind;
    }
    if (type == "reply" || type == "warning") {
        object["instance"] = instance;
    }
    object["text"] = text;
    if (!answer.empty()) {
        object["answer"] = answer;
    }
    return object;
}

void Transcript::write(const std::string& text) {
    // Each line goes out at once: what was seen before a component brings the host down
    // is never lost in a buffer.
    out_ << text << '\n';
    out_.flush();
}

std::string Transcript::text(const TranscriptLine& line) {
    if (line.type == "step") {
        return "== " + oneLine(line.text);
    }
    if (line.type == "message") {
        std::string text = "  " + padded(line.from + " > " + line.to, 18) + ' ' +
                           std::to_string(line.kind) + ' ' + padded(kindName(line.kind), 10) + ' ' +
                           oneLine(line.text);
        if (!line.answer.empty()) {
            text += "  => " + oneLine(line.answer);
        }
        return text;
    }
    if (line.type == "reply") {
        std::string lines = "  reply of " + oneLine(line.instance) + ":";
        std::size_t start = 0;
        for (;;) {
            const std::size_t end = line.text.find('\n', start);
            lines += "\n    " + oneLine(line.text.substr(start, end - start));
            if (end == std::string::npos) {
                return lines;
            }
            start = end + 1;
        }
    }
    if (line.type == "note") {
        return "  " + safe(line.text);
    }
    if (line.type == "warning") {
        return "warning: " + (line.instance.empty() ? "" : oneLine(line.instance) + ": ") +
               safe(line.text);
    }
    if (line.type == "debug") {
        return "  debug: " + oneLine(line.text);
    }
    return (line.at.empty() ? "" : oneLine(line.at) + ": ") + safe(line.text);
}

void Transcript::emit(const TranscriptLine& line, bool quiet) {
    if (!quiet) {
        write(format_ == Format::Json ? jsonLine(line.json()) : text(line));
    }
    if (listener_) {
        listener_(line);
    }
}

void Transcript::step(const std::string& where, const std::string& text) {
    if (shows()) {
        emit({"step", where, "", "", -1, "", text, ""}, quiet_);
    }
}

void Transcript::toComponent(const std::string& instance, int kind, const std::string& text) {
    if (shows()) {
        emit({"message", "", "host", instance, kind, "", text, ""}, quiet_);
    }
}

void Transcript::fromComponent(const std::string& instance, int kind, const std::string& text,
                               const std::string& answer) {
    if (shows()) {
        emit({"message", "", instance, "host", kind, "", text, answer}, quiet_);
    }
}

void Transcript::reply(const std::string& instance, const std::string& text) {
    if (shows()) {
        emit({"reply", "", "", "", -1, instance, text, ""}, quiet_);
    }
}

void Transcript::note(const std::string& text) {
    if (shows()) {
        emit({"note", "", "", "", -1, "", text, ""}, quiet_);
    }
}

void Transcript::warning(const std::string& instance, const std::string& text) {
    emit({"warning", "", "", "", -1, instance, text, ""}, false);
}

void Transcript::debug(const std::string& text) {
    if (shows()) {
        emit({"debug", "", "", "", -1, "", text, ""}, quiet_);
    }
}

void Transcript::failure(const std::string& where, const std::string& text) {
    ++failures_;
    emit({"failure", where, "", "", -1, "", text, ""}, false);
}

void Transcript::panel(const PanelView& view) {
    if (quiet_) {
        return;
    }
    if (format_ == Format::Json) {
        write(jsonLine(panelJson(view)));
        return;
    }
    std::string drawn = drawPanel(view);
    drawn.pop_back(); // its last line end; write adds one
    write(drawn);
}
