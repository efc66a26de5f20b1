// A router of the studio served over SW-P-08, as matrix 1 level 1 (0 and 0 on the wire).
// Every frame a client sends gets an ACK at once (a malformed one a NAK), and then its
// answer: a tally for an interrogate, the tally dump for a dump request, the source names
// for a names request, in the extended forms when the request was extended or a number
// needs them. A connect is a take; every client, the asker too, hears the route as a
// CONNECTED message. Messages of other matrices and levels, and commands it does not
// know, are ACKed and passed over.
//
// What the router sends waits for the client's ACK, a frame at a time: without one in a
// second, or with a NAK, the frame is sent again, five times at the most, and then passed
// over. Destinations routed to nothing are left out of the dump.
#pragma once

#include "router_server.h"
#include "swp08_codec.h"

#include <boost/asio/steady_timer.hpp>

class Swp08Server : public RouterServer {
public:
    Swp08Server(boost::asio::io_context& io, Studio& studio, int device,
                const boost::asio::ip::tcp::endpoint& at);

private:
    struct Client : Session {
        Client(boost::asio::ip::tcp::socket s, boost::asio::io_context& io)
            : Session(std::move(s)), resend(io) {}
        swp08::FrameReader reader;
        std::deque<swp08::Bytes> outbox;
        int tries = 0;
        bool waiting = false;
        boost::asio::steady_timer resend;
    };

    SessionPtr makeSession(boost::asio::ip::tcp::socket socket) override;
    void opened(const SessionPtr&) override {}
    void received(const SessionPtr& session, const char* bytes, std::size_t size) override;
    void routeChanged(int destination, int source) override;
    void nameChanged(int, const std::string&) override {} // names are asked for

    void answer(const SessionPtr& session, const swp08::Message& message);
    void dump(const SessionPtr& session, bool extended);
    void names(const SessionPtr& session, const swp08::Message& request);
    // A message to the client, in its turn.
    void post(const SessionPtr& session, const swp08::Message& message);
    void sendNext(const SessionPtr& session);
    void acknowledged(const SessionPtr& session, bool ack);
};
