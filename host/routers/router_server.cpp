#include "router_server.h"

#include <boost/asio/write.hpp>

namespace net = boost::asio;
using tcp = net::ip::tcp;

RouterServer::RouterServer(net::io_context& io, Studio& studio, int device, const tcp::endpoint& at)
    : io_(io), studio_(studio), device_(device), acceptor_(io) {
    acceptor_.open(at.protocol());
    // A router that is started again gets its port back at once.
    acceptor_.set_option(tcp::acceptor::reuse_address(true));
    acceptor_.bind(at);
    acceptor_.listen();
    studio_.observe(this);
    accept();
}

RouterServer::~RouterServer() {
    stop();
}

unsigned short RouterServer::port() const {
    boost::system::error_code ignored;
    return acceptor_.local_endpoint(ignored).port();
}

void RouterServer::stop() {
    if (stopped_) {
        return;
    }
    stopped_ = true;
    studio_.forget(this);
    boost::system::error_code ignored;
    acceptor_.close(ignored);
    for (const SessionPtr& session : sessions_) {
        session->open = false;
        session->socket.close(ignored);
    }
    sessions_.clear();
}

void RouterServer::routed(int device, int destination, int source) {
    if (device == device_ && !sessions_.empty()) {
        routeChanged(destination, source);
    }
}

void RouterServer::sourceNamed(int device, int source, const std::string& name) {
    if (device == device_ && !sessions_.empty()) {
        nameChanged(source, name);
    }
}

void RouterServer::accept() {
    acceptor_.async_accept([this](boost::system::error_code error, tcp::socket socket) {
        if (error == net::error::operation_aborted || stopped_) {
            return;
        }
        if (!error) {
            if (sessions_.size() >= maxClients) {
                boost::system::error_code ignored;
                socket.close(ignored); // the protocols have no way to say "busy"
            } else {
                socket.set_option(tcp::no_delay(true), error);
                SessionPtr session = makeSession(std::move(socket));
                sessions_.push_back(session);
                opened(session);
                read(session);
            }
        }
        accept();
    });
}

void RouterServer::read(const SessionPtr& session) {
    if (!session->open) {
        return;
    }
    session->socket.async_read_some(
        net::buffer(session->buffer),
        [this, session](boost::system::error_code error, std::size_t size) {
            if (error == net::error::operation_aborted || !session->open) {
                return;
            }
            if (error) {
                close(session);
                return;
            }
            received(session, session->buffer, size);
            read(session);
        });
}

void RouterServer::send(const SessionPtr& session, std::string bytes) {
    if (!session->open || bytes.empty()) {
        return;
    }
    session->backlog += bytes.size();
    if (session->backlog > maxBacklog) {
        close(session); // it reads nothing: let it go rather than hold its backlog
        return;
    }
    session->queue.push_back(std::move(bytes));
    if (session->queue.size() == 1) {
        write(session);
    }
}

void RouterServer::sendAll(const std::string& bytes) {
    // A copy of the list: a send may close a session.
    const std::list<SessionPtr> all = sessions_;
    for (const SessionPtr& session : all) {
        send(session, bytes);
    }
}

void RouterServer::write(const SessionPtr& session) {
    net::async_write(session->socket, net::buffer(session->queue.front()),
                     [this, session](boost::system::error_code error, std::size_t size) {
                         if (error == net::error::operation_aborted || !session->open) {
                             return;
                         }
                         if (error) {
                             close(session);
                             return;
                         }
                         session->backlog -= size;
                         session->queue.pop_front();
                         if (!session->queue.empty()) {
                             write(session);
                         }
                     });
}

void RouterServer::close(const SessionPtr& session) {
    if (!session->open) {
        return;
    }
    session->open = false;
    boost::system::error_code ignored;
    session->socket.close(ignored);
    sessions_.remove(session);
}
