#include "swp08_server.h"

#include <algorithm>

namespace {

constexpr int frameTries = 5;
constexpr std::chrono::milliseconds resendAfter{1000};
// The most sources of one dump message.
constexpr std::size_t dumpSources = 64;

std::string bytesOf(const swp08::Bytes& bytes) {
    return std::string(bytes.begin(), bytes.end());
}

bool isExtended(swp08::Command command) {
    return (static_cast<int>(command) & 0x80) != 0;
}

} // namespace

Swp08Server::Swp08Server(boost::asio::io_context& io, Studio& studio, int device,
                         const boost::asio::ip::tcp::endpoint& at)
    : RouterServer(io, studio, device, at) {}

RouterServer::SessionPtr Swp08Server::makeSession(boost::asio::ip::tcp::socket socket) {
    return std::make_shared<Client>(std::move(socket), io_);
}

void Swp08Server::received(const SessionPtr& session, const char* bytes, std::size_t size) {
    Client& client = static_cast<Client&>(*session);
    const auto items = client.reader.feed(reinterpret_cast<const std::uint8_t*>(bytes), size);
    for (const swp08::FrameReader::Item& item : items) {
        using Kind = swp08::FrameReader::Item::Kind;
        switch (item.kind) {
        case Kind::Ack:
        case Kind::Nak:
            acknowledged(session, item.kind == Kind::Ack);
            break;
        case Kind::Error:
            send(session, bytesOf(swp08::nak()));
            break;
        case Kind::Frame: {
            send(session, bytesOf(swp08::ack()));
            std::string error;
            if (const auto message = swp08::decode(item.data, error)) {
                answer(session, *message);
            }
            break;
        }
        }
        if (!session->open) {
            return;
        }
    }
}

void Swp08Server::answer(const SessionPtr& session, const swp08::Message& message) {
    using swp08::Command;
    if (message.matrix != 0 || message.level != 0) {
        return; // one matrix, one level
    }
    switch (message.command) {
    case Command::Interrogate:
    case Command::ExtInterrogate: {
        const std::optional<int> source =
            studio_.routers().routed(device_, message.destination + 1);
        if (source) {
            swp08::Message tally = message;
            tally.command = isExtended(message.command) ? Command::ExtTally : Command::Tally;
            tally.source = *source - 1;
            post(session, tally);
        }
        break;
    }
    case Command::Connect:
    case Command::ExtConnect:
        studio_.route(device_, message.destination + 1, message.source + 1);
        break;
    case Command::TallyDumpRequest:
    case Command::ExtTallyDumpRequest:
        dump(session, isExtended(message.command));
        break;
    case Command::SourceNamesRequest:
    case Command::ExtSourceNamesRequest:
        names(session, message);
        break;
    default:
        break; // ACKed, and passed over
    }
}

void Swp08Server::dump(const SessionPtr& session, bool extended) {
    // Runs of consecutive routed destinations, each message with its first one.
    swp08::Message part;
    part.command = extended ? swp08::Command::ExtTallyDump : swp08::Command::TallyDumpWord;
    int next = -1;
    const auto flush = [&] {
        if (!part.sources.empty()) {
            post(session, part);
            part.sources.clear();
        }
    };
    for (const auto& [destination, source] : studio_.routers().crosspoints(device_)) {
        if (destination - 1 != next || part.sources.size() == dumpSources) {
            flush();
            part.destination = destination - 1;
        }
        part.sources.push_back(source - 1);
        next = destination;
    }
    flush();
}

void Swp08Server::names(const SessionPtr& session, const swp08::Message& request) {
    const std::map<int, std::string> named = studio_.routers().sourceNames(device_);
    int sources = 0;
    for (const auto& [source, name] : named) {
        sources = std::max(sources, source);
    }
    for (const auto& [destination, source] : studio_.routers().crosspoints(device_)) {
        sources = std::max(sources, source);
    }
    swp08::Message part;
    part.command =
        isExtended(request.command) ? swp08::Command::ExtSourceNames : swp08::Command::SourceNames;
    part.nameLength = request.nameLength;
    const int each = swp08::namesPerMessage(request.nameLength);
    for (int first = 0; first < sources; first += each) {
        part.firstSource = first;
        part.names.clear();
        for (int source = first; source < std::min(sources, first + each); ++source) {
            const auto name = named.find(source + 1);
            part.names.push_back(name != named.end() ? name->second : std::to_string(source + 1));
        }
        post(session, part);
    }
}

void Swp08Server::routeChanged(int destination, int source) {
    swp08::Message connected;
    connected.command = swp08::Command::Connected; // extended when the numbers need it
    connected.destination = destination - 1;
    connected.source = source - 1;
    const std::list<SessionPtr> all = sessions();
    for (const SessionPtr& session : all) {
        post(session, connected);
    }
}

void Swp08Server::post(const SessionPtr& session, const swp08::Message& message) {
    Client& client = static_cast<Client&>(*session);
    client.outbox.push_back(swp08::frame(swp08::encode(message)));
    sendNext(session);
}

void Swp08Server::sendNext(const SessionPtr& session) {
    Client& client = static_cast<Client&>(*session);
    if (client.waiting || client.outbox.empty() || !client.open) {
        return;
    }
    if (client.tries == frameTries) {
        client.outbox.pop_front(); // the client does not ACK it: passed over
        client.tries = 0;
        sendNext(session);
        return;
    }
    ++client.tries;
    client.waiting = true;
    send(session, bytesOf(client.outbox.front()));
    client.resend.expires_after(resendAfter);
    // Weakly: a session that is closed goes, and its timer with it.
    client.resend.async_wait(
        [this, weak = std::weak_ptr<Session>(session)](boost::system::error_code cancelled) {
            const SessionPtr session = weak.lock();
            if (cancelled || session == nullptr) {
                return;
            }
            Client& waiting = static_cast<Client&>(*session);
            if (waiting.open && waiting.waiting) {
                waiting.waiting = false;
                sendNext(session);
            }
        });
}

void Swp08Server::acknowledged(const SessionPtr& session, bool ack) {
    Client& client = static_cast<Client&>(*session);
    if (!client.waiting) {
        return;
    }
    client.resend.cancel();
    client.waiting = false;
    if (ack) {
        client.outbox.pop_front();
        client.tries = 0;
    }
    sendNext(session);
}
