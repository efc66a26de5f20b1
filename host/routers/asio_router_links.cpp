#include "asio_router_links.h"

#include "swp08_link.h"
#include "videohub_link.h"

#include <algorithm>
#include <thread>

AsioRouterLinks::AsioRouterLinks(RouterLinkEvents& events, const LinkTimings& timings)
    : own_(std::make_unique<boost::asio::io_context>()), io_(*own_), events_(events),
      timings_(timings) {}

AsioRouterLinks::AsioRouterLinks(boost::asio::io_context& io, RouterLinkEvents& events,
                                 const LinkTimings& timings)
    : io_(io), events_(events), timings_(timings) {}

AsioRouterLinks::~AsioRouterLinks() {
    stop();
}

std::string AsioRouterLinks::link(int device, const RouterLinkSpec& spec) {
    if (spec.protocol != "videohub" && spec.protocol != "swp08") {
        return "\"" + spec.protocol + "\" is neither videohub nor swp08";
    }
    if (linked(device)) {
        return "router " + std::to_string(device) + " is linked already, to " + describe(device);
    }
    std::unique_ptr<RouterLink> made;
    if (spec.protocol == "videohub") {
        made = std::make_unique<VideohubLink>(io_, device, spec, events_, timings_);
    } else {
        made = std::make_unique<Swp08Link>(io_, device, spec, events_, timings_);
    }
    RouterLink& link = *made;
    links_[device] = std::move(made);
    link.start();
    return "";
}

LinkStatus AsioRouterLinks::status(int device) const {
    const auto found = links_.find(device);
    return found != links_.end() ? found->second->status() : LinkStatus{};
}

std::string AsioRouterLinks::describe(int device) const {
    const auto found = links_.find(device);
    return found != links_.end() ? found->second->spec().describe() : "";
}

std::string AsioRouterLinks::take(int device, int destination, int source) {
    const auto found = links_.find(device);
    return found != links_.end() ? found->second->take(destination, source)
                                 : "router " + std::to_string(device) + " has no link";
}

bool AsioRouterLinks::pump(std::chrono::milliseconds timeout, const std::function<bool()>& done) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (!done()) {
        const auto now = std::chrono::steady_clock::now();
        if (now >= deadline) {
            return false;
        }
        if (io_.stopped()) {
            io_.restart();
        }
        // A handler at a time, so that done() is looked at after every bit of work.
        if (io_.run_one_for(deadline - now) == 0 && io_.stopped()) {
            // Nothing to do at all: no link is waiting for anything.
            std::this_thread::sleep_for(std::min<std::chrono::steady_clock::duration>(
                deadline - now, std::chrono::milliseconds(10)));
        }
    }
    return true;
}

void AsioRouterLinks::stop() {
    for (auto& [device, link] : links_) {
        link->stop();
    }
    // What the links had waiting is handled while they still exist, so that nothing of
    // theirs runs after them; then they go.
    if (own_ != nullptr) {
        own_->restart();
        own_->poll();
    }
    links_.clear();
}
