// A studio router linked to a router over the Videohub Ethernet protocol. On connecting it
// reads the router's dump (device, input labels, routing) and is up once it has all three;
// then it follows the router's updates. A take is a routing block, and the route changes
// when the router's own update says so, not on its ACK. One request is out at a time,
// each waiting for its ACK (ACKs name no request); a request without an ACK in time ends
// the connection, and the next dump puts the state right. A ping keeps an idle link alive.
//
// Numbers count from 1 here; output 0 on the wire is destination 1, input 0 source 1.
// Labels, routes and outputs beyond the sizes the device block gives are reported and
// passed over. Locks are not followed: a take of a locked output is refused by the router.
#pragma once

#include "router_link.h"
#include "videohub_codec.h"

#include <deque>
#include <map>
#include <string>
#include <utility>

class VideohubLink : public RouterLink {
public:
    VideohubLink(boost::asio::io_context& io, int device, const RouterLinkSpec& spec,
                 RouterLinkEvents& events, const LinkTimings& timings);

    std::string take(int destination, int source) override;

private:
    void connected() override;
    void received(const char* bytes, std::size_t size) override;
    void lost(const std::string& why) override;

    void handle(const videohub::Message& message);
    void readDevice(const videohub::Message& message);
    std::map<int, std::string> readLabels(const videohub::Message& message);
    std::map<int, int> readRoutes(const videohub::Message& message);
    void answered(bool ack);
    void maybeUp();
    void request(std::string text, std::string what);
    void sendNext();
    void restartIdle();

    boost::asio::steady_timer answerTimer_;
    boost::asio::steady_timer idleTimer_;
    videohub::BlockReader reader_;
    std::string model_;
    bool present_ = false;
    bool haveDevice_ = false;
    bool haveLabels_ = false;
    bool haveRouting_ = false;
    int inputs_ = -1; // unknown until the device block
    int outputs_ = -1;
    std::map<int, std::string> names_;                         // source to name, from 1
    std::map<int, int> routes_;                                // destination to source, from 1
    std::deque<std::pair<std::string, std::string>> requests_; // text, what it is
    bool waiting_ = false;                                     // for the ACK of requests_.front()
};
