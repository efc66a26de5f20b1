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

void Transcript::write(const std::string& line) {
    // Each line goes out at once: what was seen before a component brings the host down
    // is never lost in a buffer.
    out_ << line << '\n';
    out_.flush();
}

void Transcript::step(const std::string& where, const std::string& text) {
    if (!shows()) {
        return;
    }
    write(format_ == Format::Json
              ? JsonObject().add("type", "step").add("at", where).add("text", text).str()
              : "== " + oneLine(text));
}

void Transcript::toComponent(const std::string& instance, int kind, const std::string& text) {
    message("host", instance, kind, text, "");
}

void Transcript::fromComponent(const std::string& instance, int kind, const std::string& text,
                               const std::string& answer) {
    message(instance, "host", kind, text, answer);
}

void Transcript::message(const std::string& from, const std::string& to, int kind,
                         const std::string& text, const std::string& answer) {
    if (!shows()) {
        return;
    }
    if (format_ == Format::Json) {
        JsonObject line;
        line.add("type", "message")
            .add("from", from)
            .add("to", to)
            .add("kind", kind)
            .add("text", text);
        if (!answer.empty()) {
            line.add("answer", answer);
        }
        write(line.str());
        return;
    }
    std::string line = "  " + padded(from + " > " + to, 18) + ' ' + std::to_string(kind) + ' ' +
                       padded(kindName(kind), 10) + ' ' + oneLine(text);
    if (!answer.empty()) {
        line += "  => " + oneLine(answer);
    }
    write(line);
}

void Transcript::reply(const std::string& instance, const std::string& text) {
    if (!shows()) {
        return;
    }
    if (format_ == Format::Json) {
        write(JsonObject().add("type", "reply").add("instance", instance).add("text", text).str());
        return;
    }
    std::string lines = "  reply of " + oneLine(instance) + ":";
    std::size_t start = 0;
    for (;;) {
        const std::size_t end = text.find('\n', start);
        lines += "\n    " + oneLine(text.substr(start, end - start));
        if (end == std::string::npos) {
            break;
        }
        start = end + 1;
    }
    write(lines);
}

void Transcript::note(const std::string& text) {
    if (!shows()) {
        return;
    }
    write(format_ == Format::Json ? JsonObject().add("type", "note").add("text", text).str()
                                  : "  " + safe(text));
}

void Transcript::warning(const std::string& instance, const std::string& text) {
    write(
        format_ == Format::Json
            ? JsonObject().add("type", "warning").add("instance", instance).add("text", text).str()
            : "warning: " + (instance.empty() ? "" : oneLine(instance) + ": ") + safe(text));
}

void Transcript::debug(const std::string& text) {
    if (!shows()) {
        return;
    }
    write(format_ == Format::Json ? JsonObject().add("type", "debug").add("text", text).str()
                                  : "  debug: " + oneLine(text));
}

void Transcript::failure(const std::string& where, const std::string& text) {
    ++failures_;
    write(format_ == Format::Json
              ? JsonObject().add("type", "failure").add("at", where).add("text", text).str()
              : (where.empty() ? "" : oneLine(where) + ": ") + safe(text));
}

void Transcript::panel(const PanelView& view) {
    if (!shows()) {
        return;
    }
    if (format_ == Format::Json) {
        write(panelJson(view));
        return;
    }
    std::string drawn = drawPanel(view);
    drawn.pop_back(); // its last line end; write adds one
    write(drawn);
}
