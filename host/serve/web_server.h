// The browser panel's server: the page over HTTP and the live studio over a WebSocket, on
// Boost.Beast. Everything here runs on the thread that runs its io_context; what it needs
// of the studio it asks through StudioAccess, whose answers come back on that thread.
//
//   GET /            the page (with ?token=... when a token is needed)
//   GET /scenario    the session in the browser as a scenario file, to download
//   GET /ws          the WebSocket: the studio's state first, then its changes
//   anything else    404
//
// Limits: a socket message of over 64 KiB is answered with an error and changes nothing;
// one of over 1 MiB, a client that sends more than it may (a burst of 20000 messages, then
// 2000 a second) or that reads too slowly (32 MiB waiting to be sent) is dropped, and the
// others go on as before.
#pragma once

#include <boost/asio/io_context.hpp>
#include <boost/asio/ip/tcp.hpp>

#include <functional>
#include <memory>
#include <set>
#include <string>

// What the server asks of the studio. Each call returns at once; `answer` is called on
// the server's thread later.
class StudioAccess {
public:
    virtual ~StudioAccess() = default;
    // The studio's whole state, as a JSON text.
    virtual void state(std::function<void(std::string)> answer) = 0;
    // A socket message of a page, as it came: the answer is a JSON text for that page
    // alone (an error, a pong), or "" for nothing.
    virtual void message(std::string text, std::function<void(std::string)> answer) = 0;
    // The session as a scenario file.
    virtual void scenario(std::function<void(std::string)> answer) = 0;
};

class WebSession;

class WebServer {
public:
    // Listens on `endpoint` (port 0: one the system picks); a non-empty `token` must be in
    // every request's query (?token=...).
    WebServer(boost::asio::io_context& io, const boost::asio::ip::tcp::endpoint& endpoint,
              std::string token, const std::string& page, StudioAccess& studio);
    ~WebServer();

    unsigned short port() const;
    // Sends `message` (a JSON text) to every page connected and up to date.
    void broadcast(const std::string& message);
    // Stops accepting and closes every connection.
    void stop();

    // For the sessions.
    StudioAccess& studio() { return studio_; }
    const std::string& page() const { return page_; }
    bool allowed(const std::string& target) const;
    void join(const std::shared_ptr<WebSession>& session);
    void leave(WebSession* session);
    int connected() const { return static_cast<int>(sessions_.size()); }

private:
    void accept();

    boost::asio::io_context& io_;
    boost::asio::ip::tcp::acceptor acceptor_;
    std::string token_;
    const std::string page_;
    StudioAccess& studio_;
    std::set<std::shared_ptr<WebSession>> sessions_;
    bool stopped_ = false;
};
