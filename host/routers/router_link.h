// One link of a studio router to a real router, whatever its protocol: the connection,
// where the link is (connecting, up, away), and what it tells the studio. The protocols
// (videohub_link.h, swp08_link.h) read and write the bytes. Everything runs on the thread
// that runs the io_context, which is the studio's.
#pragma once

#include "link_connection.h"
#include "router_links.h"

#include <boost/asio/steady_timer.hpp>

#include <map>
#include <string>

class RouterLink : protected LinkConnection::Hooks {
public:
    RouterLink(boost::asio::io_context& io, int device, const RouterLinkSpec& spec,
               RouterLinkEvents& events, const LinkTimings& timings);
    ~RouterLink() override = default;
    RouterLink(const RouterLink&) = delete;
    RouterLink& operator=(const RouterLink&) = delete;

    void start() { connection_.start(); }
    void stop() { connection_.stop(); }
    // Asks the router for a route, numbers from 1; gives why it cannot be asked, or "".
    virtual std::string take(int destination, int source) = 0;
    const LinkStatus& status() const { return status_; }
    const RouterLinkSpec& spec() const { return spec_; }

protected:
    // The router's whole state is read: the link is up, and the studio takes the names
    // and routes (numbers from 1) and hears `what` the router is.
    void cameUp(const std::string& what, const std::map<int, std::string>& names,
                const std::map<int, int>& routes);
    // The link is away, and the studio hears why, once for each new reason.
    void wentAway(const std::string& why);
    void problem(const std::string& what) { events_.linkProblem(device_, what); }
    bool isUp() const { return status_.state == LinkStatus::State::Up; }
    // While up, what the router reports now.
    void reportNames(const std::map<int, std::string>& names);
    void reportRoutes(const std::map<int, int>& routes);

    // A protocol that can wait no longer ends the connection; it is made again.
    void drop(const std::string& why) { connection_.drop(why); }
    // Starts the wait for the router's whole state after a connection, and stops it.
    void awaitState(const std::string& what);
    void stateRead() { stateTimer_.cancel(); }

    int device_;
    RouterLinkSpec spec_;
    RouterLinkEvents& events_;
    LinkTimings timings_;
    LinkConnection connection_;

private:
    LinkStatus status_{LinkStatus::State::Connecting, ""};
    boost::asio::steady_timer stateTimer_;
};

// `bytes` as hexadecimal pairs, at most the first `most` of them: "10 02 01 ...".
std::string hexBytes(const unsigned char* bytes, std::size_t size, std::size_t most = 32);
