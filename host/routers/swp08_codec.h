// The SW-P-08 router control protocol, as bytes: frames of DLE STX, the data (a command
// byte and its message), a byte count, a checksum and DLE ETX, every DLE in between
// doubled; and the link tokens DLE ACK and DLE NAK. Pure: bytes in, frames and messages
// out, and the bytes to send; no sockets.
//
// Reading is incremental: feed it what a socket gave, in any pieces. A frame with a wrong
// checksum or byte count, a DLE followed by anything but DLE, ETX, STX, ACK or NAK, and a
// frame of more than maxData data bytes are errors, reported with the bytes seen; reading
// starts again at the next DLE STX.
//
// Numbers on the wire count from 0 (destinations, sources, matrices and levels); the codec
// keeps them so. Standard messages carry numbers up to 1023 and matrices and levels up to
// 15; the extended forms (command + 0x80) up to 65535 and 255.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace swp08 {

using Bytes = std::vector<std::uint8_t>;

constexpr std::uint8_t dle = 0x10;
constexpr std::size_t maxData = 255;

// The bytes of a frame holding `data`.
Bytes frame(const Bytes& data);
Bytes ack();
Bytes nak();

class FrameReader {
public:
    struct Item {
        enum class Kind { Frame, Ack, Nak, Error };
        Kind kind;
        Bytes data;        // a frame's data, command byte first
        std::string error; // what was wrong
        Bytes seen;        // the bytes of the frame that was wrong
    };

    std::vector<Item> feed(const std::uint8_t* bytes, std::size_t size);
    void reset();

private:
    void finish(std::vector<Item>& out);
    void fail(const std::string& why, std::vector<Item>& out);

    bool inFrame_ = false;
    bool afterDle_ = false;
    Bytes body_; // unstuffed: data, byte count, checksum
    Bytes seen_; // as it came, for an error's report
};

// The commands this codec reads and writes.
enum class Command : std::uint8_t {
    Interrogate = 0x01,
    Connect = 0x02,
    Tally = 0x03,
    Connected = 0x04,
    TallyDumpRequest = 0x15,
    TallyDumpByte = 0x16,
    TallyDumpWord = 0x17,
    SourceNamesRequest = 0x64,
    SourceNames = 0x6A,
    ExtInterrogate = 0x81,
    ExtConnect = 0x82,
    ExtTally = 0x83,
    ExtConnected = 0x84,
    ExtTallyDumpRequest = 0x95,
    ExtTallyDump = 0x97,
    ExtSourceNamesRequest = 0xE4,
    ExtSourceNames = 0xEA,
};

struct Message {
    Command command = Command::Interrogate;
    int matrix = 0;
    int level = 0;
    int destination = 0;            // interrogate, connect, tally, connected; a dump's first
    int source = 0;                 // connect, tally, connected
    std::vector<int> sources;       // a tally dump: of consecutive destinations from `destination`
    int nameLength = 8;             // names: 4, 8, 12, 16 or 32 characters
    int firstSource = 0;            // names
    std::vector<std::string> names; // as sent, padding and all
};

// The message in a frame's data; nothing, with `error` set, for an unknown command or a
// message of the wrong length or with numbers out of range.
std::optional<Message> decode(const Bytes& data, std::string& error);
// The data of a frame for the message. A standard command whose numbers do not fit it is
// written in its extended form.
Bytes encode(const Message& message);

// The name lengths by their code in a message: 0 gives 4, 1 gives 8, 2 gives 12, 3 gives
// 16, 4 gives 32; -1 for another code.
int nameLengthOf(int code);
int nameLengthCode(int length);
// The most names of that length one message carries.
int namesPerMessage(int length);

// `name` without the blanks and NULs that pad it to its fixed length.
std::string trimmed(const std::string& name);

} // namespace swp08
