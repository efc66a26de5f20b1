#include "link_connection.h"

#include <boost/asio/connect.hpp>
#include <boost/asio/read.hpp>
#include <boost/asio/write.hpp>

namespace net = boost::asio;
using tcp = net::ip::tcp;

LinkConnection::LinkConnection(net::io_context& io, std::string host, unsigned short port,
                               Hooks& hooks, const LinkTimings& timings)
    : io_(io), host_(std::move(host)), port_(port), hooks_(hooks), timings_(timings), socket_(io),
      timer_(io), retry_(timings.firstRetry) {}

LinkConnection::~LinkConnection() {
    stop();
}

void LinkConnection::start() {
    stopped_ = false;
    connect();
}

void LinkConnection::stop() {
    stopped_ = true;
    ++generation_;
    boost::system::error_code ignored;
    timer_.cancel();
    socket_.close(ignored);
    connected_ = false;
    queue_.clear();
}

void LinkConnection::connect() {
    const unsigned generation = ++generation_;
    boost::system::error_code error;
    tcp::endpoint endpoint(net::ip::make_address(host_, error), port_);
    if (error) {
        // A name: looked up here, where a scenario waits for it anyway.
        tcp::resolver resolver(io_);
        const auto found = resolver.resolve(host_, std::to_string(port_), error);
        if (error || found.empty()) {
            hooks_.lost("cannot find " + host_ + ": " + error.message());
            retryLater();
            return;
        }
        endpoint = *found.begin();
    }
    socket_ = tcp::socket(io_);
    socket_.async_connect(endpoint, [this, generation](boost::system::error_code failed) {
        // Aborted: closed, perhaps with this connection gone; nothing of it is touched.
        if (failed == net::error::operation_aborted || generation != generation_) {
            return;
        }
        timer_.cancel();
        if (failed) {
            hooks_.lost(failed.message());
            retryLater();
            return;
        }
        connected_ = true;
        retry_ = timings_.firstRetry;
        // Small messages that wait for an answer go at once, not after a delayed ACK.
        boost::system::error_code ignored;
        socket_.set_option(tcp::no_delay(true), ignored);
        hooks_.connected();
        if (generation == generation_) { // not dropped inside connected()
            read();
        }
    });
    // A connection that is neither made nor refused in time is given up.
    timer_.expires_after(timings_.connect);
    timer_.async_wait([this, generation](boost::system::error_code cancelled) {
        if (cancelled || generation != generation_ || connected_) {
            return;
        }
        ++generation_;
        boost::system::error_code ignored;
        socket_.close(ignored);
        hooks_.lost("no connection within " + std::to_string(timings_.connect.count()) + " ms");
        retryLater();
    });
}

void LinkConnection::retryLater() {
    if (stopped_) {
        return;
    }
    const unsigned generation = ++generation_;
    timer_.expires_after(retry_);
    retry_ = std::min(retry_ * 2, timings_.lastRetry);
    timer_.async_wait([this, generation](boost::system::error_code cancelled) {
        if (!cancelled && generation == generation_ && !stopped_) {
            connect();
        }
    });
}

void LinkConnection::read() {
    const unsigned generation = generation_;
    socket_.async_read_some(
        net::buffer(buffer_), [this, generation](boost::system::error_code error, std::size_t n) {
            if (error == net::error::operation_aborted || generation != generation_) {
                return;
            }
            if (error) {
                drop(error == net::error::eof ? "the router closed the connection"
                                              : error.message());
                return;
            }
            hooks_.received(buffer_, n);
            if (generation == generation_) {
                read();
            }
        });
}

void LinkConnection::send(std::string bytes) {
    if (!connected_) {
        return;
    }
    queue_.push_back(std::move(bytes));
    if (queue_.size() == 1) {
        write();
    }
}

void LinkConnection::write() {
    const unsigned generation = generation_;
    net::async_write(socket_, net::buffer(queue_.front()),
                     [this, generation](boost::system::error_code error, std::size_t) {
                         if (error == net::error::operation_aborted || generation != generation_) {
                             return;
                         }
                         if (error) {
                             drop(error.message());
                             return;
                         }
                         queue_.pop_front();
                         if (!queue_.empty()) {
                             write();
                         }
                     });
}

void LinkConnection::drop(const std::string& why) {
    if (!connected_ && stopped_) {
        return;
    }
    ++generation_;
    boost::system::error_code ignored;
    socket_.close(ignored);
    connected_ = false;
    queue_.clear();
    hooks_.lost(why);
    retryLater();
}
