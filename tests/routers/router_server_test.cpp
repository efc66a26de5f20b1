// The router side: what control software gets from the studio's routers over each
// protocol, for good requests and bad ones, and what the studio's router becomes.
#include "../support/test_names.h"
#include "swp08_codec.h"
#include "swp08_server.h"
#include "videohub_server.h"

#include <gtest/gtest.h>

#include <boost/asio/ip/tcp.hpp>
#include <boost/asio/write.hpp>

#include <functional>
#include <optional>
#include <sstream>
#include <string>

namespace net = boost::asio;
using tcp = net::ip::tcp;

namespace {

std::string bytes(const swp08::Bytes& data) {
    return std::string(data.begin(), data.end());
}

std::string frameOf(const swp08::Message& message) {
    return bytes(swp08::frame(swp08::encode(message)));
}

swp08::Message message(swp08::Command command, int destination = 0, int source = 0) {
    swp08::Message m;
    m.command = command;
    m.destination = destination;
    m.source = source;
    return m;
}

struct ServerCase {
    const char* name;
    const char* protocol;
    std::string request;
    std::string answer;                      // what the client must get, after the greeting
    std::optional<int> sourceOfDestination1; // the studio's route after it; nothing: none
};

const std::string ackVh = "ACK\n\n";
const std::string nakVh = "NAK\n\n";

const ServerCase serverCases[] = {
    {"a ping", "videohub", "PING:\n\n", ackVh, 1},
    {"a take", "videohub", "VIDEO OUTPUT ROUTING:\n0 2\n\n",
     ackVh + "VIDEO OUTPUT ROUTING:\n0 2\n\n", 3},
    {"a take of two outputs", "videohub", "VIDEO OUTPUT ROUTING:\n0 1\n1 0\n\n",
     ackVh + "VIDEO OUTPUT ROUTING:\n0 1\n\nVIDEO OUTPUT ROUTING:\n1 0\n\n", 2},
    {"a take beyond the router", "videohub", "VIDEO OUTPUT ROUTING:\n99 0\n\n", nakVh, 1},
    {"a take with a bad line", "videohub", "VIDEO OUTPUT ROUTING:\n0 x\n\n", nakVh, 1},
    {"the routing asked for", "videohub", "VIDEO OUTPUT ROUTING:\n\n",
     ackVh + "VIDEO OUTPUT ROUTING:\n0 0\n\n", 1},
    {"a label", "videohub", "INPUT LABELS:\n1 Camera two\n\n",
     ackVh + "INPUT LABELS:\n1 Camera two\n\n", 1},
    {"a lock", "videohub", "VIDEO OUTPUT LOCKS:\n0 O\n\n", nakVh, 1},
    {"an unknown block", "videohub", "FRAME BUFFER ROUTING:\n0 1\n\n", nakVh, 1},
    {"a line too long", "videohub", "INPUT LABELS:\n0 " + std::string(5000, 'x') + "\n\nPING:\n\n",
     nakVh + ackVh, 1},
    {"an interrogate", "swp08", frameOf(message(swp08::Command::Interrogate)),
     bytes(swp08::ack()) + frameOf(message(swp08::Command::Tally, 0, 0)), 1},
    {"a connect", "swp08", frameOf(message(swp08::Command::Connect, 0, 2)),
     bytes(swp08::ack()) + frameOf(message(swp08::Command::Connected, 0, 2)), 3},
    {"an extended connect", "swp08", frameOf(message(swp08::Command::ExtConnect, 0, 1500)),
     bytes(swp08::ack()) + frameOf(message(swp08::Command::ExtConnected, 0, 1500)), 1501},
    {"a tally dump request", "swp08", frameOf(message(swp08::Command::TallyDumpRequest)),
     bytes(swp08::ack()) +
         [] {
             swp08::Message dump = message(swp08::Command::TallyDumpWord);
             dump.sources = {0};
             return frameOf(dump);
         }(),
     1},
    {"a source names request", "swp08",
     [] {
         swp08::Message request = message(swp08::Command::SourceNamesRequest);
         request.nameLength = 8;
         return frameOf(request);
     }(),
     bytes(swp08::ack()) +
         [] {
             swp08::Message names = message(swp08::Command::SourceNames);
             names.nameLength = 8;
             names.names = {"CAM 1", "CAM 2", "CAM 3"};
             return frameOf(names);
         }(),
     1},
    {"a wrong checksum", "swp08",
     [] {
         std::string frame = frameOf(message(swp08::Command::Connect, 0, 2));
         frame[frame.size() - 3] ^= 1;
         return frame;
     }(),
     bytes(swp08::nak()), 1},
    {"an unknown command", "swp08", std::string("\x10\x02\x55\x01\xAA\x10\x03"),
     bytes(swp08::ack()), 1},
    {"another matrix", "swp08",
     [] {
         swp08::Message connect = message(swp08::Command::Connect, 0, 2);
         connect.matrix = 3;
         return frameOf(connect) + frameOf(message(swp08::Command::Interrogate));
     }(),
     bytes(swp08::ack()) + bytes(swp08::ack()) + frameOf(message(swp08::Command::Tally, 0, 0)), 1},
};

class RouterSide : public testing::TestWithParam<ServerCase> {};

TEST_P(RouterSide, AnswersAsTheProtocolSaysAndChangesOnlyWhatIsAsked) {
    const ServerCase& c = GetParam();
    std::ostringstream out;
    Transcript transcript(out, Transcript::Format::Text, true);
    Studio studio(transcript);
    studio.defineRouter(1, "Hub");
    for (int source = 1; source <= 3; ++source) {
        studio.nameSource(1, source, "CAM " + std::to_string(source));
    }
    studio.route(1, 1, 1);

    net::io_context io;
    const tcp::endpoint loopback(net::ip::make_address("127.0.0.1"), 0);
    std::unique_ptr<RouterServer> server;
    if (std::string(c.protocol) == "videohub") {
        server = std::make_unique<VideohubServer>(io, studio, 1, loopback);
    } else {
        server = std::make_unique<Swp08Server>(io, studio, 1, loopback);
    }

    // A client that sends the request once the greeting is in (Videohub's dump ends with
    // its locks; SW-P-08 has none), and reads until the answer is there.
    tcp::socket client(io);
    std::string received;
    std::size_t greeting = std::string::npos;
    char buffer[4096];
    const bool videohub = std::string(c.protocol) == "videohub";
    std::function<void()> readMore = [&] {
        client.async_read_some(net::buffer(buffer), [&](boost::system::error_code error,
                                                        std::size_t size) {
            received.append(buffer, size);
            if (greeting == std::string::npos && videohub) {
                const std::size_t locks = received.find("VIDEO OUTPUT LOCKS:");
                const std::size_t end =
                    locks == std::string::npos ? locks : received.find("\n\n", locks);
                if (end != std::string::npos) {
                    greeting = end + 2;
                    net::async_write(client, net::buffer(c.request),
                                     [](boost::system::error_code, std::size_t) {});
                }
            }
            if (!error &&
                (greeting == std::string::npos || received.size() < greeting + c.answer.size())) {
                readMore();
            } else {
                io.stop();
            }
        });
    };
    client.async_connect(tcp::endpoint(loopback.address(), server->port()),
                         [&](boost::system::error_code error) {
                             ASSERT_FALSE(error);
                             if (!videohub) {
                                 greeting = 0;
                                 net::async_write(client, net::buffer(c.request),
                                                  [](boost::system::error_code, std::size_t) {});
                             }
                             readMore();
                         });
    io.run_for(std::chrono::seconds(10));
    ASSERT_NE(greeting, std::string::npos) << received;
    EXPECT_EQ(received.substr(greeting), c.answer);
    EXPECT_EQ(studio.routers().routed(1, 1), c.sourceOfDestination1);
    server->stop();
}

INSTANTIATE_TEST_SUITE_P(Table, RouterSide, testing::ValuesIn(serverCases), NameOfCase());

} // namespace
