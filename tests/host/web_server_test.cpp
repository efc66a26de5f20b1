// The browser panel's server on the loopback, with a stand-in for the studio: its paths,
// its token, and the clients it drops (one that floods, one that stalls) while the others
// go on. Every wait is bounded.
#include "web_server.h"

#include <boost/asio/connect.hpp>
#include <boost/asio/post.hpp>
#include <boost/beast/core.hpp>
#include <boost/beast/http.hpp>
#include <boost/beast/websocket.hpp>

#include <gtest/gtest.h>

#include <chrono>
#include <future>
#include <thread>

namespace {

namespace beast = boost::beast;
namespace http = beast::http;
namespace websocket = beast::websocket;
namespace net = boost::asio;
using tcp = net::ip::tcp;

// Answers at once: a tiny state, a pong for a ping, nothing for anything else.
class StandInStudio : public StudioAccess {
public:
    void state(std::function<void(std::string)> answer) override { answer(R"({"type":"state"})"); }
    void message(std::string text, std::function<void(std::string)> answer) override {
        answer(text == R"({"type":"ping"})" ? R"({"type":"pong"})" : "");
    }
    void scenario(std::function<void(std::string)> answer) override { answer("show\n"); }
};

class WebServerTest : public testing::Test {
protected:
    void SetUp() override {
        server =
            std::make_unique<WebServer>(io, tcp::endpoint(net::ip::make_address("127.0.0.1"), 0),
                                        "secret", "<html>page</html>", studio);
        port = server->port();
        thread = std::thread([this] { io.run(); });
    }
    void TearDown() override {
        net::post(io, [this] {
            server->stop();
            io.stop();
        });
        thread.join();
    }

    http::response<http::string_body> get(const std::string& target) {
        net::io_context client;
        beast::tcp_stream stream(client);
        stream.expires_after(std::chrono::seconds(10));
        stream.connect(tcp::endpoint(net::ip::make_address("127.0.0.1"), port));
        http::request<http::string_body> request(http::verb::get, target, 11);
        request.set(http::field::host, "127.0.0.1");
        http::write(stream, request);
        beast::flat_buffer buffer;
        http::response<http::string_body> response;
        http::read(stream, buffer, response);
        return response;
    }

    // A socket to /ws; its first message is the state.
    std::unique_ptr<websocket::stream<tcp::socket>> open(net::io_context& client) {
        auto socket = std::make_unique<websocket::stream<tcp::socket>>(client);
        socket->next_layer().connect(tcp::endpoint(net::ip::make_address("127.0.0.1"), port));
        socket->handshake("127.0.0.1", "/ws?token=secret");
        beast::flat_buffer buffer;
        socket->read(buffer);
        EXPECT_EQ(beast::buffers_to_string(buffer.data()), R"({"type":"state"})");
        return socket;
    }

    // Whether a ping on `socket` is answered with a pong.
    static bool answers(websocket::stream<tcp::socket>& socket) {
        socket.write(net::buffer(std::string(R"({"type":"ping"})")));
        for (int reads = 0; reads < 100; ++reads) {
            beast::flat_buffer buffer;
            socket.read(buffer);
            if (beast::buffers_to_string(buffer.data()) == R"({"type":"pong"})") {
                return true;
            }
        }
        return false;
    }

    int connected() {
        std::promise<int> count;
        net::post(io, [&] { count.set_value(server->connected()); });
        return count.get_future().get();
    }

    net::io_context io; // the server's: its accept keeps it running until TearDown
    StandInStudio studio;
    std::unique_ptr<WebServer> server;
    unsigned short port = 0;
    std::thread thread;
};

TEST_F(WebServerTest, ServesThePageTheScenarioAndNothingElseAndWantsItsToken) {
    EXPECT_EQ(get("/?token=secret").body(), "<html>page</html>");
    EXPECT_EQ(get("/scenario?token=secret").body(), "show\n");
    EXPECT_EQ(get("/scenario?token=secret")[http::field::content_disposition],
              "attachment; filename=\"panel.scenario\"");
    EXPECT_EQ(get("/etc/passwd?token=secret").result(), http::status::not_found);
    EXPECT_EQ(get("/").result(), http::status::forbidden);
    EXPECT_EQ(get("/?token=wrong").result(), http::status::forbidden);
    EXPECT_EQ(get("/?x=1&token=secret").result(), http::status::ok);
}

TEST_F(WebServerTest, DropsAFloodingClientAndTheOthersGoOn) {
    net::io_context client;
    auto calm = open(client);
    auto flood = open(client);
    ASSERT_EQ(connected(), 2);
    const std::string ignored = R"({"type":"noise"})";
    bool dropped = false;
    for (int i = 0; i < 30000 && !dropped; ++i) {
        beast::error_code error;
        flood->write(net::buffer(ignored), error);
        dropped = static_cast<bool>(error);
    }
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (connected() != 1 && std::chrono::steady_clock::now() < until) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    EXPECT_EQ(connected(), 1) << "the flooding client is dropped";
    EXPECT_TRUE(answers(*calm)) << "the other goes on";
}

TEST_F(WebServerTest, DropsAStalledClientAndTheOthersGoOn) {
    net::io_context client;
    auto calm = open(client);
    auto stalled = open(client); // reads nothing from now on
    ASSERT_EQ(connected(), 2);
    const std::string change(256 * 1024, 'x');
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    const std::string last = R"({"type":"last"})";
    std::thread reader([&] {
        // The calm page reads everything, up to the last broadcast, so that what the server
        // still had queued for it is all read before the ping below.
        for (;;) {
            beast::flat_buffer buffer;
            beast::error_code error;
            calm->read(buffer, error);
            if (error || beast::buffers_to_string(buffer.data()) == last) {
                return;
            }
        }
    });
    while (connected() == 2 && std::chrono::steady_clock::now() < until) {
        net::post(io, [&] { server->broadcast(change); });
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    EXPECT_EQ(connected(), 1) << "the stalled client is dropped";
    net::post(io, [&] { server->broadcast(last); });
    reader.join();
    EXPECT_TRUE(answers(*calm)) << "the other goes on";
}

} // namespace
