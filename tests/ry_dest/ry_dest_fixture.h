// Tests of ry_dest load the built module and drive it as a host would.
#pragma once

#include "../support/component_driver.h"
#include "../support/recording_host.h"

#include <component_module.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

using ComponentPtr = std::unique_ptr<zarn_client_callback>;

// The built module, loaded once for the test binary.
inline const ComponentModule& ryDestModule() {
    static const ComponentModule module(RY_DEST_MODULE_PATH);
    return module;
}

// A ry_dest made by the module's factory; destroyed through its virtual destructor.
inline ComponentPtr makeRyDest(zarn_client_callback* host, const char* path = "") {
    return ComponentPtr(ryDestModule().create(host, path));
}

class RyDestTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(ryDestModule().loaded()) << ryDestModule().error();
        component = makeRyDest(&host);
        ASSERT_NE(component, nullptr);
        host.clearRecord(); // the layout request
    }

    // A parent command that must get no reply.
    void set(const char* text) { EXPECT_EQ(askComponent(*component, text), std::nullopt) << text; }
    std::optional<std::string> ask(const char* text) { return askComponent(*component, text); }

    // A route change that the host delivers, as a revertive, because the component is
    // registered for it; a test that expects a tally from it fails when it is not.
    void route(int device, int index, const char* text) {
        EXPECT_TRUE(host.route(*component, device, index, text))
            << "no registration on device " << device << " covers destination " << index
            << " (registered: \"" << host.registrations(device) << "\")";
    }

    // The commands sent since the last call.
    std::vector<std::string> sent() {
        std::vector<std::string> commands = host.commands();
        host.clearRecord();
        return commands;
    }

    // The package of the typical configuration: names on device 7, crosspoints on 8,
    // video matrix 1, audio matrix 2; destination 12 uses video 17 and audio 33.
    void answerTypicalTables() {
        host.answer("RN 7 1 12", "Studio 12");
        host.answer("RN 8 1 12", "17,33");
        host.answer("RN 7 1 13", "Studio 13");
        host.answer("RN 8 1 13", "18,34");
    }
    void configureTypically() {
        answerTypicalTables();
        for (const char* text : {"destination_id=12", "package_name_id=7", "package_xpts_id=8",
                                 "video_matrix_id=1", "audio_matrix_id=2"}) {
            set(text);
        }
        host.clearRecord();
    }

    RecordingHost host; // outlives the component, and checks its replies at the end
    ComponentPtr component;
};
