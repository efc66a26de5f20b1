#include "router_side.h"

#include "swp08_server.h"
#include "tokens.h"
#include "videohub_server.h"

namespace net = boost::asio;

std::optional<RouterSideSpec> parseRouterSide(const std::string& protocol, const std::string& text,
                                              std::string& error) {
    error = "--" + protocol + " wants DEVICE:PORT or DEVICE@ADDRESS:PORT, not \"" + text + "\"";
    const std::size_t at = text.find('@');
    const std::size_t colon = text.rfind(':');
    if (colon == std::string::npos || (at != std::string::npos && colon <= at + 1)) {
        return std::nullopt;
    }
    RouterSideSpec spec;
    spec.protocol = protocol;
    if (at != std::string::npos) {
        spec.host = text.substr(at + 1, colon - at - 1);
    }
    const int device = parseInt(text.substr(0, at != std::string::npos ? at : colon)).value_or(-1);
    const int port = parseInt(text.substr(colon + 1)).value_or(-1);
    boost::system::error_code bad;
    net::ip::make_address(spec.host, bad);
    if (device < 0 || port < 0 || port > 65535 || bad) {
        return std::nullopt;
    }
    error.clear();
    spec.device = device;
    spec.port = static_cast<unsigned short>(port);
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
