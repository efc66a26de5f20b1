// The SW-P-08 codec: the worked examples of the protocol's documents byte for byte, round
// trips of every message, and a table of frames that are no frame.
#include "../support/test_names.h"
#include "swp08_codec.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace {

using swp08::Bytes;
using swp08::Command;
using swp08::FrameReader;
using swp08::Message;
using testing::ElementsAre;

std::vector<FrameReader::Item> read(const Bytes& bytes) {
    FrameReader reader;
    return reader.feed(bytes.data(), bytes.size());
}

Message decoded(const Bytes& data) {
    std::string error;
    const std::optional<Message> message = swp08::decode(data, error);
    EXPECT_TRUE(message) << error;
    return message.value_or(Message{});
}

TEST(Swp08Codec, WritesTheDocumentsExamplesByteForByte) {
    Message connect;
    connect.command = Command::Connect;
    connect.level = 1;
    connect.destination = 200;
    connect.source = 16;
    EXPECT_EQ(swp08::frame(swp08::encode(connect)), (Bytes{0x10, 0x02, 0x02, 0x01, 0x10, 0x10, 0x48,
                                                           0x10, 0x10, 0x05, 0x90, 0x10, 0x03}));
    // Destination 16, source 3: a DLE in the data, then ETX's byte: scanned in pairs.
    connect.level = 0;
    connect.destination = 16;
    connect.source = 3;
    const Bytes wire = swp08::frame(swp08::encode(connect));
    EXPECT_EQ(wire,
              (Bytes{0x10, 0x02, 0x02, 0x00, 0x00, 0x10, 0x10, 0x03, 0x05, 0xE6, 0x10, 0x03}));
    const auto items = read(wire);
    ASSERT_EQ(items.size(), 1u);
    EXPECT_EQ(decoded(items[0].data).destination, 16);
    // Extended connect, matrix 0 level 2, destination 1500, source 2000.
    Message wide;
    wide.command = Command::Connect; // written in its extended form: 1500 does not fit
    wide.level = 2;
    wide.destination = 1500;
    wide.source = 2000;
    EXPECT_EQ(swp08::frame(swp08::encode(wide)), (Bytes{0x10, 0x02, 0x82, 0x00, 0x02, 0x05, 0xDC,
                                                        0x07, 0xD0, 0x07, 0xBD, 0x10, 0x03}));
}

TEST(Swp08Codec, ReadsTheDocumentsReplies) {
    // Tally, matrix 1 level 1, destination 1, source 153.
    const auto items = read({0x10, 0x02, 0x03, 0x11, 0x01, 0x01, 0x19, 0x05, 0xCC, 0x10, 0x03});
    ASSERT_EQ(items.size(), 1u);
    const Message tally = decoded(items[0].data);
    EXPECT_EQ(tally.command, Command::Tally);
    EXPECT_EQ(tally.matrix, 1);
    EXPECT_EQ(tally.level, 1);
    EXPECT_EQ(tally.destination, 1);
    EXPECT_EQ(tally.source, 153);
}

TEST(Swp08Codec, RoundTripsEveryMessage) {
    const auto with = [](Command command, int matrix, int level, int destination, int source) {
        Message m;
        m.command = command;
        m.matrix = matrix;
        m.level = level;
        m.destination = destination;
        m.source = source;
        return m;
    };
    std::vector<Message> messages = {
        with(Command::Interrogate, 3, 4, 1023, 0),
        with(Command::Connect, 15, 15, 0, 1023),
        with(Command::Tally, 0, 0, 640, 7),
        with(Command::Connected, 1, 2, 3, 4),
        with(Command::ExtConnected, 200, 3, 65535, 40000),
        with(Command::ExtInterrogate, 0, 0, 5000, 0),
        with(Command::TallyDumpRequest, 2, 1, 0, 0),
        with(Command::ExtTallyDumpRequest, 20, 1, 0, 0),
    };
    Message dump = with(Command::ExtTallyDump, 0, 1, 1000, 0);
    dump.sources = {1, 2, 1500, 0};
    messages.push_back(dump);
    Message words = with(Command::TallyDumpWord, 0, 1, 10, 0);
    words.sources = {3, 700};
    messages.push_back(words);
    Message bytes = with(Command::TallyDumpByte, 0, 0, 5, 0);
    bytes.sources = {1, 2, 3};
    messages.push_back(bytes);
    Message names = with(Command::SourceNames, 0, 0, 0, 0);
    names.nameLength = 8;
    names.firstSource = 300;
    names.names = {"CAM 1", "A name longer than eight", ""};
    messages.push_back(names);
    Message request = with(Command::ExtSourceNamesRequest, 0, 0, 0, 0);
    request.nameLength = 12;
    messages.push_back(request);
    for (const Message& m : messages) {
        const auto items = read(swp08::frame(swp08::encode(m)));
        ASSERT_EQ(items.size(), 1u);
        ASSERT_EQ(items[0].kind, FrameReader::Item::Kind::Frame);
        const Message back = decoded(items[0].data);
        EXPECT_EQ(back.matrix, m.matrix);
        EXPECT_EQ(back.level, m.level);
        EXPECT_EQ(back.destination, m.destination);
        EXPECT_EQ(back.source, m.source);
        EXPECT_EQ(back.sources, m.sources);
        EXPECT_EQ(back.nameLength, m.nameLength);
        EXPECT_EQ(back.firstSource, m.firstSource);
        ASSERT_EQ(back.names.size(), m.names.size());
        for (std::size_t i = 0; i < m.names.size(); ++i) {
            EXPECT_EQ(swp08::trimmed(back.names[i]), m.names[i].substr(0, 8));
        }
    }
}

TEST(Swp08Codec, ReadsFramesInAnyPiecesAndTokensAnywhere) {
    Message connected;
    connected.command = Command::Connected;
    connected.destination = 16;
    connected.source = 16;
    Bytes stream = {0x55, 0x10, 0x06}; // noise, then an ACK
    const Bytes one = swp08::frame(swp08::encode(connected));
    stream.insert(stream.end(), one.begin(), one.end());
    stream.insert(stream.end(), {0x10, 0x15});
    stream.insert(stream.end(), one.begin(), one.end());
    for (std::size_t piece = 1; piece <= stream.size(); ++piece) {
        FrameReader reader;
        std::vector<FrameReader::Item::Kind> kinds;
        for (std::size_t at = 0; at < stream.size(); at += piece) {
            const std::size_t size = std::min(piece, stream.size() - at);
            for (const auto& item : reader.feed(stream.data() + at, size)) {
                kinds.push_back(item.kind);
            }
        }
        EXPECT_THAT(kinds,
                    ElementsAre(FrameReader::Item::Kind::Ack, FrameReader::Item::Kind::Frame,
                                FrameReader::Item::Kind::Nak, FrameReader::Item::Kind::Frame))
            << "in pieces of " << piece;
    }
}

struct BadFrame {
    const char* name;
    Bytes bytes;
    const char* error;
};

const BadFrame badFrames[] = {
    {"wrong checksum",
     {0x10, 0x02, 0x01, 0x11, 0x00, 0x01, 0x04, 0xEA, 0x10, 0x03},
     "a wrong checksum"},
    {"wrong byte count",
     {0x10, 0x02, 0x01, 0x11, 0x00, 0x01, 0x05, 0xE9, 0x10, 0x03},
     "a byte count of 5 for 4 data bytes"},
    {"a DLE before something else",
     {0x10, 0x02, 0x01, 0x10, 0x07, 0x10, 0x03},
     "a DLE followed by 7"},
    {"a frame inside a frame",
     {0x10, 0x02, 0x01, 0x10, 0x02, 0x00, 0x00, 0x10, 0x03},
     "a frame started inside another"},
    {"no byte count", {0x10, 0x02, 0x01, 0x10, 0x03}, "a frame too short"},
};

class Swp08BadFrames : public testing::TestWithParam<BadFrame> {};

TEST_P(Swp08BadFrames, AreReportedWithTheBytesSeen) {
    const auto items = read(GetParam().bytes);
    ASSERT_FALSE(items.empty());
    EXPECT_EQ(items[0].kind, FrameReader::Item::Kind::Error);
    EXPECT_EQ(items[0].error.rfind(GetParam().error, 0), 0u) << items[0].error;
    EXPECT_FALSE(items[0].seen.empty());
}

INSTANTIATE_TEST_SUITE_P(Table, Swp08BadFrames, testing::ValuesIn(badFrames), NameOfCase());

TEST(Swp08Codec, RefusesOversizedFramesAndMessagesItCannotRead) {
    Bytes big = {0x10, 0x02};
    big.insert(big.end(), 300, 0x01);
    big.insert(big.end(), {0x10, 0x03});
    const auto items = read(big);
    ASSERT_FALSE(items.empty());
    EXPECT_EQ(items[0].error, "a frame of more than 255 data bytes");
    std::string error;
    EXPECT_FALSE(swp08::decode({0x55, 1, 2}, error));
    EXPECT_EQ(error, "an unknown command 85");
    EXPECT_FALSE(swp08::decode({0x02, 0x00, 0x00}, error));
    EXPECT_FALSE(swp08::decode({0x17, 0x00, 0x05, 0x00, 0x00, 0x00, 0x01}, error))
        << "a word dump whose count does not match";
    EXPECT_FALSE(swp08::decode({}, error));
    // A frame cut at every byte gives nothing, and no crash.
    Message connect;
    connect.command = Command::Connect;
    connect.destination = 16;
    const Bytes whole = swp08::frame(swp08::encode(connect));
    for (std::size_t cut = 0; cut + 1 < whole.size(); ++cut) {
        FrameReader reader;
        const auto some = reader.feed(whole.data(), cut);
        EXPECT_TRUE(some.empty()) << cut;
    }
}

} // namespace
