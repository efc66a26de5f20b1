#include "swp08_codec.h"

namespace swp08 {

namespace {

constexpr std::uint8_t stx = 0x02;
constexpr std::uint8_t etx = 0x03;
constexpr std::uint8_t ackByte = 0x06;
constexpr std::uint8_t nakByte = 0x15;

std::uint8_t checksum(const Bytes& data) {
    unsigned sum = static_cast<unsigned>(data.size());
    for (std::uint8_t byte : data) {
        sum += byte;
    }
    return static_cast<std::uint8_t>((0x100 - (sum & 0xFF)) & 0xFF);
}

bool isExtended(Command command) {
    return (static_cast<std::uint8_t>(command) & 0x80) != 0;
}

Command extended(Command command) {
    return static_cast<Command>(static_cast<std::uint8_t>(command) | 0x80);
}

bool fitsStandard(const Message& m) {
    if (m.matrix > 15 || m.level > 15 || m.destination > 1023 || m.source > 1023) {
        return false;
    }
    for (int source : m.sources) {
        if (source > 1023) {
            return false;
        }
    }
    return m.firstSource <= 65535;
}

void word(Bytes& out, int value) {
    out.push_back(static_cast<std::uint8_t>((value >> 8) & 0xFF));
    out.push_back(static_cast<std::uint8_t>(value & 0xFF));
}

int wordAt(const Bytes& data, std::size_t at) {
    return data[at] << 8 | data[at + 1];
}

std::optional<Message> refused(std::string& error, const std::string& why) {
    error = why;
    return std::nullopt;
}

} // namespace

Bytes frame(const Bytes& data) {
    Bytes body = data;
    body.push_back(static_cast<std::uint8_t>(data.size()));
    body.push_back(checksum(data));
    Bytes out = {dle, stx};
    for (std::uint8_t byte : body) {
        out.push_back(byte);
        if (byte == dle) {
            out.push_back(dle);
        }
    }
    out.push_back(dle);
    out.push_back(etx);
    return out;
}

Bytes ack() {
    return {dle, ackByte};
}

Bytes nak() {
    return {dle, nakByte};
}

void FrameReader::reset() {
    inFrame_ = afterDle_ = false;
    body_.clear();
    seen_.clear();
}

void FrameReader::fail(const std::string& why, std::vector<Item>& out) {
    out.push_back({Item::Kind::Error, {}, why, seen_});
    inFrame_ = false;
    body_.clear();
    seen_.clear();
}

void FrameReader::finish(std::vector<Item>& out) {
    if (body_.size() < 2) {
        fail("a frame too short for its byte count and checksum", out);
        return;
    }
    const std::uint8_t sum = body_.back();
    const std::uint8_t count = body_[body_.size() - 2];
    Bytes data(body_.begin(), body_.end() - 2);
    if (count != data.size()) {
        fail("a byte count of " + std::to_string(count) + " for " + std::to_string(data.size()) +
                 " data bytes",
             out);
        return;
    }
    if (checksum(data) != sum) {
        fail("a wrong checksum", out);
        return;
    }
    out.push_back({Item::Kind::Frame, std::move(data), "", {}});
    inFrame_ = false;
    body_.clear();
    seen_.clear();
}

std::vector<FrameReader::Item> FrameReader::feed(const std::uint8_t* bytes, std::size_t size) {
    std::vector<Item> out;
    for (std::size_t i = 0; i < size; ++i) {
        const std::uint8_t byte = bytes[i];
        if (inFrame_ && seen_.size() < 2 * (maxData + 2) + 8) {
            seen_.push_back(byte);
        }
        if (!afterDle_) {
            if (byte == dle) {
                afterDle_ = true;
            } else if (inFrame_) {
                body_.push_back(byte);
                if (body_.size() > maxData + 2) {
                    fail("a frame of more than " + std::to_string(maxData) + " data bytes", out);
                }
            }
            // Bytes outside a frame are passed over.
            continue;
        }
        afterDle_ = false;
        switch (byte) {
        case dle:
            if (inFrame_) {
                body_.push_back(dle);
                if (body_.size() > maxData + 2) {
                    fail("a frame of more than " + std::to_string(maxData) + " data bytes", out);
                }
            }
            break;
        case ackByte:
            out.push_back({Item::Kind::Ack, {}, "", {}});
            break;
        case nakByte:
            out.push_back({Item::Kind::Nak, {}, "", {}});
            break;
        case stx:
            if (inFrame_) {
                fail("a frame started inside another", out);
            }
            inFrame_ = true;
            body_.clear();
            seen_ = {dle, stx};
            break;
        case etx:
            if (inFrame_) {
                finish(out);
            }
            break;
        default:
            if (inFrame_) {
                fail("a DLE followed by " + std::to_string(byte), out);
            }
            break;
        }
    }
    return out;
}

int nameLengthOf(int code) {
    switch (code) {
    case 0:
        return 4;
    case 1:
        return 8;
    case 2:
        return 12;
    case 3:
        return 16;
    case 4:
        return 32;
    default:
        return -1;
    }
}

int nameLengthCode(int length) {
    for (int code = 0; code <= 4; ++code) {
        if (nameLengthOf(code) == length) {
            return code;
        }
    }
    return -1;
}

int namesPerMessage(int length) {
    switch (length) {
    case 4:
        return 32;
    case 8:
        return 16;
    case 12:
        return 10;
    case 16:
        return 8;
    default:
        return 7;
    }
}

std::string trimmed(const std::string& name) {
    std::size_t end = name.size();
    while (end > 0 && (name[end - 1] == ' ' || name[end - 1] == '\0')) {
        --end;
    }
    return name.substr(0, end);
}

std::optional<Message> decode(const Bytes& data, std::string& error) {
    if (data.empty()) {
        return refused(error, "an empty frame");
    }
    Message m;
    m.command = static_cast<Command>(data[0]);
    const std::size_t size = data.size();
    const auto need = [&](std::size_t bytes) { return size == bytes + 1; };
    switch (m.command) {
    case Command::Interrogate:
    case Command::Connect:
    case Command::Tally:
    case Command::Connected: {
        const bool hasSource = m.command != Command::Interrogate;
        if (!need(hasSource ? 4 : 3)) {
            return refused(error, "a crosspoint message of " + std::to_string(size - 1) + " bytes");
        }
        m.matrix = data[1] >> 4;
        m.level = data[1] & 0x0F;
        m.destination = ((data[2] >> 4) & 0x07) * 128 + (data[3] & 0x7F);
        m.source = hasSource ? (data[2] & 0x07) * 128 + (data[4] & 0x7F) : 0;
        return m;
    }
    case Command::ExtInterrogate:
    case Command::ExtConnect:
    case Command::ExtTally:
    case Command::ExtConnected: {
        const bool hasSource = m.command != Command::ExtInterrogate;
        const bool reply = m.command == Command::ExtTally || m.command == Command::ExtConnected;
        // A reply may carry a status byte after the source, or not.
        if (!(need(hasSource ? 6 : 4) || (reply && need(7)))) {
            return refused(error, "an extended crosspoint message of " + std::to_string(size - 1) +
                                      " bytes");
        }
        m.matrix = data[1];
        m.level = data[2];
        m.destination = wordAt(data, 3);
        m.source = hasSource ? wordAt(data, 5) : 0;
        return m;
    }
    case Command::TallyDumpRequest:
        if (!need(1)) {
            return refused(error, "a tally dump request of " + std::to_string(size - 1) + " bytes");
        }
        m.matrix = data[1] >> 4;
        m.level = data[1] & 0x0F;
        return m;
    case Command::ExtTallyDumpRequest:
        if (!need(2)) {
            return refused(error, "an extended tally dump request of " + std::to_string(size - 1) +
                                      " bytes");
        }
        m.matrix = data[1];
        m.level = data[2];
        return m;
    case Command::TallyDumpByte: {
        if (size < 4 || size != 4u + data[2]) {
            return refused(error, "a byte tally dump of the wrong length");
        }
        m.matrix = data[1] >> 4;
        m.level = data[1] & 0x0F;
        m.destination = data[3];
        for (std::size_t i = 0; i < data[2]; ++i) {
            m.sources.push_back(data[4 + i]);
        }
        return m;
    }
    case Command::TallyDumpWord:
    case Command::ExtTallyDump: {
        const bool extendedDump = m.command == Command::ExtTallyDump;
        const std::size_t head = extendedDump ? 6 : 5; // command, M[, L], N, first hi, lo
        if (size < head) {
            return refused(error, "a tally dump of the wrong length");
        }
        const std::size_t count = data[extendedDump ? 3 : 2];
        if (size != head + 2 * count) {
            return refused(error, "a tally dump of the wrong length");
        }
        m.matrix = extendedDump ? data[1] : data[1] >> 4;
        m.level = extendedDump ? data[2] : data[1] & 0x0F;
        m.destination = wordAt(data, head - 2);
        for (std::size_t i = 0; i < count; ++i) {
            m.sources.push_back(wordAt(data, head + 2 * i));
        }
        return m;
    }
    case Command::SourceNamesRequest:
    case Command::ExtSourceNamesRequest: {
        const bool extendedRequest = m.command == Command::ExtSourceNamesRequest;
        if (!need(extendedRequest ? 3 : 2)) {
            return refused(error, "a source names request of the wrong length");
        }
        m.matrix = extendedRequest ? data[1] : data[1] >> 4;
        m.level = extendedRequest ? data[2] : data[1] & 0x0F;
        m.nameLength = nameLengthOf(data[extendedRequest ? 3 : 2]);
        if (m.nameLength < 0) {
            return refused(error, "an unknown name length");
        }
        return m;
    }
    case Command::SourceNames:
    case Command::ExtSourceNames: {
        const bool extendedNames = m.command == Command::ExtSourceNames;
        const std::size_t head = extendedNames ? 8 : 7; // command, M[, L], LEN, first, N
        if (size < head) {
            return refused(error, "source names of the wrong length");
        }
        m.matrix = extendedNames ? data[1] : data[1] >> 4;
        m.level = extendedNames ? data[2] : data[1] & 0x0F;
        m.nameLength = nameLengthOf(data[head - 5]);
        m.firstSource = wordAt(data, head - 4);
        const std::size_t count = data[head - 2 + 0];
        if (m.nameLength < 0 || size != head - 1 + count * static_cast<std::size_t>(m.nameLength)) {
            return refused(error, "source names of the wrong length");
        }
        for (std::size_t i = 0; i < count; ++i) {
            const std::size_t at = head - 1 + i * static_cast<std::size_t>(m.nameLength);
            m.names.emplace_back(data.begin() + static_cast<long>(at),
                                 data.begin() + static_cast<long>(at) + m.nameLength);
        }
        return m;
    }
    }
    return refused(error, "an unknown command " + std::to_string(data[0]));
}

Bytes encode(const Message& m) {
    const Command command =
        !isExtended(m.command) && !fitsStandard(m) ? extended(m.command) : m.command;
    Bytes out = {static_cast<std::uint8_t>(command)};
    // The matrix and level: one byte of two nibbles in the standard forms, a byte each in
    // the extended ones.
    const auto address = [&] {
        if (isExtended(command)) {
            out.push_back(static_cast<std::uint8_t>(m.matrix));
            out.push_back(static_cast<std::uint8_t>(m.level));
        } else {
            out.push_back(static_cast<std::uint8_t>(((m.matrix & 0x0F) << 4) | (m.level & 0x0F)));
        }
    };
    switch (command) {
    case Command::Interrogate:
    case Command::Connect:
    case Command::Tally:
    case Command::Connected:
        address();
        out.push_back(static_cast<std::uint8_t>(
            ((m.destination / 128) & 0x07) << 4 |
            (command == Command::Interrogate ? 0 : (m.source / 128) & 0x07)));
        out.push_back(static_cast<std::uint8_t>(m.destination % 128));
        if (command != Command::Interrogate) {
            out.push_back(static_cast<std::uint8_t>(m.source % 128));
        }
        break;
    case Command::ExtInterrogate:
    case Command::ExtConnect:
    case Command::ExtTally:
    case Command::ExtConnected:
        address();
        word(out, m.destination);
        if (command != Command::ExtInterrogate) {
            word(out, m.source);
        }
        if (command == Command::ExtTally || command == Command::ExtConnected) {
            out.push_back(0); // the status byte, reserved
        }
        break;
    case Command::TallyDumpRequest:
    case Command::ExtTallyDumpRequest:
        address();
        break;
    case Command::TallyDumpByte:
        address();
        out.push_back(static_cast<std::uint8_t>(m.sources.size()));
        out.push_back(static_cast<std::uint8_t>(m.destination));
        for (int source : m.sources) {
            out.push_back(static_cast<std::uint8_t>(source));
        }
        break;
    case Command::TallyDumpWord:
    case Command::ExtTallyDump:
        address();
        out.push_back(static_cast<std::uint8_t>(m.sources.size()));
        word(out, m.destination);
        for (int source : m.sources) {
            word(out, source);
        }
        break;
    case Command::SourceNamesRequest:
    case Command::ExtSourceNamesRequest:
        address();
        out.push_back(static_cast<std::uint8_t>(nameLengthCode(m.nameLength)));
        break;
    case Command::SourceNames:
    case Command::ExtSourceNames:
        address();
        out.push_back(static_cast<std::uint8_t>(nameLengthCode(m.nameLength)));
        word(out, m.firstSource);
        out.push_back(static_cast<std::uint8_t>(m.names.size()));
        for (const std::string& name : m.names) {
            std::string padded = name.substr(0, static_cast<std::size_t>(m.nameLength));
            padded.resize(static_cast<std::size_t>(m.nameLength), ' ');
            out.insert(out.end(), padded.begin(), padded.end());
        }
        break;
    }
    return out;
}

} // namespace swp08
