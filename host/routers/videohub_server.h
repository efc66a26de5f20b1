// A router of the studio served over the Videohub Ethernet protocol. A client gets the
// dump on connecting (preamble, device, labels, routing, locks); each block it sends gets
// one ACK or NAK, in order, and then what it asked for: a routing block is a take of each
// of its lines (every client, the asker too, hears the routes as updates), an input label
// block names sources, an empty block asks for the whole of it, and a ping is a ping.
//
// The router is as large as what the studio uses, 16 x 16 at the least; when a route or a
// name goes beyond it, it grows and every client is sent the dump again, as a router that
// changes its device does. Outputs that are routed to nothing are left out of the routing
// blocks (the protocol has no way to say so). Locks are not kept: every output shows
// unlocked, and a lock block is refused.
#pragma once

#include "router_server.h"
#include "videohub_codec.h"

class VideohubServer : public RouterServer {
public:
    VideohubServer(boost::asio::io_context& io, Studio& studio, int device,
                   const boost::asio::ip::tcp::endpoint& at);

private:
    struct Client : Session {
        using Session::Session;
        videohub::BlockReader reader;
    };

    SessionPtr makeSession(boost::asio::ip::tcp::socket socket) override;
    void opened(const SessionPtr& session) override;
    void received(const SessionPtr& session, const char* bytes, std::size_t size) override;
    void routeChanged(int destination, int source) override;
    void nameChanged(int source, const std::string& name) override;

    // The answer to a block, and what it does.
    void answer(const SessionPtr& session, const videohub::Block& block);
    bool fits(int index, int size) const { return index >= 0 && index < size; }
    // Grows to hold what the studio uses; true when it grew. growTo: to hold that many.
    bool grow();
    bool growTo(int outputs, int inputs);
    std::string dump() const;
    std::map<int, std::string> inputLabels() const; // from 0 on the wire
    std::map<int, int> routing() const;

    int inputs_ = 16;
    int outputs_ = 16;
};
