// zarn-host with linked routers against zarn-host router-sim, each a process of its own,
// over 127.0.0.1: the tallies of a destination button follow takes from either side, and
// come right again after the routers are killed and started again on the same ports.
// The router-side takes are made here, by a client of each protocol written from its
// codec, as control software that is not zarn-host would make them.
#include "swp08_codec.h"

#include <gtest/gtest.h>

#include <boost/asio/connect.hpp>
#include <boost/asio/io_context.hpp>
#include <boost/asio/ip/tcp.hpp>
#include <boost/asio/read.hpp>
#include <boost/asio/write.hpp>

#include <chrono>
#include <csignal>
#include <fstream>
#include <optional>
#include <poll.h>
#include <regex>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace net = boost::asio;
using tcp = net::ip::tcp;
using namespace std::chrono_literals;

namespace {

// A child process whose output (stdout and stderr) is read here, line by line.
class Process {
public:
    explicit Process(const std::vector<std::string>& arguments) {
        int pipeEnds[2];
        if (pipe(pipeEnds) != 0) {
            ADD_FAILURE() << "no pipe";
            return;
        }
        pid_ = fork();
        if (pid_ == 0) {
            dup2(pipeEnds[1], 1);
            dup2(pipeEnds[1], 2);
            close(pipeEnds[0]);
            close(pipeEnds[1]);
            std::vector<char*> argv;
            for (const std::string& argument : arguments) {
                argv.push_back(const_cast<char*>(argument.c_str()));
            }
            argv.push_back(nullptr);
            execv(argv[0], argv.data());
            _exit(127);
        }
        close(pipeEnds[1]);
        out_ = pipeEnds[0];
    }
    ~Process() {
        if (pid_ > 0 && status_ < 0) {
            stop(SIGKILL);
        }
        if (out_ >= 0) {
            close(out_);
        }
    }

    // Reads until a line holds `text` or `within` has passed; gives the line.
    std::optional<std::string> lineWith(const std::string& text,
                                        std::chrono::milliseconds within = 30s) {
        const auto deadline = std::chrono::steady_clock::now() + within;
        for (;;) {
            for (std::size_t end; (end = pending_.find('\n')) != std::string::npos;) {
                const std::string line = pending_.substr(0, end);
                pending_.erase(0, end + 1);
                if (line.find(text) != std::string::npos) {
                    return line;
                }
            }
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                deadline - std::chrono::steady_clock::now());
            if (left.count() <= 0 || !readSome(left)) {
                return std::nullopt;
            }
        }
    }

    // Ends it with `signal` and gives its exit status (128 + the signal when killed).
    int stop(int signal) {
        kill(pid_, signal);
        return wait();
    }
    // Reads what is left, waits for it to end, and gives its exit status.
    int wait() {
        while (readSome(60s)) {
        }
        int status = 0;
        waitpid(pid_, &status, 0);
        status_ = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
        return status_;
    }
    const std::string& output() const { return all_; }

private:
    bool readSome(std::chrono::milliseconds within) {
        pollfd ready{out_, POLLIN, 0};
        if (poll(&ready, 1, static_cast<int>(within.count())) <= 0) {
            return false;
        }
        char buffer[4096];
        const ssize_t size = read(out_, buffer, sizeof buffer);
        if (size <= 0) {
            return false;
        }
        pending_.append(buffer, static_cast<std::size_t>(size));
        all_.append(buffer, static_cast<std::size_t>(size));
        return true;
    }

    pid_t pid_ = -1;
    int out_ = -1;
    int status_ = -1;
    std::string pending_;
    std::string all_;
};

// Connects to 127.0.0.1:port, sends `request`, and reads until what came holds `answer`
// (or 10 s have passed); gives what came.
std::string exchange(unsigned short port, const std::string& request, const std::string& answer) {
    net::io_context io;
    tcp::socket socket(io);
    std::string received;
    char buffer[4096];
    std::function<void()> readMore = [&] {
        socket.async_read_some(net::buffer(buffer),
                               [&](boost::system::error_code error, std::size_t size) {
                                   received.append(buffer, size);
                                   if (!error && received.find(answer) == std::string::npos) {
                                       readMore();
                                   } else {
                                       io.stop();
                                   }
                               });
    };
    socket.async_connect(tcp::endpoint(net::ip::make_address("127.0.0.1"), port),
                         [&](boost::system::error_code error) {
                             if (error) {
                                 return;
                             }
                             net::async_write(socket, net::buffer(request),
                                              [](boost::system::error_code, std::size_t) {});
                             readMore();
                         });
    io.run_for(10s);
    return received;
}

// The router side's ports, from the lines router-sim prints.
struct Ports {
    unsigned short videohub = 0;
    unsigned short swp08 = 0;
};

std::vector<std::string> simArguments(const Ports& ports) {
    return {ZARN_HOST_PATH,
            "router-sim",
            LOOPBACK_DIR "/sim.scenario",
            "--videohub",
            "1:" + std::to_string(ports.videohub),
            "--swp08",
            "2:" + std::to_string(ports.swp08)};
}

Ports portsOf(Process& sim) {
    Ports ports;
    const std::regex served("served over (videohub|swp08) at 127\\.0\\.0\\.1:([0-9]+)");
    for (int i = 0; i < 2; ++i) {
        const std::optional<std::string> line = sim.lineWith("is served over");
        std::smatch found;
        if (!line || !std::regex_search(*line, found, served)) {
            ADD_FAILURE() << "router-sim said:\n" << sim.output();
            return ports;
        }
        (found[1] == "videohub" ? ports.videohub : ports.swp08) =
            static_cast<unsigned short>(std::stoi(found[2]));
    }
    EXPECT_TRUE(sim.lineWith("serving until")) << sim.output();
    return ports;
}

std::string bytesOf(const swp08::Bytes& bytes) {
    return std::string(bytes.begin(), bytes.end());
}

TEST(Loopback, TalliesFollowBothRoutersThroughTakesAndARestart) {
    auto sim = std::make_unique<Process>(simArguments({}));
    const Ports ports = portsOf(*sim);
    ASSERT_NE(ports.videohub, 0);
    ASSERT_NE(ports.swp08, 0);

    Process client({ZARN_HOST_PATH, "--components", ZARN_COMPONENTS_DIR, "--define",
                    "videohub=" + std::to_string(ports.videohub), "--define",
                    "swp08=" + std::to_string(ports.swp08), LOOPBACK_DIR "/client.scenario"});

    // Router 1: output 0 (destination 1) takes input 1 (source 2), as a Videohub client.
    ASSERT_TRUE(client.lineWith("== await property d Vid text \"CAM 2\"")) << client.output();
    const std::string videohubAnswer =
        exchange(ports.videohub, "VIDEO OUTPUT ROUTING:\n0 1\n\n", "ACK\n\n");
    EXPECT_NE(videohubAnswer.find("ACK\n\n"), std::string::npos) << videohubAnswer;

    // Router 2: a CONNECT of destination 0 to source 2, as an SW-P-08 client.
    ASSERT_TRUE(client.lineWith("== await property d Aud text \"MIC 3\"")) << client.output();
    swp08::Message connect;
    connect.command = swp08::Command::Connect;
    connect.destination = 0;
    connect.source = 2;
    const std::string swp08Answer =
        exchange(ports.swp08, bytesOf(swp08::frame(swp08::encode(connect))), bytesOf(swp08::ack()));
    EXPECT_NE(swp08Answer.find(bytesOf(swp08::ack())), std::string::npos);

    // The routers die, and come back on the same ports as they started.
    ASSERT_TRUE(client.lineWith("== await link 1 away")) << client.output();
    sim->stop(SIGKILL);
    ASSERT_TRUE(client.lineWith("== await link 1 up")) << client.output();
    sim = std::make_unique<Process>(simArguments(ports));
    EXPECT_EQ(portsOf(*sim).videohub, ports.videohub) << sim->output();

    EXPECT_EQ(client.wait(), 0) << client.output();
    const std::string& said = client.output();
    EXPECT_NE(
        said.find("router 1 Hub: videohub 127.0.0.1:" + std::to_string(ports.videohub) + ", away"),
        std::string::npos)
        << said;
    EXPECT_EQ(sim->stop(SIGTERM), 0) << sim->output();
    EXPECT_NE(sim->output().find("zarn-host router-sim: stopped"), std::string::npos);
}

// A port where nothing listens: one that was open a moment ago.
unsigned short closedPort() {
    net::io_context io;
    tcp::acceptor acceptor(io, tcp::endpoint(net::ip::make_address("127.0.0.1"), 0));
    return acceptor.local_endpoint().port();
}

TEST(Loopback, ARouterThatCannotBeReachedFailsTheRunAndEndsIt) {
    const unsigned short port = closedPort();
    const std::string path = testing::TempDir() + "zarn_unreachable.scenario";
    std::ofstream(path) << "router 1 Hub videohub 127.0.0.1:" << port << "\nshow\n";
    Process client({ZARN_HOST_PATH, path});
    EXPECT_EQ(client.wait(), 1) << client.output();
    EXPECT_NE(client.output().find("router 1: cannot link to videohub 127.0.0.1:" +
                                   std::to_string(port) + ": Connection refused; the run stops"),
              std::string::npos)
        << client.output();
    EXPECT_EQ(client.output().find("panel view"), std::string::npos) << "the run went on";
}

// zarn-host serve links a router from its command line and serves one of its own.
TEST(Loopback, ServeLinksARouterAndServesOne) {
    Process sim(simArguments({}));
    const Ports ports = portsOf(sim);
    Process serve({ZARN_HOST_PATH, "serve", "--open-only", "--listen", "127.0.0.1:0", "--router",
                   "1 Hub videohub 127.0.0.1:" + std::to_string(ports.videohub), "--swp08", "1:0"});
    EXPECT_EQ(serve.wait(), 0) << serve.output();
    EXPECT_NE(serve.output().find("up, zarn-host router Hub"), std::string::npos) << serve.output();
    EXPECT_NE(serve.output().find("router 1 (Hub) is served over swp08 at 127.0.0.1:"),
              std::string::npos)
        << serve.output();
    EXPECT_EQ(sim.stop(SIGTERM), 0);
}

} // namespace
