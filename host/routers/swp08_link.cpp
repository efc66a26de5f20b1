#include "swp08_link.h"

#include "utf8.h"

namespace {

swp08::Message addressed(swp08::Command command, const RouterLinkSpec& spec) {
    swp08::Message message;
    message.command = command;
    message.matrix = spec.matrix - 1;
    message.level = spec.level - 1;
    return message;
}

std::string hexOf(const swp08::Bytes& bytes) {
    return hexBytes(bytes.data(), bytes.size());
}

} // namespace

Swp08Link::Swp08Link(boost::asio::io_context& io, int device, const RouterLinkSpec& spec,
                     RouterLinkEvents& events, const LinkTimings& timings)
    : RouterLink(io, device, spec, events, timings), resendTimer_(io), quietTimer_(io),
      idleTimer_(io) {}

std::string Swp08Link::take(int destination, int source) {
    if (!isUp()) {
        return "the link to " + spec_.describe() + " is " + status().text();
    }
    if (destination > 65536 || source > 65536) {
        return "SW-P-08 numbers go up to 65536";
    }
    swp08::Message connect = addressed(swp08::Command::Connect, spec_);
    connect.destination = destination - 1;
    connect.source = source - 1;
    send(connect, "the take of destination " + std::to_string(destination) + " <- source " +
                      std::to_string(source));
    return "";
}

void Swp08Link::connected() {
    reader_.reset();
    names_.clear();
    routes_.clear();
    outbox_.clear();
    waiting_ = asked_ = false;
    awaitState("tally dump and source names");
    send(addressed(swp08::Command::TallyDumpRequest, spec_), "the tally dump request");
    swp08::Message names = addressed(swp08::Command::SourceNamesRequest, spec_);
    names.nameLength = 16;
    send(names, "the source names request");
    restartIdle();
}

void Swp08Link::lost(const std::string& why) {
    resendTimer_.cancel();
    quietTimer_.cancel();
    idleTimer_.cancel();
    outbox_.clear();
    waiting_ = false;
    reader_.reset(); // a frame cut off by the end of the connection is dropped
    wentAway(why);
}

void Swp08Link::received(const char* bytes, std::size_t size) {
    restartIdle();
    const auto items = reader_.feed(reinterpret_cast<const std::uint8_t*>(bytes), size);
    for (const swp08::FrameReader::Item& item : items) {
        using Kind = swp08::FrameReader::Item::Kind;
        if (item.kind == Kind::Ack || item.kind == Kind::Nak) {
            answered(item.kind == Kind::Ack);
        } else if (item.kind == Kind::Error) {
            const swp08::Bytes nak = swp08::nak();
            connection_.send(std::string(nak.begin(), nak.end()));
            problem("a malformed frame (" + item.error +
                    "), answered with NAK: " + hexOf(item.seen));
        } else {
            // ACK first, within the few milliseconds the router waits; then the meaning.
            const swp08::Bytes ack = swp08::ack();
            connection_.send(std::string(ack.begin(), ack.end()));
            if (item.data.empty()) {
                continue; // an empty frame: a keep-alive
            }
            std::string error;
            const std::optional<swp08::Message> message = swp08::decode(item.data, error);
            if (!message) {
                problem(error + ", passed over: " + hexOf(item.data));
            } else {
                handle(*message);
            }
        }
        if (!connection_.isConnected()) {
            return; // dropped on the way; what follows is of the old connection
        }
    }
}

bool Swp08Link::ours(const swp08::Message& message) const {
    return message.matrix == spec_.matrix - 1 && message.level == spec_.level - 1;
}

void Swp08Link::handle(const swp08::Message& message) {
    using swp08::Command;
    std::map<int, int> routes;
    switch (message.command) {
    case Command::Tally:
    case Command::Connected:
    case Command::ExtTally:
    case Command::ExtConnected:
        if (ours(message)) {
            routed(message.destination, message.source, routes);
        }
        break;
    case Command::TallyDumpByte:
    case Command::TallyDumpWord:
    case Command::ExtTallyDump:
        if (ours(message)) {
            for (std::size_t i = 0; i < message.sources.size(); ++i) {
                routed(message.destination + static_cast<int>(i), message.sources[i], routes);
            }
            stateArrived();
        }
        break;
    case Command::SourceNames:
    case Command::ExtSourceNames: {
        // Names belong to the matrix; some routers give them with any level.
        if (message.matrix != spec_.matrix - 1) {
            break;
        }
        std::map<int, std::string> names;
        for (std::size_t i = 0; i < message.names.size(); ++i) {
            const int source = message.firstSource + static_cast<int>(i) + 1;
            std::string name = swp08::trimmed(message.names[i]);
            if (!isUtf8(name)) {
                problem("the name of source " + std::to_string(source) +
                        " is not UTF-8; its bad bytes are shown as U+FFFD");
                name = repairedUtf8(name);
            }
            names[source] = names_[source] = name;
        }
        reportNames(names);
        stateArrived();
        break;
    }
    default:
        break; // requests are a router's to answer, not ours
    }
    reportRoutes(routes);
}

void Swp08Link::routed(int destination, int source, std::map<int, int>& routes) {
    routes[destination + 1] = routes_[destination + 1] = source + 1;
}

void Swp08Link::stateArrived() {
    if (isUp() || !asked_) {
        return;
    }
    // More may come: up once the router has been quiet for a moment.
    quietTimer_.expires_after(timings_.quiet);
    quietTimer_.async_wait([this](boost::system::error_code cancelled) {
        if (!cancelled && !isUp() && connection_.isConnected()) {
            cameUp(std::to_string(routes_.size()) + " routes and " + std::to_string(names_.size()) +
                       " source names read",
                   names_, routes_);
        }
    });
}

void Swp08Link::answered(bool ack) {
    if (!waiting_) {
        problem(std::string(ack ? "an ACK" : "a NAK") + " when no frame was out");
        return;
    }
    resendTimer_.cancel();
    waiting_ = false;
    if (!ack) {
        problem("the router answered " + outbox_.front().what + " with NAK");
        sendNext(); // the same frame again
        return;
    }
    outbox_.pop_front();
    if (!asked_ && outbox_.empty()) {
        asked_ = true;
        stateArrived(); // even a router that sends no dump is up after a quiet moment
    }
    sendNext();
}

void Swp08Link::send(const swp08::Message& message, std::string what) {
    outbox_.push_back({swp08::frame(swp08::encode(message)), std::move(what), 0});
    sendNext();
}

void Swp08Link::sendNext() {
    if (waiting_ || outbox_.empty() || !connection_.isConnected()) {
        return;
    }
    Outgoing& next = outbox_.front();
    if (next.tries == timings_.tries) {
        drop("no ACK after " + std::to_string(next.tries) + " sendings of " + next.what);
        return;
    }
    ++next.tries;
    waiting_ = true;
    connection_.send(std::string(next.frame.begin(), next.frame.end()));
    resendTimer_.expires_after(timings_.resend);
    resendTimer_.async_wait([this](boost::system::error_code cancelled) {
        if (!cancelled && waiting_) {
            waiting_ = false;
            sendNext();
        }
    });
}

void Swp08Link::restartIdle() {
    idleTimer_.expires_after(timings_.keepAlive);
    idleTimer_.async_wait([this](boost::system::error_code cancelled) {
        if (cancelled || !connection_.isConnected()) {
            return;
        }
        if (outbox_.empty()) {
            swp08::Message interrogate = addressed(swp08::Command::Interrogate, spec_);
            send(interrogate, "a keep-alive interrogate");
        }
        restartIdle();
    });
}
