// What the benchmarks share: the shipped destination button, loaded once, and buttons of
// the typical configuration (names on device 7, crosspoints on device 8, video matrix 1,
// audio matrix 2) made against a BenchHost.
#pragma once

#include "bench_host.h"

#include <component_module.h>
#include <zarn_script_helper/zarn_client_callback.h>

#include <memory>
#include <string>

inline const ComponentModule& benchModule() {
    static const ComponentModule loaded(RY_DEST_MODULE_PATH);
    return loaded;
}

using Component = std::unique_ptr<zarn_client_callback>;

// A parent command, its reply given back.
inline void sendParent(zarn_client_callback& component, const char* text) {
    void* reply = component.callback(const_cast<char*>(text), zarn_kind_parent_command);
    if (reply != nullptr) {
        component.callback(reply, zarn_kind_give_back);
    }
}

// Destination `destination` uses video `video` and audio `audio`.
inline void answerTables(BenchHost& host, int destination, int video, int audio) {
    const std::string n = std::to_string(destination);
    host.answer("RN 7 1 " + n, "Studio " + n);
    host.answer("RN 8 1 " + n, std::to_string(video) + "," + std::to_string(audio));
}

inline void configure(zarn_client_callback& component, int destination) {
    const std::string n = std::to_string(destination);
    for (const std::string& text :
         {"destination_id=" + n, std::string("package_name_id=7"), std::string("package_xpts_id=8"),
          std::string("video_matrix_id=1"), std::string("audio_matrix_id=2"),
          std::string("buttonhigh=selected"), std::string("buttonlow=idle"),
          std::string("buttonstyle=wide")}) {
        sendParent(component, text.c_str());
    }
}

inline Component configured(BenchHost& host, int destination, int video, int audio) {
    answerTables(host, destination, video, audio);
    Component component(benchModule().create(&host, ""));
    configure(*component, destination);
    return component;
}
