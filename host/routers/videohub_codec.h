// The Videohub Ethernet protocol, as bytes: blocks of text lines, each block a header line
// ("VIDEO OUTPUT ROUTING:", or "ACK"/"NAK"), its body lines, and an empty line. Pure: bytes
// in, blocks and their meaning out, and the texts to send; no sockets.
//
// Reading is incremental: feed it what a socket gave, in any pieces, and it gives every
// block that is complete. Lines end in LF or CRLF; blank lines between blocks are passed
// over. A line longer than maxLine or a block longer than maxBlock is an error: what is
// left of the block is skipped, up to its empty line, and reading goes on.
//
// Numbers on the wire count from 0 (output 0 is the first); the codec keeps them so.
#pragma once

#include <cstddef>
#include <map>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace videohub {

constexpr std::size_t maxLine = 4096;
constexpr std::size_t maxBlock = 1 << 20;

struct Block {
    std::string header; // without its colon: "VIDEO OUTPUT ROUTING", "ACK", "NAK"
    std::vector<std::string> lines;
};

class BlockReader {
public:
    struct Item {
        bool isBlock = true;
        Block block;       // a complete block
        std::string error; // else what was wrong
        std::string seen;  // and the first bytes of what was wrong
    };

    std::vector<Item> feed(std::string_view bytes);
    // Forgets a partial block (a connection ended mid-block).
    void reset();

private:
    void line(std::string text, std::vector<Item>& out);
    // Reports `error` with the first bytes of `seen`, then passes over the rest of the
    // block, up to its empty line.
    void skipBlock(std::string error, std::string_view seen, std::vector<Item>& out);

    std::string partial_;
    Block current_;
    bool inBlock_ = false;
    bool skipping_ = false; // after an error, up to the block's empty line
    std::size_t blockBytes_ = 0;
};

// What a block says, read leniently: every line it cannot read is kept in `badLines`.
struct Message {
    enum class Kind {
        Ack,
        Nak,
        Preamble,     // "PROTOCOL PREAMBLE": version
        Device,       // "VIDEOHUB DEVICE": present, inputs, outputs
        InputLabels,  // labels
        OutputLabels, // labels
        Routing,      // "VIDEO OUTPUT ROUTING": routes (output, input)
        Locks,        // "VIDEO OUTPUT LOCKS": locks (output, 'O' | 'L' | 'U' | 'F')
        Ping,
        Other // any other block, passed over
    };
    Kind kind = Kind::Other;
    std::string header;
    std::string version;
    std::string model;
    bool present = true; // "Device present: true"; false for "false" and "needs_update"
    int inputs = -1;
    int outputs = -1;
    std::vector<std::pair<int, std::string>> labels;
    std::vector<std::pair<int, int>> routes;
    std::vector<std::pair<int, char>> locks;
    std::vector<std::string> badLines;
};

Message interpret(const Block& block);

// The texts to send.
std::string block(const std::string& header, const std::vector<std::string>& lines);
std::string ack();
std::string nak();
std::string ping();
// A take: "VIDEO OUTPUT ROUTING:" with one "<output> <input>" line a route.
std::string routes(const std::vector<std::pair<int, int>>& outputToInput);
// A label block, "INPUT LABELS" or "OUTPUT LABELS", one "<index> <text>" line a label.
std::string labels(const std::string& header, const std::map<int, std::string>& labels);
// What a router sends on connection: preamble, device, labels, routing, locks.
std::string dump(const std::string& model, int inputs, int outputs,
                 const std::map<int, std::string>& inputLabels,
                 const std::map<int, std::string>& outputLabels, const std::map<int, int>& routing);

} // namespace videohub
