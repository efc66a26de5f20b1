// A studio router linked to one matrix and level of a router over SW-P-08. On connecting
// it asks for the tally dump and the source names of its matrix and level, ACKs every
// frame the router sends (a malformed one gets a NAK), and is up once its requests are
// ACKed and the replies have stopped coming for a moment (the protocol says nothing of
// how many there are). Then it follows the router's CONNECTED messages; a take is a
// CONNECT, and the route changes when the router's CONNECTED says so. One frame is out at
// a time: without an ACK in time, or with a NAK, it is sent again, five times at the most,
// and then the connection is made again. An interrogate keeps an idle link alive.
//
// Numbers count from 1 here and from 0 on the wire; numbers above 1023 and matrices or
// levels above 16 go in the extended messages, which are read whichever way they come.
// Messages of other matrices and levels are passed over.
#pragma once

#include "router_link.h"
#include "swp08_codec.h"

#include <deque>
#include <map>
#include <string>

class Swp08Link : public RouterLink {
public:
    Swp08Link(boost::asio::io_context& io, int device, const RouterLinkSpec& spec,
              RouterLinkEvents& events, const LinkTimings& timings);

    std::string take(int destination, int source) override;

private:
    struct Outgoing {
        swp08::Bytes frame;
        std::string what;
        int tries = 0;
    };

    void connected() override;
    void received(const char* bytes, std::size_t size) override;
    void lost(const std::string& why) override;

    void handle(const swp08::Message& message);
    bool ours(const swp08::Message& message) const;
    void routed(int destination, int source, std::map<int, int>& routes);
    void stateArrived();
    void answered(bool ack);
    void send(const swp08::Message& message, std::string what);
    void sendNext();
    void restartIdle();

    boost::asio::steady_timer resendTimer_;
    boost::asio::steady_timer quietTimer_;
    boost::asio::steady_timer idleTimer_;
    swp08::FrameReader reader_;
    std::map<int, std::string> names_; // source to name, from 1
    std::map<int, int> routes_;        // destination to source, from 1
    std::deque<Outgoing> outbox_;
    bool waiting_ = false; // for the ACK of outbox_.front()
    bool asked_ = false;   // the requests for the state are ACKed
};
