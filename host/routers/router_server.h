// The router side: one router of the studio served over TCP to control software, which
// switches it and hears of its changes as it would from a router. This is the part every
// protocol shares: the listening socket, the connections (16 at the most, each with a
// bounded backlog of what waits to be written), and the studio's changes of the router,
// which the protocol turns into its own messages (videohub_server.h, swp08_server.h).
//
// Everything runs on the thread that runs the io_context and the studio; the studio's
// routes change only through Studio::route, so that its instances hear of a take from
// the router side as they would of any other.
#pragma once

#include "studio.h"

#include <boost/asio/io_context.hpp>
#include <boost/asio/ip/tcp.hpp>

#include <deque>
#include <list>
#include <memory>
#include <string>

class RouterServer : public StudioObserver {
public:
    static constexpr std::size_t maxClients = 16;
    // A client that lets this much wait unread is closed.
    static constexpr std::size_t maxBacklog = 8u << 20;

    // Listens at `at` for the studio's router `device`; throws boost::system::system_error
    // when it cannot.
    RouterServer(boost::asio::io_context& io, Studio& studio, int device,
                 const boost::asio::ip::tcp::endpoint& at);
    ~RouterServer() override;
    RouterServer(const RouterServer&) = delete;
    RouterServer& operator=(const RouterServer&) = delete;

    unsigned short port() const;
    int device() const { return device_; }
    // Closes the socket and every connection.
    void stop();

    // The studio's changes; those of this router go to every client.
    void routed(int device, int destination, int source) override;
    void sourceNamed(int device, int source, const std::string& name) override;

protected:
    struct Session {
        explicit Session(boost::asio::ip::tcp::socket s) : socket(std::move(s)) {}
        virtual ~Session() = default;
        boost::asio::ip::tcp::socket socket;
        std::deque<std::string> queue;
        std::size_t backlog = 0;
        char buffer[16384];
        bool open = true;
    };
    using SessionPtr = std::shared_ptr<Session>;

    // What a protocol does: a session for a new client, what it sends first, what it
    // makes of what the client sends, and of the router's changes.
    virtual SessionPtr makeSession(boost::asio::ip::tcp::socket socket) = 0;
    virtual void opened(const SessionPtr& session) = 0;
    virtual void received(const SessionPtr& session, const char* bytes, std::size_t size) = 0;
    virtual void routeChanged(int destination, int source) = 0;
    virtual void nameChanged(int source, const std::string& name) = 0;

    void send(const SessionPtr& session, std::string bytes);
    void sendAll(const std::string& bytes);
    void close(const SessionPtr& session);
    const std::list<SessionPtr>& sessions() const { return sessions_; }

    boost::asio::io_context& io_;
    Studio& studio_;
    int device_;

private:
    void accept();
    void read(const SessionPtr& session);
    void write(const SessionPtr& session);

    boost::asio::ip::tcp::acceptor acceptor_;
    std::list<SessionPtr> sessions_;
    bool stopped_ = false;
};
