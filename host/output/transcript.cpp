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

// Multi-line texts stay on one line of the transcript.
std::string oneLine(const std::string& text) {
    std::string line;
    for (char c : text) {
        line += c == '\n' ? std::string("\\n") : std::string(1, c);
    }
    return line;
}

} // namespace

void Transcript::step(const std::string& where, const std::string& text) {
    if (!shows()) {
        return;
    }
    if (format_ == Format::Json) {
        out_ << JsonObject().add("type", "step").add("at", where).add("text", text).str() << '\n';
    } else {
        out_ << "== " << text << '\n';
    }
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
        out_ << line.str() << '\n';
        return;
    }
    out_ << "  " << padded(from + " > " + to, 18) << ' ' << kind << ' '
         << padded(kindName(kind), 10) << ' ' << oneLine(text);
    if (!answer.empty()) {
        out_ << "  => " << oneLine(answer);
    }
    out_ << '\n';
}

void Transcript::reply(const std::string& instance, const std::string& text) {
    if (!shows()) {
        return;
    }
    if (format_ == Format::Json) {
        out_ << JsonObject().add("type", "reply").add("instance", instance).add("text", text).str()
             << '\n';
        return;
    }
    out_ << "  reply of " << instance << ":\n";
    std::size_t start = 0;
    for (;;) {
        const std::size_t end = text.find('\n', start);
        out_ << "    " << text.substr(start, end - start) << '\n';
        if (end == std::string::npos) {
            break;
        }
        start = end + 1;
    }
}

void Transcript::note(const std::string& text) {
    if (!shows()) {
        return;
    }
    if (format_ == Format::Json) {
        out_ << JsonObject().add("type", "note").add("text", text).str() << '\n';
    } else {
        out_ << "  " << text << '\n';
    }
}

void Transcript::warning(const std::string& instance, const std::string& text) {
    if (format_ == Format::Json) {
        out_
            << JsonObject().add("type", "warning").add("instance", instance).add("text", text).str()
            << '\n';
    } else {
        out_ << "warning: " << (instance.empty() ? "" : instance + ": ") << text << '\n';
    }
}

void Transcript::debug(const std::string& text) {
    if (!shows()) {
        return;
    }
    if (format_ == Format::Json) {
        out_ << JsonObject().add("type", "debug").add("text", text).str() << '\n';
    } else {
        out_ << "  debug: " << oneLine(text) << '\n';
    }
}

void Transcript::failure(const std::string& where, const std::string& text) {
    ++failures_;
    if (format_ == Format::Json) {
        out_ << JsonObject().add("type", "failure").add("at", where).add("text", text).str()
             << '\n';
    } else {
        out_ << (where.empty() ? "" : where + ": ") << text << '\n';
    }
}

void Transcript::panel(const PanelView& view) {
    if (!shows()) {
        return;
    }
    if (format_ == Format::Json) {
        out_ << panelJson(view) << '\n';
    } else {
        out_ << drawPanel(view);
    }
}
