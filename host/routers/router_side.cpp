#include "router_side.h"

#include "swp08_server.h"
#include "tokens.h"
#include "videohub_server.h"

namespace net = boost::asio;

std::optional<RouterSideSpec> parseRouterSide(const std::string& protocol, const std::string& text,
                                              std::string& error) {
    RouterSideSpec spec;
    spec.protocol = protocol;
    const std::size_t at = text.find('@');
    const std::size_t colon = text.rfind(':');
    const std::string device =
        text.substr(0, at != std::string::npos ? at : std::min(colon, text.size()));
    const std::optional<int> number = parseInt(device);
    const std::optional<int> port =
        colon == std::string::npos ? std::nullopt : parseInt(text.substr(colon + 1));
    if (at != std::string::npos && colon != std::string::npos && colon > at + 1) {
        spec.host = text.substr(at + 1, colon - at - 1);
    }
    boost::system::error_code bad;
    net::ip::make_address(spec.host, bad);
    if (!number || *number < 0 || !port || *port < 0 || *port > 65535 || bad ||
        (at != std::string::npos && colon <= at + 1)) {
        error = "--" + protocol + " wants DEVICE:PORT or DEVICE@ADDRESS:PORT, not \"" + text + "\"";
        return std::nullopt;
    }
    spec.device = *number;
    spec.port = static_cast<unsigned short>(*port);
    return spec;
}

std::string serveRouters(net::io_context& io, Studio& studio,
                         const std::vector<RouterSideSpec>& specs,
                         std::vector<std::unique_ptr<RouterServer>>& servers, std::ostream& out,
                         const std::string& program) {
    for (const RouterSideSpec& spec : specs) {
        if (!studio.routers().defined(spec.device)) {
            return "the studio has no router " + std::to_string(spec.device) + " to serve";
        }
        const net::ip::tcp::endpoint at(net::ip::make_address(spec.host), spec.port);
        try {
            if (spec.protocol == "videohub") {
                servers.push_back(std::make_unique<VideohubServer>(io, studio, spec.device, at));
            } else {
                servers.push_back(std::make_unique<Swp08Server>(io, studio, spec.device, at));
            }
        } catch (const boost::system::system_error& failure) {
            return "cannot listen on " + spec.host + ":" + std::to_string(spec.port) +
                   " for router " + std::to_string(spec.device) + ": " + failure.code().message();
        }
        out << program << ": router " << spec.device << " (" << studio.routers().name(spec.device)
            << ") is served over " << spec.protocol << " at " << spec.host << ":"
            << servers.back()->port() << std::endl;
    }
    return "";
}
