#include "serve_command.h"

#include "asio_router_links.h"
#include "studio_bridge.h"
#include "studio_thread.h"
#include "transcript.h"
#include "web_server.h"

#include <zarn_script_helper/debug_output.h>

#include <boost/asio/ip/address.hpp>
#include <boost/asio/post.hpp>
#include <boost/asio/signal_set.hpp>

#include <fstream>
#include <random>
#include <sstream>

extern const char* const servePage;

namespace net = boost::asio;

namespace {

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

// The scenario's text, its name and its folder; the built-in demo when none is given.
bool readScenario(const ServeOptions& options, const char* demoScenario, std::string& text,
                  std::string& name, std::string& folder) {
    text = demoScenario;
    name = "demo";
    folder = ".";
    if (options.scenario.empty()) {
        return true;
    }
    std::ifstream file(options.scenario, std::ios::binary);
    if (!file) {
        return false;
    }
    std::ostringstream read;
    read << file.rdbuf();
    text = read.str();
    name = options.scenario;
    const std::size_t slash = name.find_last_of("/\\");
    folder = slash == std::string::npos ? "." : name.substr(0, slash);
    return true;
}

std::string routerLines(const std::vector<std::string>& links) {
    std::string text;
    for (const std::string& words : links) {
        text += "router " + words + "\n";
    }
    return text;
}

} // namespace

int runServe(const ServeOptions& options, const char* demoScenario, std::ostream& out,
             std::ostream& errors) {
    const std::string program = options.web ? "zarn-host serve" : "zarn-host router-sim";
    net::ip::tcp::endpoint endpoint;
    std::string error;
    if (options.web && !endpointOf(options.listen, endpoint, error)) {
        errors << program << ": " << error << "\n";
        return 2;
    }
    if (options.web && !isLoopback(endpoint.address()) && !options.listenGiven) {
        errors << program << ": listening beyond this machine wants --listen\n";
        return 2;
    }
    const std::string token = !options.web || isLoopback(endpoint.address()) ? "" : madeUpToken();

    // The scenario first, as zarn-host runs one.
    std::string text;
    std::string name;
    std::string folder;
    if (!readScenario(options, demoScenario, text, name, folder)) {
        errors << program << ": cannot read " << options.scenario << "\n";
        return 2;
    }
    Transcript transcript(out, Transcript::Format::Text, options.quiet);
    // What components write to the debug output goes into the transcript, to the pages too.
    zarn_debug_capture(
        [](void* context, const char* line) { static_cast<Transcript*>(context)->debug(line); },
        &transcript);
    struct Uncapture {
        ~Uncapture() { zarn_debug_capture(nullptr, nullptr); }
    } uncapture;
    // The studio's thread's work: links, the router side, the pages' actions.
    net::io_context studioIo;
    Studio studio(transcript);
    // Watching from the start, so that a page sees the scenario's transcript too.
    StudioBridge bridge(studio, transcript, text);
    ScenarioSettings settings(options.variables);
    settings.routerLinks = [&studioIo](RouterLinkEvents& events) {
        return std::make_unique<AsioRouterLinks>(studioIo, events);
    };
    ScenarioRunner runner(studio, transcript, settings);
    if (!runner.run(text, name, folder) ||
        !runner.run(routerLines(options.routerLinks), "--router", folder)) {
        return 2;
    }
    bridge.takeChanges(); // the state a page gets holds them
    const bool passed = transcript.failures() == 0;

    std::vector<std::unique_ptr<RouterServer>> routerSide;
    error = serveRouters(studioIo, studio, options.routerSide, routerSide, out, program);
    if (!error.empty()) {
        errors << program << ": " << error << "\n";
        return 2;
    }
    net::io_context io;
    StudioThread studioThread(io, studioIo, bridge, studio);
    std::unique_ptr<WebServer> server;
    if (options.web) {
        try {
            server = std::make_unique<WebServer>(io, endpoint, token, servePage, studioThread);
        } catch (const boost::system::system_error& failure) {
            errors << program << ": cannot listen on " << options.listen << ": "
                   << failure.code().message() << "\n";
            return 2;
        }
        studioThread.server(server.get());
        const std::string host = endpoint.address().is_v6()
                                     ? "[" + endpoint.address().to_string() + "]"
                                     : endpoint.address().to_string();
        out << program << ": the studio is at http://" << host << ":" << server->port() << "/"
            << (token.empty() ? "" : "?token=" + token) << "  (Ctrl-C stops it)" << std::endl;
    } else {
        out << program << ": serving until Ctrl-C or SIGTERM" << std::endl;
    }
    if (options.openOnly) {
        if (server != nullptr) {
            server->stop();
        }
        studio.finish();
        return passed ? 0 : 1;
    }
    studioThread.run();
    net::signal_set stops(io, SIGINT, SIGTERM);
    stops.async_wait([&](const boost::system::error_code&, int) {
        if (server != nullptr) {
            server->stop();
        }
        io.stop();
    });
    io.run();
    // Every component destroyed and its replies accounted for, on the studio's thread; the
    // router side closed there first, as it runs there.
    studioThread.finish([&] {
        routerSide.clear();
        studio.finish();
    });
    out << program << ": stopped" << std::endl;
    return passed ? 0 : 1;
}
