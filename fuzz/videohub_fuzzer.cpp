// libFuzzer: the Videohub codec. Text in random pieces gives the same blocks as in one;
// the routes and labels a block holds, written again, read back the same.
#include "fuzz_check.h"

#include "videohub_codec.h"

#include <cstddef>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    const std::size_t piece = 1 + data[0] % 32;
    const std::string text(reinterpret_cast<const char*>(data) + 1, size - 1);
    videohub::BlockReader whole;
    videohub::BlockReader pieces;
    const auto all = whole.feed(text);
    std::vector<videohub::BlockReader::Item> split;
    for (std::size_t at = 0; at < text.size(); at += piece) {
        for (auto& item : pieces.feed(std::string_view(text).substr(at, piece))) {
            split.push_back(std::move(item));
        }
    }
    FUZZ_CHECK(all.size() == split.size(), "the same blocks in any pieces");
    for (std::size_t i = 0; i < all.size(); ++i) {
        FUZZ_CHECK(all[i].isBlock == split[i].isBlock &&
                       all[i].block.header == split[i].block.header &&
                       all[i].block.lines == split[i].block.lines,
                   "the same blocks in any pieces");
        if (!all[i].isBlock) {
            continue;
        }
        const videohub::Message message = videohub::interpret(all[i].block);
        if (message.kind == videohub::Message::Kind::Routing) {
            videohub::BlockReader reader;
            const auto back = reader.feed(videohub::routes(message.routes));
            FUZZ_CHECK(back.size() == 1 &&
                           videohub::interpret(back[0].block).routes == message.routes,
                       "routes written again read back the same");
        }
        if (message.kind == videohub::Message::Kind::InputLabels && !message.labels.empty()) {
            std::map<int, std::string> labels;
            for (const auto& [at, label] : message.labels) {
                if (label.find('\r') == std::string::npos) {
                    labels[at] = label;
                }
            }
            videohub::BlockReader reader;
            const auto back = reader.feed(videohub::labels("INPUT LABELS", labels));
            FUZZ_CHECK(back.size() == 1, "labels written again are one block");
            const auto read = videohub::interpret(back[0].block).labels;
            const std::map<int, std::string> readBack(read.begin(), read.end());
            FUZZ_CHECK(readBack == labels, "labels written again read back the same");
        }
    }
    return 0;
}
