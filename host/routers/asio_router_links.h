// The studio's router links on Boost.Asio: one RouterLink a linked device, all on one
// io_context. A scenario run alone lets them work only while it waits for them (pump);
// zarn-host serve lends its studio thread's io_context, which runs them all the time.
#pragma once

#include "link_connection.h"
#include "router_link.h"
#include "router_links.h"

#include <boost/asio/io_context.hpp>

#include <map>
#include <memory>

class AsioRouterLinks : public RouterLinks {
public:
    // Links with an io_context of their own, run only by pump().
    AsioRouterLinks(RouterLinkEvents& events, const LinkTimings& timings = {});
    // Links on `io`, which the caller runs (and must not run in pump() from another thread).
    AsioRouterLinks(boost::asio::io_context& io, RouterLinkEvents& events,
                    const LinkTimings& timings = {});
    ~AsioRouterLinks() override;

    std::string link(int device, const RouterLinkSpec& spec) override;
    bool linked(int device) const override { return links_.count(device) != 0; }
    LinkStatus status(int device) const override;
    std::string describe(int device) const override;
    std::string take(int device, int destination, int source) override;
    bool pump(std::chrono::milliseconds timeout, const std::function<bool()>& done) override;
    void stop() override;

private:
    std::unique_ptr<boost::asio::io_context> own_;
    boost::asio::io_context& io_;
    RouterLinkEvents& events_;
    LinkTimings timings_;
    std::map<int, std::unique_ptr<RouterLink>> links_;
};
