// The router side of zarn-host (serve, router-sim): which routers of the studio are
// served over which protocol, and where.
//
//   --videohub 1:9990            router 1 as a Videohub router on 127.0.0.1:9990
//   --swp08 2@0.0.0.0:8910       router 2 over SW-P-08 on every address of the machine
//
// Port 0 lets the system pick one; the port is printed either way. Neither protocol has
// a login, so an address beyond the loopback serves the router to the whole network.
#pragma once

#include "router_server.h"

#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

struct RouterSideSpec {
    std::string protocol; // "videohub" or "swp08"
    int device = 0;
    std::string host = "127.0.0.1";
    unsigned short port = 0;
};

// "DEVICE:PORT" or "DEVICE@HOST:PORT"; nothing, with `error` set, for anything else.
std::optional<RouterSideSpec> parseRouterSide(const std::string& protocol, const std::string& text,
                                              std::string& error);

// Serves each router; says where on `out`, a line each. Gives the error that stopped it
// (a router the studio does not have, an address that cannot be listened on), or "".
std::string serveRouters(boost::asio::io_context& io, Studio& studio,
                         const std::vector<RouterSideSpec>& specs,
                         std::vector<std::unique_ptr<RouterServer>>& servers, std::ostream& out,
                         const std::string& program);
