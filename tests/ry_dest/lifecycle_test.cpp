#include "ry_dest_fixture.h"

#include <optional>

namespace {

using testing::ElementsAre;
using testing::IsEmpty;

TEST(RyDestLifecycle, AsksForItsLayoutAndNothingElse) {
    struct Case {
        const char* path;
        const char* sent;
    };
    const Case cases[] = {
        {"", "PS '1' 'ry_dest.zarn_ui'"},
        {"studio/panel4", "PS '1' 'studio/panel4/ry_dest.zarn_ui'"},
        {"studio/", "PS '1' 'studio//ry_dest.zarn_ui'"},
    };
    for (const Case& c : cases) {
        for (const std::optional<std::string>& answer :
             {std::optional<std::string>("shown"), std::optional<std::string>()}) {
            RecordingHost host;
            host.answer(c.sent, answer);
            ComponentPtr component = makeRyDest(&host, c.path);
            ASSERT_NE(component, nullptr) << "whatever the host answers";
            EXPECT_THAT(host.commands(), ElementsAre(c.sent));
            component.reset();
        }
    }
}

TEST_F(RyDestTest, StopsEveryTimerThatTicks) {
    for (int id : {1, 7, 0, -3}) {
        sendTimer(*component, id);
    }
    EXPECT_THAT(sent(), ElementsAre("ET 1", "ET 7", "ET 0", "ET -3"));
}

TEST_F(RyDestTest, DestructionOfAConfiguredComponentSendsOnlyAS) {
    configureTypically();
    set("index=12");
    sent();
    component.reset();
    EXPECT_THAT(host.commands(), ElementsAre("AS")) << "no RU, no control reset";
}

TEST_F(RyDestTest, IgnoresOtherMessages) {
    int word = 0;
    for (int kind : {0, 6, 7, 8, -1, 1000}) {
        EXPECT_EQ(component->callback(&word, kind), nullptr) << kind;
    }
    component->callback(nullptr, zarn_kind_revertive);
    component->callback(nullptr, zarn_kind_control_event);
    component->callback(nullptr, zarn_kind_give_back);
    EXPECT_THAT(sent(), IsEmpty());
}

TEST(RyDestLifecycle, WorksWithoutAHost) {
    ComponentPtr component = makeRyDest(nullptr, nullptr);
    ASSERT_NE(component, nullptr);
    for (const char* text :
         {"destination_id=12", "package_name_id=7", "package_xpts_id=8", "video_matrix_id=1",
          "audio_matrix_id=2", "buttonhigh=on", "index=12"}) {
        EXPECT_EQ(askComponent(*component, text), std::nullopt);
    }
    sendRevertive(*component, 2, 0, "x");
    sendControlEvent(*component, "1", "Button", "button=released");
    sendTimer(*component, 3);
    // No host, no crosspoint entry: both indices stay 0 and nothing is registered.
    EXPECT_EQ(askComponent(*component, "return=video_id"), "video_id=0");
    EXPECT_EQ(askComponent(*component, "return=destination_id"), "destination_id=12");
}

TEST(RyDestLifecycle, ManyComponentsLiveSideBySide) {
    // One host, many buttons: each keeps its own state and answers for itself.
    constexpr int count = 40;
    RecordingHost host;
    std::vector<ComponentPtr> buttons;
    for (int i = 0; i < count; ++i) {
        const std::string n = std::to_string(100 + i);
        host.answer("RN 8 1 " + n, std::to_string(i + 1) + "," + std::to_string(500 + i));
        buttons.push_back(makeRyDest(&host, ("p" + n).c_str()));
        ComponentPtr& button = buttons.back();
        for (const std::string& text :
             {"destination_id=" + n, std::string("package_xpts_id=8"),
              std::string("video_matrix_id=1"), std::string("audio_matrix_id=2")}) {
            askComponent(*button, text.c_str());
        }
    }
    host.clearRecord();
    // A revertive goes to every button, as a host that fans it out would; one matches.
    for (ComponentPtr& button : buttons) {
        sendRevertive(*button, 2, 517, "MIC 17");
    }
    EXPECT_THAT(host.commands(), ElementsAre("TP 'text=MIC 17' '1' 'Aud'"));
    for (int i = 0; i < count; ++i) {
        EXPECT_EQ(askComponent(*buttons[i], "return=video_id"),
                  "video_id=" + std::to_string(i + 1));
    }
    // Destroying some leaves the others working.
    host.clearRecord();
    for (int i = 0; i < count; i += 2) {
        buttons[i].reset();
    }
    askComponent(*buttons[1], "index=101");
    EXPECT_EQ(host.commands().back(), "HN 'select=101'");
    buttons.clear();
}

} // namespace
