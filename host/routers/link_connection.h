// One TCP connection to a router, on Boost.Asio, that keeps itself alive: it connects
// with a timeout, and when the connection cannot be made or goes it says so and tries
// again, waiting longer each time (up to a few seconds). What travels over it is the
// protocol's business (videohub_link.h, swp08_link.h). Everything runs on the thread that
// runs the io_context.
#pragma once

#include <boost/asio/io_context.hpp>
#include <boost/asio/ip/tcp.hpp>
#include <boost/asio/steady_timer.hpp>

#include <chrono>
#include <deque>
#include <memory>
#include <string>

// How long a link waits for what.
struct LinkTimings {
    std::chrono::milliseconds connect{3000};    // for a connection to be made
    std::chrono::milliseconds state{5000};      // for the router's whole state after it
    std::chrono::milliseconds answer{2000};     // for an ACK that ends the wait (Videohub)
    std::chrono::milliseconds resend{1000};     // for an ACK before sending again (SW-P-08)
    int tries = 5;                              // sendings of one frame, at the most
    std::chrono::milliseconds quiet{300};       // without dump data: the dump is whole
    std::chrono::milliseconds keepAlive{10000}; // idle, before a ping
    std::chrono::milliseconds firstRetry{250};  // before connecting again, doubling
    std::chrono::milliseconds lastRetry{4000};  // up to this
};

class LinkConnection {
public:
    // What the protocol hears of the connection.
    class Hooks {
    public:
        virtual ~Hooks() = default;
        virtual void connected() = 0;
        virtual void received(const char* bytes, std::size_t size) = 0;
        // The connection could not be made or went; it is tried again.
        virtual void lost(const std::string& why) = 0;
    };

    LinkConnection(boost::asio::io_context& io, std::string host, unsigned short port, Hooks& hooks,
                   const LinkTimings& timings);
    ~LinkConnection();
    LinkConnection(const LinkConnection&) = delete;
    LinkConnection& operator=(const LinkConnection&) = delete;

    void start();
    // Closes the connection for good.
    void stop();
    // Sends `bytes` in order after what waits; nothing while not connected.
    void send(std::string bytes);
    // Ends the connection with `why` and tries again later.
    void drop(const std::string& why);
    bool isConnected() const { return connected_; }

private:
    void connect();
    void retryLater();
    void read();
    void write();

    boost::asio::io_context& io_;
    std::string host_;
    unsigned short port_;
    Hooks& hooks_;
    LinkTimings timings_;
    boost::asio::ip::tcp::socket socket_;
    boost::asio::steady_timer timer_;
    std::chrono::milliseconds retry_;
    std::deque<std::string> queue_;
    char buffer_[16384];
    bool connected_ = false;
    bool stopped_ = false;
    unsigned generation_ = 0; // handlers of an ended connection see another and do nothing
};
