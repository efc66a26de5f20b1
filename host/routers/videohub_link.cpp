#include "videohub_link.h"

#include "utf8.h"

namespace {

// What a line of text looks like in a report: quoted, its first 64 bytes.
std::string shown(const std::string& text) {
    return "\"" + text.substr(0, 64) + (text.size() > 64 ? "...\"" : "\"");
}

} // namespace

VideohubLink::VideohubLink(boost::asio::io_context& io, int device, const RouterLinkSpec& spec,
                           RouterLinkEvents& events, const LinkTimings& timings)
    : RouterLink(io, device, spec, events, timings), answerTimer_(io), idleTimer_(io) {}

std::string VideohubLink::take(int destination, int source) {
    if (!isUp()) {
        return "the link to " + spec_.describe() + " is " + status().text();
    }
    if ((outputs_ >= 0 && destination > outputs_) || (inputs_ >= 0 && source > inputs_)) {
        return "the router has " + std::to_string(outputs_) + " outputs and " +
               std::to_string(inputs_) + " inputs";
    }
    request(videohub::routes({{destination - 1, source - 1}}),
            "the take of destination " + std::to_string(destination) + " <- source " +
                std::to_string(source));
    return "";
}

void VideohubLink::connected() {
    reader_.reset();
    haveDevice_ = haveLabels_ = haveRouting_ = present_ = false;
    names_.clear(); // the dump tells them all again
    routes_.clear();
    requests_.clear();
    waiting_ = false;
    awaitState("device, input labels and routing");
    restartIdle();
}

void VideohubLink::lost(const std::string& why) {
    answerTimer_.cancel();
    idleTimer_.cancel();
    requests_.clear();
    waiting_ = false;
    reader_.reset(); // a block cut off by the end of the connection is dropped
    wentAway(why);
}

void VideohubLink::received(const char* bytes, std::size_t size) {
    restartIdle();
    for (videohub::BlockReader::Item& item : reader_.feed(std::string_view(bytes, size))) {
        if (!item.isBlock) {
            problem("a malformed block: " + item.error + ", starting " + shown(item.seen));
            continue;
        }
        const videohub::Message message = videohub::interpret(item.block);
        for (const std::string& line : message.badLines) {
            problem("a line of \"" + message.header + "\" that is not understood: " + shown(line));
        }
        handle(message);
        if (!connection_.isConnected()) {
            return; // dropped on the way; what follows is of the old connection
        }
    }
}

void VideohubLink::handle(const videohub::Message& message) {
    using Kind = videohub::Message::Kind;
    switch (message.kind) {
    case Kind::Ack:
    case Kind::Nak:
        answered(message.kind == Kind::Ack);
        return;
    case Kind::Preamble:
        if (message.version.rfind("2.", 0) != 0) {
            problem("protocol version " + shown(message.version) +
                    ", where 2.x is known; read as 2.x");
        }
        return;
    case Kind::Device:
        readDevice(message);
        return;
    case Kind::InputLabels: {
        const std::map<int, std::string> names = readLabels(message);
        haveLabels_ = true;
        maybeUp();
        reportNames(names);
        return;
    }
    case Kind::Routing: {
        const std::map<int, int> routes = readRoutes(message);
        haveRouting_ = true;
        maybeUp();
        reportRoutes(routes);
        return;
    }
    case Kind::Ping:
        connection_.send(videohub::ack());
        return;
    case Kind::OutputLabels:
    case Kind::Locks:
    case Kind::Other:
        return; // not what a studio router holds
    }
}

void VideohubLink::readDevice(const videohub::Message& message) {
    haveDevice_ = true;
    present_ = message.present;
    if (!present_) {
        // Nothing more comes until the router has its device again.
        haveLabels_ = haveRouting_ = false;
        wentAway("the router reports no device it can serve (\"Device present\" not true)");
        return;
    }
    if (message.model.empty() == false) {
        model_ = message.model;
    }
    inputs_ = message.inputs;
    outputs_ = message.outputs;
    maybeUp();
}

std::map<int, std::string> VideohubLink::readLabels(const videohub::Message& message) {
    std::map<int, std::string> names;
    for (const auto& [input, label] : message.labels) {
        if (inputs_ >= 0 && input >= inputs_) {
            problem("a label of input " + std::to_string(input) + ", beyond the router's " +
                    std::to_string(inputs_) + " inputs: passed over");
            continue;
        }
        std::string name = label;
        if (!isUtf8(name)) {
            problem("the label of input " + std::to_string(input) +
                    " is not UTF-8; its bad bytes are shown as U+FFFD");
            name = repairedUtf8(name);
        }
        names[input + 1] = name;
        names_[input + 1] = name;
    }
    return names;
}

std::map<int, int> VideohubLink::readRoutes(const videohub::Message& message) {
    std::map<int, int> routes;
    for (const auto& [output, input] : message.routes) {
        if ((outputs_ >= 0 && output >= outputs_) || (inputs_ >= 0 && input >= inputs_)) {
            problem("a route of output " + std::to_string(output) + " to input " +
                    std::to_string(input) + ", beyond the router's " + std::to_string(outputs_) +
                    " outputs and " + std::to_string(inputs_) + " inputs: passed over");
            continue;
        }
        routes[output + 1] = input + 1;
        routes_[output + 1] = input + 1;
    }
    return routes;
}

void VideohubLink::maybeUp() {
    if (isUp() || !haveDevice_ || !present_ || !haveLabels_ || !haveRouting_) {
        return;
    }
    cameUp((model_.empty() ? std::string("a router") : model_) + ", " + std::to_string(inputs_) +
               " inputs, " + std::to_string(outputs_) + " outputs",
           names_, routes_);
}

void VideohubLink::answered(bool ack) {
    if (!waiting_) {
        problem(std::string("an ") + (ack ? "ACK" : "NAK") + " when no request was out");
        return;
    }
    answerTimer_.cancel();
    if (!ack) {
        problem("the router refused " + requests_.front().second + " (NAK)");
    }
    requests_.pop_front();
    waiting_ = false;
    sendNext();
}

void VideohubLink::request(std::string text, std::string what) {
    requests_.emplace_back(std::move(text), std::move(what));
    sendNext();
}

void VideohubLink::sendNext() {
    if (waiting_ || requests_.empty() || !connection_.isConnected()) {
        return;
    }
    waiting_ = true;
    connection_.send(requests_.front().first);
    answerTimer_.expires_after(timings_.answer);
    answerTimer_.async_wait([this](boost::system::error_code cancelled) {
        if (!cancelled && waiting_) {
            drop("no ACK within " + std::to_string(timings_.answer.count()) + " ms for " +
                 requests_.front().second);
        }
    });
}

void VideohubLink::restartIdle() {
    idleTimer_.expires_after(timings_.keepAlive);
    idleTimer_.async_wait([this](boost::system::error_code cancelled) {
        if (cancelled || !connection_.isConnected()) {
            return;
        }
        if (requests_.empty()) {
            request(videohub::ping(), "a ping");
        }
        restartIdle();
    });
}
