// libFuzzer: the SW-P-08 codec. Bytes in random pieces give the same frames as in one; a
// frame that decodes encodes back into the same message; nothing reads past the bytes.
#include "fuzz_check.h"

#include "swp08_codec.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace {

bool same(const swp08::Message& a, const swp08::Message& b) {
    if (a.matrix != b.matrix || a.level != b.level || a.destination != b.destination ||
        a.source != b.source || a.sources != b.sources || a.names.size() != b.names.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.names.size(); ++i) {
        if (swp08::trimmed(a.names[i]) != swp08::trimmed(b.names[i])) {
            return false;
        }
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    const std::size_t piece = 1 + data[0] % 16;
    swp08::FrameReader whole;
    swp08::FrameReader pieces;
    const auto all = whole.feed(data + 1, size - 1);
    std::vector<swp08::FrameReader::Item> split;
    for (std::size_t at = 1; at < size; at += piece) {
        for (auto& item : pieces.feed(data + at, std::min(piece, size - at))) {
            split.push_back(std::move(item));
        }
    }
    FUZZ_CHECK(all.size() == split.size(), "the same items in any pieces");
    for (std::size_t i = 0; i < all.size(); ++i) {
        FUZZ_CHECK(all[i].kind == split[i].kind && all[i].data == split[i].data,
                   "the same items in any pieces");
        if (all[i].kind != swp08::FrameReader::Item::Kind::Frame) {
            continue;
        }
        std::string error;
        const auto message = swp08::decode(all[i].data, error);
        if (!message || message->nameLength < 0) {
            continue;
        }
        const swp08::Bytes again = swp08::frame(swp08::encode(*message));
        swp08::FrameReader reader;
        const auto back = reader.feed(again.data(), again.size());
        FUZZ_CHECK(back.size() == 1 && back[0].kind == swp08::FrameReader::Item::Kind::Frame,
                   "an encoded message is one frame");
        const auto decoded = swp08::decode(back[0].data, error);
        FUZZ_CHECK(decoded && same(*message, *decoded), "a message encodes back into itself");
    }
    return 0;
}
