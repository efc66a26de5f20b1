#include "serve_command.h"

#include "protocol.h"
#include "studio_bridge.h"
#include "transcript.h"
#include "web_server.h"

#include <zarn_script_helper/debug_output.h>

#include <boost/asio/ip/address.hpp>
#include <boost/asio/post.hpp>
#include <boost/asio/signal_set.hpp>

#include <condition_variable>
#include <fstream>
#include <functional>
#include <mutex>
#include <random>
#include <sstream>
#include <thread>

extern const char* const servePage;

namespace net = boost::asio;

namespace {

// The studio's own thread: tasks in, run one after the other; what they changed goes out
// to the pages after each batch of them.
class StudioThread : public StudioAccess {
public:
    StudioThread(net::io_context& io, StudioBridge& bridge) : io_(io), bridge_(bridge) {}

    void run() {
        thread_ = std::thread([this] { loop(); });
    }
    void server(WebServer* server) { server_ = server; }
    // Runs `task` on the studio's thread, then ends the thread.
    void finish(std::function<void()> task) {
        post(std::move(task));
        post(nullptr);
        thread_.join();
    }

    void state(std::function<void(std::string)> answer) override {
        post([this, answer] { answerOnIo(answer, jsonText(bridge_.state())); });
    }

    void message(std::string text, std::function<void(std::string)> answer) override {
        const ParsedClientMessage parsed = parseClientMessage(text);
        if (!parsed.action) {
            answer(jsonText(errorMessage(parsed.error, text)));
            return;
        }
        const ClientAction action = *parsed.action;
        post([this, action, text, answer] {
            const std::string error = bridge_.apply(action);
            const std::string reply = !error.empty() ? jsonText(errorMessage(error, text))
                                      : action.kind == ClientAction::Kind::Ping
                                          ? std::string("{\"type\":\"pong\"}")
                                          : std::string();
            if (!reply.empty()) {
                publish(); // what came before goes out before this page's own answer
                answerOnIo(answer, reply);
            }
        });
    }

    void scenario(std::function<void(std::string)> answer) override {
        post([this, answer] { answerOnIo(answer, bridge_.scenario()); });
    }

private:
    static std::string jsonText(const nlohmann::ordered_json& value) {
        return value.dump(-1, ' ', false, nlohmann::ordered_json::error_handler_t::replace);
    }

    void answerOnIo(const std::function<void(std::string)>& answer, std::string text) {
        net::post(io_, [answer, text = std::move(text)]() mutable { answer(std::move(text)); });
    }

    void publish() {
        const nlohmann::ordered_json changes = bridge_.takeChanges();
        if (changes.empty()) {
            return;
        }
        net::post(io_, [this, text = jsonText(changes)] {
            if (server_ != nullptr) {
                server_->broadcast(text);
            }
        });
    }

    void post(std::function<void()> task) {
        {
            const std::lock_guard<std::mutex> lock(mutex_);
            tasks_.push_back(std::move(task));
        }
        ready_.notify_one();
    }

    // Runs what waits, all of it, then sends what it changed in one message: under a
    // salvo the pages get few large messages rather than one for every route.
    void loop() {
        for (;;) {
            std::deque<std::function<void()>> batch;
            {
                std::unique_lock<std::mutex> lock(mutex_);
                ready_.wait(lock, [this] { return !tasks_.empty(); });
                batch.swap(tasks_);
            }
            for (std::function<void()>& task : batch) {
                if (!task) {
                    publish();
                    return;
                }
                task();
            }
            publish();
        }
    }

    net::io_context& io_;
    StudioBridge& bridge_;
    WebServer* server_ = nullptr;
    std::thread thread_;
    std::mutex mutex_;
    std::condition_variable ready_;
    std::deque<std::function<void()>> tasks_;
};

bool isLoopback(const net::ip::address& address) {
    return address.is_loopback();
}

std::string madeUpToken() {
    std::random_device random;
    std::string token;
    static const char hex[] = "0123456789abcdef";
    for (int i = 0; i < 32; ++i) {
        token += hex[random() % 16];
    }
    return token;
}

// "host:port" or "[v6 host]:port".
bool endpointOf(const std::string& text, net::ip::tcp::endpoint& endpoint, std::string& error) {
    const std::size_t colon = text.rfind(':');
    if (colon == std::string::npos) {
        error = "--listen wants host:port, not \"" + text + "\"";
        return false;
    }
    std::string host = text.substr(0, colon);
    if (host.size() >= 2 && host.front() == '[' && host.back() == ']') {
        host = host.substr(1, host.size() - 2);
    }
    boost::system::error_code bad;
    const net::ip::address address = net::ip::make_address(host, bad);
    const std::string port = text.substr(colon + 1);
    char* end = nullptr;
    const long number = std::strtol(port.c_str(), &end, 10);
    if (bad || port.empty() || *end != '\0' || number < 0 || number > 65535) {
        error = "--listen wants an address and a port, not \"" + text + "\"";
        return false;
    }
    endpoint = net::ip::tcp::endpoint(address, static_cast<unsigned short>(number));
    return true;
}

} // namespace

int runServe(const ServeOptions& options, const char* demoScenario, std::ostream& out,
             std::ostream& errors) {
    net::ip::tcp::endpoint endpoint;
    std::string error;
    if (!endpointOf(options.listen, endpoint, error)) {
        errors << "zarn-host serve: " << error << "\n";
        return 2;
    }
    if (!isLoopback(endpoint.address()) && !options.listenGiven) {
        errors << "zarn-host serve: listening beyond this machine wants --listen\n";
        return 2;
    }
    const std::string token = isLoopback(endpoint.address()) ? "" : madeUpToken();

    // The scenario first, as zarn-host runs one.
    std::string text = demoScenario;
    std::string name = "demo";
    std::string folder = ".";
    if (!options.scenario.empty()) {
        std::ifstream file(options.scenario, std::ios::binary);
        if (!file) {
            errors << "zarn-host serve: cannot read " << options.scenario << "\n";
            return 2;
        }
        std::ostringstream read;
        read << file.rdbuf();
        text = read.str();
        name = options.scenario;
        const std::size_t slash = name.find_last_of("/\\");
        folder = slash == std::string::npos ? "." : name.substr(0, slash);
    }
    Transcript transcript(out, Transcript::Format::Text, options.quiet);
    // What components write to the debug output goes into the transcript, to the pages too.
    zarn_debug_capture(
        [](void* context, const char* line) { static_cast<Transcript*>(context)->debug(line); },
        &transcript);
    struct Uncapture {
        ~Uncapture() { zarn_debug_capture(nullptr, nullptr); }
    } uncapture;
    Studio studio(transcript);
    // Watching from the start, so that a page sees the scenario's transcript too.
    StudioBridge bridge(studio, transcript, text);
    ScenarioRunner runner(studio, transcript, ScenarioSettings(options.variables));
    if (!runner.run(text, name, folder)) {
        return 2;
    }
    bridge.takeChanges(); // the state a page gets holds them
    const bool passed = transcript.failures() == 0;

    net::io_context io;
    StudioThread studioThread(io, bridge);
    std::unique_ptr<WebServer> server;
    try {
        server = std::make_unique<WebServer>(io, endpoint, token, servePage, studioThread);
    } catch (const boost::system::system_error& failure) {
        errors << "zarn-host serve: cannot listen on " << options.listen << ": "
               << failure.code().message() << "\n";
        return 2;
    }
    studioThread.server(server.get());
    const std::string host = endpoint.address().is_v6() ? "[" + endpoint.address().to_string() + "]"
                                                        : endpoint.address().to_string();
    out << "zarn-host serve: the studio is at http://" << host << ":" << server->port() << "/"
        << (token.empty() ? "" : "?token=" + token) << "  (Ctrl-C stops it)" << std::endl;
    if (options.openOnly) {
        server->stop();
        studio.finish();
        return passed ? 0 : 1;
    }
    studioThread.run();
    net::signal_set stops(io, SIGINT, SIGTERM);
    stops.async_wait([&](const boost::system::error_code&, int) {
        server->stop();
        io.stop();
    });
    io.run();
    // Every component destroyed and its replies accounted for, on the studio's thread.
    studioThread.finish([&] { studio.finish(); });
    out << "zarn-host serve: stopped" << std::endl;
    return passed ? 0 : 1;
}
