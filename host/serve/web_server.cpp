#include "web_server.h"

#include "json.h"
#include "protocol.h"

#include <boost/asio/dispatch.hpp>
#include <boost/asio/strand.hpp>
#include <boost/beast/core.hpp>
#include <boost/beast/http.hpp>
#include <boost/beast/websocket.hpp>

#include <chrono>
#include <deque>

namespace beast = boost::beast;
namespace http = beast::http;
namespace websocket = beast::websocket;
namespace net = boost::asio;
using tcp = net::ip::tcp;

namespace {

// A socket message larger than this drops the client; one larger than maxClientMessage
// is answered with an error.
constexpr std::size_t maxFrame = 1 << 20;
// What may wait to be sent to one page before it counts as stalled.
constexpr std::size_t maxQueuedBytes = 32u << 20;
// The messages a page may send: a burst, then so many a second.
constexpr double burstMessages = 20000;
constexpr double messagesPerSecond = 2000;
// An HTTP request's head and body.
constexpr std::size_t maxRequest = 16 * 1024;

// The path of a request target, without its query.
std::string pathOf(beast::string_view target) {
    const std::string text(target);
    return text.substr(0, text.find('?'));
}

} // namespace

// One WebSocket connection of a page.
class WebSession : public std::enable_shared_from_this<WebSession> {
public:
    WebSession(tcp::socket&& socket, WebServer& server)
        : socket_(std::move(socket)), server_(server),
          lastRefill_(std::chrono::steady_clock::now()) {}

    void start(http::request<http::string_body> request) {
        socket_.set_option(websocket::stream_base::timeout::suggested(beast::role_type::server));
        socket_.read_message_max(maxFrame);
        socket_.text(true);
        socket_.async_accept(request, [self = shared_from_this()](beast::error_code error) {
            if (!error) {
                self->accepted();
            }
        });
    }

    void send(const std::shared_ptr<const std::string>& message) {
        if (closed_) {
            return;
        }
        queuedBytes_ += message->size();
        if (queuedBytes_ > maxQueuedBytes) {
            drop(); // a page that does not read holds nobody else up
            return;
        }
        queue_.push_back(message);
        if (queue_.size() == 1) {
            write();
        }
    }

    void close() {
        if (closed_) {
            return;
        }
        closed_ = true;
        socket_.async_close(websocket::close_code::going_away,
                            [self = shared_from_this()](beast::error_code) {});
    }

private:
    void accepted() {
        // The state first; the page hears every change after it.
        server_.studio().state([self = shared_from_this()](std::string state) {
            if (self->closed_) {
                return;
            }
            self->send(std::make_shared<const std::string>(std::move(state)));
            self->server_.join(self);
            self->read();
        });
    }

    void read() {
        socket_.async_read(buffer_,
                           [self = shared_from_this()](beast::error_code error, std::size_t) {
                               if (error) {
                                   self->ended();
                                   return;
                               }
                               self->received();
                           });
    }

    void received() {
        if (!mayReceive()) {
            drop();
            return;
        }
        std::string text = beast::buffers_to_string(buffer_.data());
        buffer_.consume(buffer_.size());
        if (text.size() > maxClientMessage) {
            reply(jsonLine(errorMessage(
                "a message of more than " + std::to_string(maxClientMessage) + " bytes", text)));
        } else {
            server_.studio().message(std::move(text),
                                     [self = shared_from_this()](std::string answer) {
                                         if (!answer.empty()) {
                                             self->reply(std::move(answer));
                                         }
                                     });
        }
        read();
    }

    void reply(std::string text) { send(std::make_shared<const std::string>(std::move(text))); }

    // A token bucket: a burst, then a steady rate.
    bool mayReceive() {
        const auto now = std::chrono::steady_clock::now();
        const double seconds = std::chrono::duration<double>(now - lastRefill_).count();
        lastRefill_ = now;
        tokens_ = std::min(burstMessages, tokens_ + seconds * messagesPerSecond);
        if (tokens_ < 1) {
            return false;
        }
        tokens_ -= 1;
        return true;
    }

    void write() {
        socket_.async_write(net::buffer(*queue_.front()),
                            [self = shared_from_this()](beast::error_code error, std::size_t) {
                                if (error) {
                                    self->ended();
                                    return;
                                }
                                self->queuedBytes_ -= self->queue_.front()->size();
                                self->queue_.pop_front();
                                if (!self->queue_.empty()) {
                                    self->write();
                                }
                            });
    }

    void drop() {
        closed_ = true;
        beast::error_code ignored;
        beast::get_lowest_layer(socket_).socket().close(ignored);
        ended();
    }

    void ended() {
        closed_ = true;
        server_.leave(this);
    }

    websocket::stream<beast::tcp_stream> socket_;
    WebServer& server_;
    beast::flat_buffer buffer_;
    std::deque<std::shared_ptr<const std::string>> queue_;
    std::size_t queuedBytes_ = 0;
    double tokens_ = burstMessages;
    std::chrono::steady_clock::time_point lastRefill_;
    bool closed_ = false;
};

namespace {

// One HTTP connection: the page, the scenario, or the way into a WebSocket.
class HttpSession : public std::enable_shared_from_this<HttpSession> {
public:
    HttpSession(tcp::socket&& socket, WebServer& server)
        : stream_(std::move(socket)), server_(server) {}

    void start() { read(); }

private:
    void read() {
        parser_.emplace();
        parser_->header_limit(maxRequest);
        parser_->body_limit(maxRequest);
        stream_.expires_after(std::chrono::seconds(30));
        http::async_read(stream_, buffer_, *parser_,
                         [self = shared_from_this()](beast::error_code error, std::size_t) {
                             if (!error) {
                                 self->handle(self->parser_->release());
                             }
                         });
    }

    void handle(http::request<http::string_body> request) {
        const std::string path = pathOf(request.target());
        if (!server_.allowed(std::string(request.target()))) {
            respond(request, http::status::forbidden, "text/plain", "a token is needed\n");
            return;
        }
        if (websocket::is_upgrade(request)) {
            if (path != "/ws") {
                respond(request, http::status::not_found, "text/plain", "no such socket\n");
                return;
            }
            stream_.expires_never();
            std::make_shared<WebSession>(stream_.release_socket(), server_)
                ->start(std::move(request));
            return;
        }
        if (request.method() != http::verb::get && request.method() != http::verb::head) {
            respond(request, http::status::method_not_allowed, "text/plain", "GET only\n");
            return;
        }
        if (path == "/" || path == "/index.html") {
            respond(request, http::status::ok, "text/html; charset=utf-8", server_.page());
        } else if (path == "/scenario") {
            server_.studio().scenario(
                [self = shared_from_this(), request](std::string scenario) mutable {
                    self->respond(request, http::status::ok, "text/plain; charset=utf-8",
                                  std::move(scenario), "attachment; filename=\"panel.scenario\"");
                });
        } else {
            respond(request, http::status::not_found, "text/plain", "not found\n");
        }
    }

    void respond(const http::request<http::string_body>& request, http::status status,
                 const char* type, std::string body, const char* disposition = nullptr) {
        auto response =
            std::make_shared<http::response<http::string_body>>(status, request.version());
        response->set(http::field::server, "zarn-host");
        response->set(http::field::content_type, type);
        response->set(http::field::cache_control, "no-store");
        if (disposition != nullptr) {
            response->set(http::field::content_disposition, disposition);
        }
        response->keep_alive(request.keep_alive());
        response->body() = request.method() == http::verb::head ? std::string() : std::move(body);
        response->prepare_payload();
        http::async_write(
            stream_, *response,
            [self = shared_from_this(), response](beast::error_code error, std::size_t) {
                if (!error && response->keep_alive()) {
                    self->read();
                }
            });
    }

    beast::tcp_stream stream_;
    WebServer& server_;
    beast::flat_buffer buffer_;
    std::optional<http::request_parser<http::string_body>> parser_;
};

} // namespace

WebServer::WebServer(net::io_context& io, const tcp::endpoint& endpoint, std::string token,
                     const std::string& page, StudioAccess& studio)
    : io_(io), acceptor_(io), token_(std::move(token)), page_(page), studio_(studio) {
    acceptor_.open(endpoint.protocol());
    acceptor_.set_option(net::socket_base::reuse_address(true));
    acceptor_.bind(endpoint);
    acceptor_.listen(net::socket_base::max_listen_connections);
    accept();
}

WebServer::~WebServer() = default;

unsigned short WebServer::port() const {
    return acceptor_.local_endpoint().port();
}

void WebServer::accept() {
    acceptor_.async_accept(net::make_strand(io_),
                           [this](beast::error_code error, tcp::socket socket) {
                               if (stopped_) {
                                   return;
                               }
                               if (!error) {
                                   std::make_shared<HttpSession>(std::move(socket), *this)->start();
                               }
                               accept();
                           });
}

bool WebServer::allowed(const std::string& target) const {
    if (token_.empty()) {
        return true;
    }
    const std::size_t query = target.find('?');
    if (query == std::string::npos) {
        return false;
    }
    // token=<token> among the query's parameters.
    const std::string parameters = "&" + target.substr(query + 1) + "&";
    return parameters.find("&token=" + token_ + "&") != std::string::npos;
}

void WebServer::join(const std::shared_ptr<WebSession>& session) {
    if (!stopped_) {
        sessions_.insert(session);
    } else {
        session->close();
    }
}

void WebServer::leave(WebSession* session) {
    for (auto it = sessions_.begin(); it != sessions_.end(); ++it) {
        if (it->get() == session) {
            sessions_.erase(it);
            return;
        }
    }
}

void WebServer::broadcast(const std::string& message) {
    const auto shared = std::make_shared<const std::string>(message);
    // A session may leave while it is sent to: a copy of the set is walked.
    const std::set<std::shared_ptr<WebSession>> sessions = sessions_;
    for (const auto& session : sessions) {
        session->send(shared);
    }
}

void WebServer::stop() {
    stopped_ = true;
    beast::error_code ignored;
    acceptor_.close(ignored);
    const std::set<std::shared_ptr<WebSession>> sessions = sessions_;
    for (const auto& session : sessions) {
        session->close();
    }
    sessions_.clear();
}
