#include "studio_thread.h"

#include "json.h"
#include "protocol.h"

#include <boost/asio/post.hpp>

namespace net = boost::asio;

StudioThread::StudioThread(net::io_context& web, net::io_context& studio, StudioBridge& bridge,
                           Studio& watched)
    : web_(web), studioIo_(studio), bridge_(bridge), studio_(watched) {}

StudioThread::~StudioThread() {
    if (thread_.joinable()) {
        finish(nullptr);
    }
}

void StudioThread::run() {
    studio_.observe(this);
    studioIo_.restart(); // the scenario may have run it dry
    work_.emplace(net::make_work_guard(studioIo_));
    thread_ = std::thread([this] { studioIo_.run(); });
}

void StudioThread::finish(std::function<void()> task) {
    net::post(studioIo_, [this, task = std::move(task)] {
        if (task) {
            task();
        }
        publish();
        studio_.forget(this);
        studioIo_.stop(); // the links and routers still wait for the network: not for them
    });
    thread_.join();
    work_.reset();
}

void StudioThread::state(std::function<void(std::string)> answer) {
    post([this, answer] { answerOnWeb(answer, jsonLine(bridge_.state())); });
}

void StudioThread::message(std::string text, std::function<void(std::string)> answer) {
    const ParsedClientMessage parsed = parseClientMessage(text);
    if (!parsed.action) {
        answer(jsonLine(errorMessage(parsed.error, text)));
        return;
    }
    const ClientAction action = *parsed.action;
    post([this, action, text, answer] {
        const std::string error = bridge_.apply(action);
        const std::string reply = !error.empty() ? jsonLine(errorMessage(error, text))
                                  : action.kind == ClientAction::Kind::Ping
                                      ? std::string("{\"type\":\"pong\"}")
                                      : std::string();
        if (!reply.empty()) {
            publish(); // what came before goes out before this page's own answer
            answerOnWeb(answer, reply);
        }
    });
}

void StudioThread::scenario(std::function<void(std::string)> answer) {
    post([this, answer] { answerOnWeb(answer, bridge_.scenario()); });
}

void StudioThread::post(std::function<void()> task) {
    net::post(studioIo_, [this, task = std::move(task)] {
        task();
        schedulePublish();
    });
}

void StudioThread::answerOnWeb(const std::function<void(std::string)>& answer, std::string text) {
    net::post(web_, [answer, text = std::move(text)]() mutable { answer(std::move(text)); });
}

void StudioThread::schedulePublish() {
    if (publishing_) {
        return;
    }
    publishing_ = true;
    // Behind what waits already, so that a whole batch goes out as one message.
    net::post(studioIo_, [this] {
        publishing_ = false;
        publish();
    });
}

void StudioThread::publish() {
    const nlohmann::ordered_json changes = bridge_.takeChanges();
    if (changes.empty()) {
        return;
    }
    net::post(web_, [this, text = jsonLine(changes)] {
        if (server_ != nullptr) {
            server_->broadcast(text);
        }
    });
}
