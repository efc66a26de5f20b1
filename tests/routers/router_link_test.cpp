// Router links against routers that misbehave: a fake router on 127.0.0.1 sends what a
// case gives it and answers as the case says, and the link must report each fault, keep
// going or reconnect, and never hand the studio a wrong route or name.
#include "../support/test_names.h"
#include "asio_router_links.h"
#include "swp08_codec.h"
#include "videohub_codec.h"

#include <gtest/gtest.h>

#include <boost/asio/ip/tcp.hpp>
#include <boost/asio/write.hpp>

#include <algorithm>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace net = boost::asio;
using tcp = net::ip::tcp;

namespace {

// What a studio would hear.
struct HeardEvents : RouterLinkEvents {
    void linkUp(int, const std::string& what) override { ups.push_back(what); }
    void linkAway(int, const std::string& why) override { aways.push_back(why); }
    void reportedNames(int, const std::map<int, std::string>& given) override {
        for (const auto& [source, name] : given) {
            names[source] = name;
        }
    }
    void reportedRoutes(int, const std::map<int, int>& given) override {
        for (const auto& [destination, source] : given) {
            routes[destination] = source;
        }
    }
    void linkProblem(int, const std::string& what) override { problems.push_back(what); }

    bool problemWith(const std::string& text) const {
        for (const std::string& problem : problems) {
            if (problem.find(text) != std::string::npos) {
                return true;
            }
        }
        return false;
    }
    std::string all() const {
        std::string text;
        for (const std::string& up : ups) {
            text += "up: " + up + "\n";
        }
        for (const std::string& away : aways) {
            text += "away: " + away + "\n";
        }
        for (const std::string& problem : problems) {
            text += "problem: " + problem + "\n";
        }
        return text;
    }

    std::vector<std::string> ups;
    std::vector<std::string> aways;
    std::vector<std::string> problems;
    std::map<int, std::string> names;
    std::map<int, int> routes;
};

// How a fake router answers what the link sends.
enum class Answer {
    Nothing, // it reads and never answers
    Ack,     // an ACK for every block or frame
    Nak,     // a NAK for every one
};

// A router on 127.0.0.1 that sends `greeting` to each connection, answers as told, and
// then, if told, closes the connection.
class FakeRouter {
public:
    FakeRouter(net::io_context& io, std::string protocol, std::string greeting, Answer answer,
               bool closeAfterGreeting)
        : acceptor_(io, tcp::endpoint(net::ip::make_address("127.0.0.1"), 0)),
          protocol_(std::move(protocol)), greeting_(std::move(greeting)), answer_(answer),
          close_(closeAfterGreeting) {
        accept();
    }

    unsigned short port() const { return acceptor_.local_endpoint().port(); }
    int connections() const { return connections_; }
    // What the link sent that was whole: blocks or frames, as text.
    const std::vector<std::string>& heard() const { return heard_; }

private:
    struct Connection {
        explicit Connection(tcp::socket s) : socket(std::move(s)) {}
        tcp::socket socket;
        char buffer[4096];
        videohub::BlockReader blocks;
        swp08::FrameReader frames;
    };

    void accept() {
        acceptor_.async_accept([this](boost::system::error_code error, tcp::socket socket) {
            if (error) {
                return;
            }
            ++connections_;
            socket.set_option(tcp::no_delay(true), error);
            auto connection = std::make_shared<Connection>(std::move(socket));
            net::async_write(connection->socket, net::buffer(greeting_),
                             [this, connection](boost::system::error_code, std::size_t) {
                                 if (close_) {
                                     connection->socket.close();
                                 } else {
                                     read(connection);
                                 }
                             });
            accept();
        });
    }

    void read(const std::shared_ptr<Connection>& connection) {
        connection->socket.async_read_some(
            net::buffer(connection->buffer),
            [this, connection](boost::system::error_code error, std::size_t size) {
                if (error) {
                    return;
                }
                std::string answers;
                if (protocol_ == "videohub") {
                    for (const auto& item : connection->blocks.feed({connection->buffer, size})) {
                        heard_.push_back(item.block.header);
                        answers += answer_ == Answer::Ack   ? videohub::ack()
                                   : answer_ == Answer::Nak ? videohub::nak()
                                                            : "";
                    }
                } else {
                    const auto* bytes = reinterpret_cast<const std::uint8_t*>(connection->buffer);
                    for (const auto& item : connection->frames.feed(bytes, size)) {
                        if (item.kind != swp08::FrameReader::Item::Kind::Frame) {
                            heard_.push_back(
                                item.kind == swp08::FrameReader::Item::Kind::Ack   ? "ACK"
                                : item.kind == swp08::FrameReader::Item::Kind::Nak ? "NAK"
                                                                                   : "error");
                            continue;
                        }
                        heard_.push_back("frame " + std::to_string(item.data.at(0)));
                        const swp08::Bytes token =
                            answer_ == Answer::Nak ? swp08::nak() : swp08::ack();
                        if (answer_ != Answer::Nothing) {
                            answers.append(token.begin(), token.end());
                        }
                    }
                }
                if (!answers.empty()) {
                    auto text = std::make_shared<std::string>(std::move(answers));
                    net::async_write(connection->socket, net::buffer(*text),
                                     [text](boost::system::error_code, std::size_t) {});
                }
                read(connection);
            });
    }

    tcp::acceptor acceptor_;
    std::string protocol_;
    std::string greeting_;
    Answer answer_;
    bool close_;
    int connections_ = 0;
    std::vector<std::string> heard_;
};

// Short waits, so that a case that waits for a time-out takes little of it.
LinkTimings quick() {
    LinkTimings timings;
    timings.connect = std::chrono::milliseconds(1000);
    timings.state = std::chrono::milliseconds(400);
    timings.answer = std::chrono::milliseconds(300);
    timings.resend = std::chrono::milliseconds(40);
    timings.tries = 3;
    timings.quiet = std::chrono::milliseconds(60);
    timings.firstRetry = std::chrono::milliseconds(50);
    timings.lastRetry = std::chrono::milliseconds(200);
    return timings;
}

std::string text(const swp08::Bytes& bytes) {
    return std::string(bytes.begin(), bytes.end());
}

std::string swp08Frame(const swp08::Message& message) {
    return text(swp08::frame(swp08::encode(message)));
}

swp08::Message dumpOf(int firstDestination, std::vector<int> sources) {
    swp08::Message message;
    message.command = swp08::Command::TallyDumpWord;
    message.destination = firstDestination;
    message.sources = std::move(sources);
    return message;
}

swp08::Message namesOf(int first, std::vector<std::string> names) {
    swp08::Message message;
    message.command = swp08::Command::SourceNames;
    message.nameLength = 8;
    message.firstSource = first;
    message.names = std::move(names);
    return message;
}

const std::string device2x2 = "VIDEOHUB DEVICE:\nDevice present: true\nModel name: Fake\n"
                              "Video inputs: 2\nVideo outputs: 2\n\n";

struct LinkCase {
    const char* name;
    const char* protocol;
    std::string greeting;
    Answer answer;
    bool closes;
    // What must come of it.
    bool up;
    // A problem, or when not up the reason it is away; "" for none, or for any reason (a
    // connection closed under the link is ended by the peer or reset, as the system has it).
    const char* reported;
    std::map<int, int> routes;
    std::map<int, std::string> names;
};

const LinkCase linkCases[] = {
    {"a whole videohub dump",
     "videohub",
     device2x2 + "INPUT LABELS:\n0 CAM 1\n1 CAM 2\n\nVIDEO OUTPUT ROUTING:\n0 1\n1 0\n\n",
     Answer::Ack,
     false,
     true,
     "",
     {{1, 2}, {2, 1}},
     {{1, "CAM 1"}, {2, "CAM 2"}}},
    {"routes and labels beyond the router's size",
     "videohub",
     device2x2 + "INPUT LABELS:\n0 CAM 1\n7 GHOST\n\nVIDEO OUTPUT ROUTING:\n0 1\n5 0\n1 9\n\n",
     Answer::Ack,
     false,
     true,
     "beyond the router's",
     {{1, 2}},
     {{1, "CAM 1"}}},
    {"a label that is not UTF-8",
     "videohub",
     device2x2 + "INPUT LABELS:\n0 caf\xE9\n\nVIDEO OUTPUT ROUTING:\n\n",
     Answer::Ack,
     false,
     true,
     "is not UTF-8",
     {},
     {{1, "caf\xEF\xBF\xBD"}}},
    {"a 1 MB label block",
     "videohub",
     device2x2 + "INPUT LABELS:\n" + std::string(1 << 20, 'x') +
         "\n\nINPUT LABELS:\n0 CAM 1\n\nVIDEO OUTPUT ROUTING:\n0 0\n\n",
     Answer::Ack,
     false,
     true,
     "a line of more than",
     {{1, 1}},
     {{1, "CAM 1"}}},
    {"unknown blocks and lines",
     "videohub",
     device2x2 + "FRAME LABELS:\n0 x\n\nINPUT LABELS:\n0 A\nnonsense\n\nVIDEO OUTPUT ROUTING:\n"
                 "0 1\n\n",
     Answer::Ack,
     false,
     true,
     "not understood: \"nonsense\"",
     {{1, 2}},
     {{1, "A"}}},
    {"no device",
     "videohub",
     "VIDEOHUB DEVICE:\nDevice present: false\n\n",
     Answer::Ack,
     false,
     false,
     "reports no device",
     {},
     {}},
    {"a videohub that never answers",
     "videohub",
     "",
     Answer::Nothing,
     false,
     false,
     "sent no device, input labels and routing within",
     {},
     {}},
    {"a videohub that closes mid-block",
     "videohub",
     device2x2 + "VIDEO OUTPUT ROUTING:\n0 1\n",
     Answer::Nothing,
     true,
     false,
     "",
     {},
     {}},
    {"a whole swp08 dump",
     "swp08",
     swp08Frame(dumpOf(0, {1, 0})) + swp08Frame(namesOf(0, {"CAM 1   ", "CAM 2"})),
     Answer::Ack,
     false,
     true,
     "",
     {{1, 2}, {2, 1}},
     {{1, "CAM 1"}, {2, "CAM 2"}}},
    {"a wrong checksum",
     "swp08",
     [] {
         std::string frame = swp08Frame(dumpOf(0, {1}));
         frame[frame.size() - 3] ^= 1;
         return frame + swp08Frame(dumpOf(4, {2}));
     }(),
     Answer::Ack,
     false,
     true,
     "answered with NAK: 10 02",
     {{5, 3}},
     {}},
    {"a doubled DLE at the end",
     "swp08",
     swp08Frame(dumpOf(0, {1})) + std::string("\x10\x02\x03\x00\x10\x10", 6),
     Answer::Nothing,
     true,
     false,
     "",
     {},
     {}},
    {"an unknown command",
     "swp08",
     "\x10\x02\x55\x01\xAA\x10\x03" + swp08Frame(dumpOf(0, {1})),
     Answer::Ack,
     false,
     true,
     "an unknown command 85",
     {{1, 2}},
     {}},
    {"a router of another matrix",
     "swp08",
     [] {
         swp08::Message other = dumpOf(0, {3});
         other.matrix = 1;
         return swp08Frame(other) + swp08Frame(dumpOf(1, {1}));
     }(),
     Answer::Ack,
     false,
     true,
     "",
     {{2, 2}},
     {}},
    {"an swp08 router that never ACKs",
     "swp08",
     "",
     Answer::Nothing,
     false,
     false,
     "no ACK after 3 sendings of the tally dump request",
     {},
     {}},
    {"an swp08 router that NAKs everything",
     "swp08",
     "",
     Answer::Nak,
     false,
     false,
     "no ACK after 3 sendings",
     {},
     {}},
};

class RouterLinkFaults : public testing::TestWithParam<LinkCase> {};

TEST_P(RouterLinkFaults, AreReportedAndNeverGiveAWrongRoute) {
    const LinkCase& c = GetParam();
    net::io_context io;
    FakeRouter router(io, c.protocol, c.greeting, c.answer, c.closes);
    HeardEvents heard;
    AsioRouterLinks links(io, heard, quick());
    RouterLinkSpec spec{c.protocol, "127.0.0.1", router.port(), 1, 1};
    ASSERT_EQ(links.link(1, spec), "");

    const auto settled = [&] {
        const LinkStatus status = links.status(1);
        return status.state != LinkStatus::State::Connecting;
    };
    ASSERT_TRUE(links.pump(std::chrono::seconds(20), settled)) << heard.all();
    const LinkStatus status = links.status(1);
    if (c.up) {
        EXPECT_EQ(status.state, LinkStatus::State::Up) << heard.all();
        if (*c.reported != '\0') {
            EXPECT_TRUE(heard.problemWith(c.reported)) << heard.all();
        } else {
            EXPECT_TRUE(heard.problems.empty()) << heard.all();
        }
    } else {
        EXPECT_EQ(status.state, LinkStatus::State::Away) << heard.all();
        EXPECT_NE(status.why.find(c.reported), std::string::npos) << heard.all();
        // Away, the link tries again; a router without its device is waited for.
        const bool noDevice = std::string(c.reported).find("no device") != std::string::npos;
        if (!noDevice) {
            EXPECT_TRUE(links.pump(std::chrono::seconds(20), [&] {
                return router.connections() > 1;
            })) << heard.all();
        }
    }
    EXPECT_EQ(heard.routes, c.routes) << heard.all();
    EXPECT_EQ(heard.names, c.names) << heard.all();
    links.stop();
}

INSTANTIATE_TEST_SUITE_P(Table, RouterLinkFaults, testing::ValuesIn(linkCases), NameOfCase());

// The link ACKs every frame the router sends, and NAKs the one with a wrong checksum.
TEST(Swp08Link, AcksEveryFrameAndNaksABadOne) {
    std::string bad = swp08Frame(dumpOf(0, {1}));
    bad[bad.size() - 3] ^= 1;
    net::io_context io;
    FakeRouter router(io, "swp08", swp08Frame(dumpOf(0, {1})) + bad, Answer::Ack, false);
    HeardEvents heard;
    AsioRouterLinks links(io, heard, quick());
    ASSERT_EQ(links.link(1, {"swp08", "127.0.0.1", router.port(), 1, 1}), "");
    const auto count = [&](const std::string& what) {
        return std::count(router.heard().begin(), router.heard().end(), what);
    };
    EXPECT_TRUE(
        links.pump(std::chrono::seconds(10), [&] { return count("ACK") + count("NAK") >= 2; }));
    EXPECT_EQ(count("ACK"), 1);
    EXPECT_EQ(count("NAK"), 1);
    links.stop();
}

// A take goes out as the protocol's own message and changes nothing by itself: the
// route is the router's to report.
TEST(RouterLinks, ATakeIsSentAndChangesNothingUntilTheRouterSaysSo) {
    net::io_context io;
    FakeRouter router(io, "videohub",
                      device2x2 + "INPUT LABELS:\n0 A\n\nVIDEO OUTPUT ROUTING:\n0 0\n\n",
                      Answer::Ack, false);
    HeardEvents heard;
    AsioRouterLinks links(io, heard, quick());
    ASSERT_EQ(links.link(1, {"videohub", "127.0.0.1", router.port(), 1, 1}), "");
    ASSERT_TRUE(links.pump(std::chrono::seconds(10),
                           [&] { return links.status(1).state == LinkStatus::State::Up; }));
    EXPECT_EQ(links.take(1, 2, 2), "");
    EXPECT_NE(links.take(1, 3, 1), "") << "output 3 of a router with 2";
    EXPECT_TRUE(links.pump(std::chrono::seconds(10), [&] {
        return std::count(router.heard().begin(), router.heard().end(), "VIDEO OUTPUT ROUTING");
    }));
    EXPECT_EQ(heard.routes, (std::map<int, int>{{1, 1}}));
    EXPECT_NE(links.take(2, 1, 1), "") << "a device without a link";
    links.stop();
}

} // namespace
