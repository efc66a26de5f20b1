// zarn-host serve under load: 500 destination buttons, 50 pages connected over WebSockets,
// and a salvo of 10,000 route changes sent by one of them. Reports how long it takes
// until every page shows the last tally, and the server's peak memory. A benchmark, not a
// test: it asserts nothing but that the pages get there.
//
//   zarn_serve_load <zarn-host> [buttons] [pages] [routes]
#include <boost/asio/connect.hpp>
#include <boost/beast/core.hpp>
#include <boost/beast/websocket.hpp>

#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

namespace beast = boost::beast;
namespace websocket = beast::websocket;
namespace net = boost::asio;
using tcp = net::ip::tcp;

namespace {

constexpr int sources = 32;

std::string scenario(int buttons) {
    std::ostringstream text;
    text << "module ry_dest " << RY_DEST_MODULE_PATH << "\n"
         << "router 1 \"Video matrix\"\nrouter 2 \"Audio matrix\"\n";
    for (int s = 1; s <= sources; ++s) {
        text << "source 1 " << s << " \"CAM " << s << "\"\nsource 2 " << s << " \"MIC " << s
             << "\"\n";
    }
    for (int d = 1; d <= buttons; ++d) {
        text << "entry 7 1 " << d << " \"Dest " << d << "\"\nentry 8 1 " << d << " \"" << d << ","
             << d << "\"\nroute 1 " << d << " 1\nroute 2 " << d << " 1\n";
    }
    for (int d = 1; d <= buttons; ++d) {
        text << "place dest" << d << " ry_dest group studio destination_id=" << d
             << " package_name_id=7 package_xpts_id=8 video_matrix_id=1 audio_matrix_id=2\n";
    }
    return text.str();
}

struct Server {
    pid_t pid = -1;
    unsigned short port = 0;
};

// zarn-host serve on a port of the system's choosing, its first line read for the port.
Server start(const char* host, const std::string& file) {
    int out[2];
    if (pipe(out) != 0) {
        return {};
    }
    const pid_t pid = fork();
    if (pid == 0) {
        dup2(out[1], STDOUT_FILENO);
        close(out[0]);
        execl(host, host, "serve", file.c_str(), "--quiet", "--listen", "127.0.0.1:0",
              static_cast<char*>(nullptr));
        _exit(127);
    }
    close(out[1]);
    std::string line;
    char c = 0;
    while (read(out[0], &c, 1) == 1 && c != '\n') {
        line += c;
    }
    const std::size_t colon = line.find("127.0.0.1:");
    Server server{pid, 0};
    if (colon != std::string::npos) {
        server.port = static_cast<unsigned short>(std::atoi(line.c_str() + colon + 10));
    }
    return server;
}

long peakKilobytes(pid_t pid) {
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmHWM:", 0) == 0) {
            return std::atol(line.c_str() + 6);
        }
    }
    return -1;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: zarn_serve_load <zarn-host> [buttons] [pages] [routes]\n");
        return 2;
    }
    const int buttons = argc > 2 ? std::atoi(argv[2]) : 500;
    const int pages = argc > 3 ? std::atoi(argv[3]) : 50;
    const int routes = argc > 4 ? std::atoi(argv[4]) : 10000;
    const std::string file = "/tmp/zarn_serve_load_" + std::to_string(getpid()) + ".scenario";
    std::ofstream(file) << scenario(buttons);
    const Server server = start(argv[1], file);
    if (server.port == 0) {
        std::fprintf(stderr, "zarn-host serve did not come up\n");
        return 1;
    }
    // The last route: audio destination `buttons` to a source no other route uses, which
    // has no name, so that its tally shows the source's number.
    const int lastSource = sources + 1;
    const std::string lastTally = "\"instance\":\"dest" + std::to_string(buttons) +
                                  "\",\"control\":\"Aud\",\"property\":\"text\",\"value\":\"" +
                                  std::to_string(lastSource) + "\"";
    net::io_context io;
    std::vector<std::unique_ptr<websocket::stream<tcp::socket>>> sockets;
    for (int i = 0; i < pages; ++i) {
        auto socket = std::make_unique<websocket::stream<tcp::socket>>(io);
        socket->next_layer().connect(
            tcp::endpoint(net::ip::make_address("127.0.0.1"), server.port));
        socket->handshake("127.0.0.1", "/ws");
        beast::flat_buffer state;
        socket->read(state);
        sockets.push_back(std::move(socket));
    }
    std::atomic<int> arrived{0};
    std::vector<double> seconds(static_cast<std::size_t>(pages), 0);
    const auto start = std::chrono::steady_clock::now();
    std::vector<std::thread> readers;
    for (int i = 0; i < pages; ++i) {
        readers.emplace_back([&, i] {
            beast::flat_buffer buffer;
            for (;;) {
                beast::error_code error;
                sockets[static_cast<std::size_t>(i)]->read(buffer, error);
                if (error) {
                    return;
                }
                const std::string message = beast::buffers_to_string(buffer.data());
                buffer.consume(buffer.size());
                if (message.find(lastTally) != std::string::npos) {
                    seconds[static_cast<std::size_t>(i)] =
                        std::chrono::duration<double>(std::chrono::steady_clock::now() - start)
                            .count();
                    ++arrived;
                    return;
                }
            }
        });
    }
    // The salvo: every destination moved on, round after round; the last route last.
    for (int k = 0; k < routes - 1; ++k) {
        const int destination = 1 + k % buttons;
        const int device = 1 + (k / buttons) % 2;
        const int source = 2 + k % (sources - 1);
        sockets[0]->write(net::buffer("{\"type\":\"route\",\"device\":" + std::to_string(device) +
                                      ",\"destination\":" + std::to_string(destination) +
                                      ",\"source\":" + std::to_string(source) + "}"));
    }
    sockets[0]->write(
        net::buffer("{\"type\":\"route\",\"device\":2,\"destination\":" + std::to_string(buttons) +
                    ",\"source\":" + std::to_string(lastSource) + "}"));
    for (std::thread& reader : readers) {
        reader.join();
    }
    double last = 0;
    for (double s : seconds) {
        last = s > last ? s : last;
    }
    const long peak = peakKilobytes(server.pid);
    kill(server.pid, SIGTERM);
    int status = 0;
    waitpid(server.pid, &status, 0);
    std::remove(file.c_str());
    std::printf("%d buttons, %d pages, %d route changes: every page showed the last tally after "
                "%.3f s (%d of %d pages); the server's peak memory %.1f MiB; it stopped with %d\n",
                buttons, pages, routes, last, arrived.load(), pages, peak / 1024.0,
                WIFEXITED(status) ? WEXITSTATUS(status) : -1);
    return arrived == pages ? 0 : 1;
}
