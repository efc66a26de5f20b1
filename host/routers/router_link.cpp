#include "router_link.h"

RouterLink::RouterLink(boost::asio::io_context& io, int device, const RouterLinkSpec& spec,
                       RouterLinkEvents& events, const LinkTimings& timings)
    : device_(device), spec_(spec), events_(events), timings_(timings),
      connection_(io, spec.host, spec.port, *this, timings), stateTimer_(io) {}

void RouterLink::cameUp(const std::string& what, const std::map<int, std::string>& names,
                        const std::map<int, int>& routes) {
    stateTimer_.cancel();
    status_ = {LinkStatus::State::Up, ""};
    events_.linkUp(device_, what);
    events_.reportedNames(device_, names);
    events_.reportedRoutes(device_, routes);
}

void RouterLink::wentAway(const std::string& why) {
    stateTimer_.cancel();
    if (status_.state == LinkStatus::State::Away && status_.why == why) {
        return; // the same reason again, at every retry: said once
    }
    status_ = {LinkStatus::State::Away, why};
    events_.linkAway(device_, why);
}

void RouterLink::reportNames(const std::map<int, std::string>& names) {
    if (isUp() && !names.empty()) {
        events_.reportedNames(device_, names);
    }
}

void RouterLink::reportRoutes(const std::map<int, int>& routes) {
    if (isUp() && !routes.empty()) {
        events_.reportedRoutes(device_, routes);
    }
}

void RouterLink::awaitState(const std::string& what) {
    stateTimer_.expires_after(timings_.state);
    stateTimer_.async_wait([this, what](boost::system::error_code cancelled) {
        if (!cancelled && !isUp()) {
            drop("the router sent no " + what + " within " +
                 std::to_string(timings_.state.count()) + " ms");
        }
    });
}

std::string hexBytes(const unsigned char* bytes, std::size_t size, std::size_t most) {
    static const char digits[] = "0123456789ABCDEF";
    std::string text;
    for (std::size_t i = 0; i < size && i < most; ++i) {
        text += (i == 0 ? "" : " ");
        text += digits[bytes[i] >> 4];
        text += digits[bytes[i] & 15];
    }
    if (size > most) {
        text += " ... (" + std::to_string(size) + " bytes)";
    }
    return text;
}
