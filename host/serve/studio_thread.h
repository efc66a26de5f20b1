// The studio's own thread in zarn-host serve: an io_context of its own, which runs the
// pages' actions (handed over from the network's thread), the router links and the router
// side, one after the other, so that nothing calls a component from two threads. What
// changed goes out to the pages after each batch of work: under a salvo the pages get few
// large messages rather than one for every route.
#pragma once

#include "studio_bridge.h"
#include "web_server.h"

#include <boost/asio/executor_work_guard.hpp>
#include <boost/asio/io_context.hpp>

#include <functional>
#include <optional>
#include <string>
#include <thread>

class StudioThread : public StudioAccess, private StudioObserver {
public:
    // `web` is the network's io_context, `studio` the studio thread's, which the scenario
    // may have run already (its links were made on it).
    StudioThread(boost::asio::io_context& web, boost::asio::io_context& studio,
                 StudioBridge& bridge, Studio& watched);
    ~StudioThread() override;

    void server(WebServer* server) { server_ = server; }
    void run();
    // Runs `task` on the studio's thread, then ends the thread.
    void finish(std::function<void()> task);

    void state(std::function<void(std::string)> answer) override;
    void message(std::string text, std::function<void(std::string)> answer) override;
    void scenario(std::function<void(std::string)> answer) override;

private:
    // Every change of the studio, from a page or not (a link, the router side), has its
    // publish.
    void routerChanged(int) override { schedulePublish(); }
    void routed(int, int, int) override { schedulePublish(); }
    void sourceNamed(int, int, const std::string&) override { schedulePublish(); }
    void instanceChanged(int) override { schedulePublish(); }
    void instanceGone(int) override { schedulePublish(); }
    void selectionChanged(const std::string&) override { schedulePublish(); }
    void propertySet(int, const std::string&, const std::string&, const std::string&,
                     const std::string&) override {
        schedulePublish();
    }

    void post(std::function<void()> task);
    void answerOnWeb(const std::function<void(std::string)>& answer, std::string text);
    void schedulePublish();
    void publish();

    boost::asio::io_context& web_;
    boost::asio::io_context& studioIo_;
    StudioBridge& bridge_;
    Studio& studio_;
    WebServer* server_ = nullptr;
    std::thread thread_;
    std::optional<boost::asio::executor_work_guard<boost::asio::io_context::executor_type>> work_;
    bool publishing_ = false; // a publish waits in the queue
};
