#include "videohub_codec.h"

#include <cctype>
#include <cstdlib>

namespace videohub {

namespace {

// A decimal number from 0 to 2^31 - 1, the whole text.
bool index(std::string_view text, int& value) {
    if (text.empty() || text.size() > 10) {
        return false;
    }
    long long number = 0;
    for (char c : text) {
        if (c < '0' || c > '9') {
            return false;
        }
        number = number * 10 + (c - '0');
    }
    if (number > 2147483647) {
        return false;
    }
    value = static_cast<int>(number);
    return true;
}

// "Key: value".
bool keyValue(const std::string& line, std::string& key, std::string& value) {
    const std::size_t colon = line.find(": ");
    if (colon == std::string::npos) {
        return false;
    }
    key = line.substr(0, colon);
    value = line.substr(colon + 2);
    return true;
}

std::string upper(std::string text) {
    for (char& c : text) {
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    }
    return text;
}

} // namespace

std::vector<BlockReader::Item> BlockReader::feed(std::string_view bytes) {
    std::vector<Item> out;
    for (char c : bytes) {
        if (c != '\n') {
            if (partial_.size() <= maxLine) {
                partial_ += c;
            }
            continue;
        }
        std::string text;
        text.swap(partial_);
        line(std::move(text), out);
    }
    if (partial_.size() > maxLine && !skipping_) {
        skipBlock("a line of more than " + std::to_string(maxLine) + " bytes", partial_, out);
    }
    return out;
}

void BlockReader::reset() {
    partial_.clear();
    current_ = {};
    inBlock_ = skipping_ = false;
    blockBytes_ = 0;
}

void BlockReader::line(std::string text, std::vector<Item>& out) {
    if (!text.empty() && text.back() == '\r') {
        text.pop_back();
    }
    if (text.empty()) {
        // The empty line ends a block; between blocks it is passed over.
        if (inBlock_ && !skipping_) {
            Item item;
            item.block = std::move(current_);
            out.push_back(std::move(item));
        }
        current_ = {};
        inBlock_ = skipping_ = false;
        blockBytes_ = 0;
        return;
    }
    if (skipping_) {
        return;
    }
    if (text.size() > maxLine) {
        skipBlock("a line of more than " + std::to_string(maxLine) + " bytes", text, out);
        return;
    }
    blockBytes_ += text.size() + 1;
    if (blockBytes_ > maxBlock) {
        skipBlock("a block of more than " + std::to_string(maxBlock) + " bytes", current_.header,
                  out);
        return;
    }
    if (!inBlock_) {
        inBlock_ = true;
        current_.header =
            !text.empty() && text.back() == ':' ? text.substr(0, text.size() - 1) : text;
        return;
    }
    current_.lines.push_back(std::move(text));
}

void BlockReader::skipBlock(std::string error, std::string_view seen, std::vector<Item>& out) {
    Item item;
    item.isBlock = false;
    item.error = std::move(error);
    item.seen = std::string(seen.substr(0, 64));
    out.push_back(std::move(item));
    skipping_ = inBlock_ = true;
    current_ = {};
}

Message interpret(const Block& block) {
    Message message;
    message.header = block.header;
    const std::string header = upper(block.header);
    if (header == "ACK" || header == "NAK") {
        message.kind = header == "ACK" ? Message::Kind::Ack : Message::Kind::Nak;
        return message;
    }
    if (header == "PING") {
        message.kind = Message::Kind::Ping;
        return message;
    }
    if (header == "PROTOCOL PREAMBLE" || header == "VIDEOHUB DEVICE") {
        message.kind =
            header == "PROTOCOL PREAMBLE" ? Message::Kind::Preamble : Message::Kind::Device;
        for (const std::string& line : block.lines) {
            std::string key;
            std::string value;
            if (!keyValue(line, key, value)) {
                message.badLines.push_back(line);
            } else if (key == "Version") {
                message.version = value;
            } else if (key == "Device present") {
                message.present = value == "true";
            } else if (key == "Model name") {
                message.model = value;
            } else if (key == "Video inputs") {
                index(value, message.inputs);
            } else if (key == "Video outputs") {
                index(value, message.outputs);
            }
        }
        return message;
    }
    if (header == "INPUT LABELS" || header == "OUTPUT LABELS") {
        message.kind =
            header == "INPUT LABELS" ? Message::Kind::InputLabels : Message::Kind::OutputLabels;
        for (const std::string& line : block.lines) {
            // "<index> <text>": the text runs to the end of the line, blanks and all.
            const std::size_t blank = line.find(' ');
            int at = 0;
            if (blank == std::string::npos || !index(std::string_view(line).substr(0, blank), at)) {
                message.badLines.push_back(line);
                continue;
            }
            message.labels.emplace_back(at, line.substr(blank + 1));
        }
        return message;
    }
    if (header == "VIDEO OUTPUT ROUTING" || header == "VIDEO OUTPUT LOCKS") {
        const bool routing = header == "VIDEO OUTPUT ROUTING";
        message.kind = routing ? Message::Kind::Routing : Message::Kind::Locks;
        for (const std::string& line : block.lines) {
            const std::size_t blank = line.find(' ');
            int output = 0;
            int input = 0;
            const bool read = blank != std::string::npos &&
                              index(std::string_view(line).substr(0, blank), output);
            if (read && routing && index(std::string_view(line).substr(blank + 1), input)) {
                message.routes.emplace_back(output, input);
            } else if (read && !routing && line.size() == blank + 2 &&
                       std::string("OLUF").find(line[blank + 1]) != std::string::npos) {
                message.locks.emplace_back(output, line[blank + 1]);
            } else {
                message.badLines.push_back(line);
            }
        }
        return message;
    }
    return message; // Other: passed over, as the protocol asks
}

std::string block(const std::string& header, const std::vector<std::string>& lines) {
    std::string text = header + "\n";
    for (const std::string& line : lines) {
        text += line + "\n";
    }
    return text + "\n";
}

std::string ack() {
    return "ACK\n\n";
}

std::string nak() {
    return "NAK\n\n";
}

std::string ping() {
    return "PING:\n\n";
}

std::string routes(const std::vector<std::pair<int, int>>& outputToInput) {
    std::vector<std::string> lines;
    for (const auto& [output, input] : outputToInput) {
        lines.push_back(std::to_string(output) + " " + std::to_string(input));
    }
    return block("VIDEO OUTPUT ROUTING:", lines);
}

std::string labels(const std::string& header, const std::map<int, std::string>& labels) {
    std::vector<std::string> lines;
    for (const auto& [at, text] : labels) {
        // No line end may go into a label.
        std::string clean;
        for (char c : text) {
            clean += c == '\n' || c == '\r' ? ' ' : c;
        }
        lines.push_back(std::to_string(at) + " " + clean);
    }
    return block(header + ":", lines);
}

std::string dump(const std::string& model, int inputs, int outputs,
                 const std::map<int, std::string>& inputLabels,
                 const std::map<int, std::string>& outputLabels,
                 const std::map<int, int>& routing) {
    std::vector<std::pair<int, int>> routed(routing.begin(), routing.end());
    std::vector<std::string> locks;
    for (int output = 0; output < outputs; ++output) {
        locks.push_back(std::to_string(output) + " U");
    }
    return block("PROTOCOL PREAMBLE:", {"Version: 2.3"}) +
           block("VIDEOHUB DEVICE:",
                 {"Device present: true", "Model name: " + model,
                  "Video inputs: " + std::to_string(inputs), "Video processing units: 0",
                  "Video outputs: " + std::to_string(outputs), "Video monitoring outputs: 0",
                  "Serial ports: 0"}) +
           labels("INPUT LABELS", inputLabels) + labels("OUTPUT LABELS", outputLabels) +
           routes(routed) + block("VIDEO OUTPUT LOCKS:", locks);
}

} // namespace videohub
