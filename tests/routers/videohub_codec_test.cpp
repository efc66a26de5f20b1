// The Videohub codec: the document's dump read back, blocks in any pieces and with CRLF,
// and what it does with lines and blocks it cannot use.
#include "videohub_codec.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace {

using testing::ElementsAre;
using testing::Pair;

std::vector<videohub::Block> blocks(const std::string& text) {
    videohub::BlockReader reader;
    std::vector<videohub::Block> out;
    for (const auto& item : reader.feed(text)) {
        EXPECT_TRUE(item.isBlock) << item.error;
        if (item.isBlock) {
            out.push_back(item.block);
        }
    }
    return out;
}

TEST(VideohubCodec, ReadsADumpBackInAnyPieces) {
    const std::string dump = videohub::dump("Test hub", 2, 3, {{0, "CAM 1"}, {1, "Two words"}},
                                            {{0, "Out"}}, {{0, 1}, {2, 0}});
    for (std::size_t piece = 1; piece <= dump.size(); piece += 7) {
        videohub::BlockReader reader;
        std::vector<videohub::Message> messages;
        for (std::size_t at = 0; at < dump.size(); at += piece) {
            for (const auto& item : reader.feed(std::string_view(dump).substr(at, piece))) {
                messages.push_back(videohub::interpret(item.block));
            }
        }
        ASSERT_EQ(messages.size(), 6u) << "in pieces of " << piece;
        EXPECT_EQ(messages[0].version, "2.3");
        EXPECT_EQ(messages[1].inputs, 2);
        EXPECT_EQ(messages[1].outputs, 3);
        EXPECT_THAT(messages[2].labels, ElementsAre(Pair(0, "CAM 1"), Pair(1, "Two words")));
        EXPECT_EQ(messages[3].kind, videohub::Message::Kind::OutputLabels);
        EXPECT_THAT(messages[4].routes, ElementsAre(Pair(0, 1), Pair(2, 0)));
        EXPECT_THAT(messages[5].locks, ElementsAre(Pair(0, 'U'), Pair(1, 'U'), Pair(2, 'U')));
    }
}

TEST(VideohubCodec, TakesCrlfStrayBlankLinesAndUnknownBlocks) {
    const auto read = blocks("\n\nACK\r\n\r\nCONFIGURATION:\r\nTake Mode: false\r\n\r\n"
                             "VIDEO OUTPUT ROUTING:\n7 2\nseven two\n8\n\n");
    ASSERT_EQ(read.size(), 3u);
    EXPECT_EQ(videohub::interpret(read[0]).kind, videohub::Message::Kind::Ack);
    EXPECT_EQ(videohub::interpret(read[1]).kind, videohub::Message::Kind::Other);
    const videohub::Message routing = videohub::interpret(read[2]);
    EXPECT_THAT(routing.routes, ElementsAre(Pair(7, 2)));
    EXPECT_THAT(routing.badLines, ElementsAre("seven two", "8"));
    EXPECT_EQ(videohub::routes({{7, 2}}), "VIDEO OUTPUT ROUTING:\n7 2\n\n");
}

TEST(VideohubCodec, KeepsLabelsAsTheyAreAndEmptyOnes) {
    const auto read =
        blocks("INPUT LABELS:\n0  two blanks\n1 \n2 caf\xc3\xa9\n3 \xff\xfe\nx y\n\n");
    ASSERT_EQ(read.size(), 1u);
    const videohub::Message labels = videohub::interpret(read[0]);
    EXPECT_THAT(labels.labels, ElementsAre(Pair(0, " two blanks"), Pair(1, ""),
                                           Pair(2, "caf\xc3\xa9"), Pair(3, "\xff\xfe")));
    EXPECT_THAT(labels.badLines, ElementsAre("x y"));
    EXPECT_EQ(videohub::labels("INPUT LABELS", {{4, "a\nb"}}), "INPUT LABELS:\n4 a b\n\n");
}

TEST(VideohubCodec, SkipsWhatIsTooLongAndGoesOn) {
    videohub::BlockReader reader;
    // A line of 5000 bytes, then a good block.
    std::string text = "INPUT LABELS:\n0 " + std::string(5000, 'x') + "\n1 fine\n\nPING:\n\n";
    const auto items = reader.feed(text);
    ASSERT_EQ(items.size(), 2u);
    EXPECT_FALSE(items[0].isBlock);
    EXPECT_EQ(items[0].error, "a line of more than 4096 bytes");
    EXPECT_EQ(videohub::interpret(items[1].block).kind, videohub::Message::Kind::Ping);
    // A block of over 1 MiB in lines of fine length.
    std::string big = "INPUT LABELS:\n";
    for (int i = 0; big.size() < (1u << 20) + 100; ++i) {
        big += std::to_string(i) + " " + std::string(100, 'y') + "\n";
    }
    const auto more = reader.feed(big + "\nACK\n\n");
    ASSERT_EQ(more.size(), 2u);
    EXPECT_EQ(more[0].error, "a block of more than 1048576 bytes");
    EXPECT_EQ(videohub::interpret(more[1].block).kind, videohub::Message::Kind::Ack);
    // A block cut short, then the connection starts again.
    EXPECT_TRUE(reader.feed("VIDEO OUTPUT ROUTING:\n1 2\n").empty());
    reader.reset();
    EXPECT_EQ(reader.feed("NAK\n\n").size(), 1u);
}

} // namespace
