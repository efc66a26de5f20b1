#include "videohub_server.h"

#include <algorithm>

VideohubServer::VideohubServer(boost::asio::io_context& io, Studio& studio, int device,
                               const boost::asio::ip::tcp::endpoint& at)
    : RouterServer(io, studio, device, at) {
    grow();
}

RouterServer::SessionPtr VideohubServer::makeSession(boost::asio::ip::tcp::socket socket) {
    return std::make_shared<Client>(std::move(socket));
}

void VideohubServer::opened(const SessionPtr& session) {
    send(session, dump());
}

void VideohubServer::received(const SessionPtr& session, const char* bytes, std::size_t size) {
    Client& client = static_cast<Client&>(*session);
    for (const videohub::BlockReader::Item& item : client.reader.feed({bytes, size})) {
        if (!item.isBlock) {
            send(session, videohub::nak());
        } else {
            answer(session, item.block);
        }
        if (!session->open) {
            return;
        }
    }
}

void VideohubServer::answer(const SessionPtr& session, const videohub::Block& block) {
    const videohub::Message message = videohub::interpret(block);
    using Kind = videohub::Message::Kind;
    const bool asking = block.lines.empty();
    bool understood = message.badLines.empty();
    switch (message.kind) {
    case Kind::Ping:
        break;
    case Kind::Routing:
        for (const auto& [output, input] : message.routes) {
            understood = understood && fits(output, outputs_) && fits(input, inputs_);
        }
        break;
    case Kind::InputLabels:
        for (const auto& entry : message.labels) {
            understood = understood && fits(entry.first, inputs_);
        }
        break;
    case Kind::OutputLabels:
    case Kind::Locks:
    case Kind::Device:
        understood = understood && asking; // what there is may be asked for, not changed
        break;
    default:
        understood = false;
    }
    if (!understood) {
        send(session, videohub::nak());
        return;
    }
    send(session, videohub::ack());
    if (message.kind == Kind::Ping) {
        return;
    }
    if (asking) {
        switch (message.kind) {
        case Kind::Routing: {
            const std::map<int, int> routes = routing();
            send(session, videohub::routes({routes.begin(), routes.end()}));
            break;
        }
        case Kind::InputLabels:
            send(session, videohub::labels("INPUT LABELS", inputLabels()));
            break;
        default: {
            std::map<int, std::string> none;
            std::vector<std::string> locks;
            for (int output = 0; output < outputs_; ++output) {
                none[output] = "Output " + std::to_string(output + 1);
                locks.push_back(std::to_string(output) + " U");
            }
            send(session,
                 message.kind == Kind::OutputLabels ? videohub::labels("OUTPUT LABELS", none)
                 : message.kind == Kind::Locks      ? videohub::block("VIDEO OUTPUT LOCKS:", locks)
                                                    : dump());
        }
        }
        return;
    }
    // Each change reaches every client, this one too, through the studio.
    for (const auto& [output, input] : message.routes) {
        studio_.route(device_, output + 1, input + 1);
    }
    for (const auto& [input, label] : message.labels) {
        studio_.nameSource(device_, input + 1, label);
    }
}

void VideohubServer::routeChanged(int destination, int source) {
    if (growTo(destination, source)) {
        sendAll(dump());
        return;
    }
    sendAll(videohub::routes({{destination - 1, source - 1}}));
}

void VideohubServer::nameChanged(int source, const std::string& name) {
    if (growTo(outputs_, source)) {
        sendAll(dump());
        return;
    }
    sendAll(videohub::labels("INPUT LABELS", {{source - 1, name}}));
}

bool VideohubServer::grow() {
    const Routers& routers = studio_.routers();
    int inputs = inputs_;
    int outputs = outputs_;
    for (const auto& entry : routers.sourceNames(device_)) {
        inputs = std::max(inputs, entry.first);
    }
    for (const auto& [destination, source] : routers.crosspoints(device_)) {
        outputs = std::max(outputs, destination);
        inputs = std::max(inputs, source);
    }
    const bool grew = inputs != inputs_ || outputs != outputs_;
    inputs_ = inputs;
    outputs_ = outputs;
    return grew;
}

bool VideohubServer::growTo(int outputs, int inputs) {
    const bool grew = outputs > outputs_ || inputs > inputs_;
    outputs_ = std::max(outputs_, outputs);
    inputs_ = std::max(inputs_, inputs);
    return grew;
}

std::map<int, std::string> VideohubServer::inputLabels() const {
    const std::map<int, std::string> names = studio_.routers().sourceNames(device_);
    std::map<int, std::string> labels;
    for (int input = 0; input < inputs_; ++input) {
        const auto named = names.find(input + 1);
        labels[input] = named != names.end() ? named->second : "Input " + std::to_string(input + 1);
    }
    return labels;
}

std::map<int, int> VideohubServer::routing() const {
    std::map<int, int> routes;
    for (const auto& [destination, source] : studio_.routers().crosspoints(device_)) {
        routes[destination - 1] = source - 1;
    }
    return routes;
}

std::string VideohubServer::dump() const {
    std::map<int, std::string> outputLabels;
    for (int output = 0; output < outputs_; ++output) {
        outputLabels[output] = "Output " + std::to_string(output + 1);
    }
    return videohub::dump("zarn-host router " + studio_.routers().name(device_), inputs_, outputs_,
                          inputLabels(), outputLabels, routing());
}
