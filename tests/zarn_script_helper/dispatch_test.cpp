#include "../support/probe_component.h"
#include "../support/recording_host.h"

#include <zarn_script_helper/record_builders.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

using testing::_;
using testing::ElementsAre;
using testing::IsEmpty;
using testing::Return;
using testing::StrictMock;

void* timerWord(int id) {
    return reinterpret_cast<void*>(static_cast<std::intptr_t>(id));
}

class Dispatch : public testing::Test {
protected:
    RecordingHost host;
    StrictMock<ProbeComponent> component{&host, "panels/one"};
};

TEST_F(Dispatch, RevertiveReachesOnRevertiveThroughAView) {
    OwnedRevertive revertive(2, 33, "CAM 4");
    EXPECT_CALL(component, onRevertive(_)).WillOnce([](const RevertiveRecordView& view) {
        EXPECT_EQ(view.device(), 2);
        EXPECT_EQ(view.index(), 33);
        EXPECT_STREQ(view.text().data(), "CAM 4");
        EXPECT_EQ(view.text().length(), 5u);
        return 7;
    });
    EXPECT_EQ(component.callback(revertive.record(), zarn_kind_revertive), nullptr);
}

TEST_F(Dispatch, ControlEventFieldsAndNullTextsReadAsEmpty) {
    struct Case {
        const char* panel;
        const char* control;
        const char* eventText; // null: the record has no event
        std::vector<std::string> seen;
    };
    const Case cases[] = {
        {"1", "Button", "button=released", {"1", "Button", "button", "released"}},
        {"2", "ActionAll", "alarm=ack", {"2", "ActionAll", "alarm", "ack"}},
        {nullptr, nullptr, nullptr, {"", "", "", ""}},
        {"1", "Button", "", {"1", "Button", "", ""}},
    };
    for (const Case& c : cases) {
        OwnedParsedCommand event(c.eventText);
        ControlEvent record{0, 0, c.panel, c.control,
                            c.eventText != nullptr ? event.get() : nullptr};
        std::vector<std::string> seen;
        EXPECT_CALL(component, onControlEvent(_)).WillOnce([&](const ControlEventView& view) {
            seen = {view.panel().data(), view.control().data(), view.eventCommand().data(),
                    view.eventValue().data()};
        });
        EXPECT_EQ(component.callback(&record, zarn_kind_control_event), nullptr);
        EXPECT_EQ(seen, c.seen);
    }
}

TEST_F(Dispatch, NullRecordsAreIgnored) {
    // StrictMock: any call of onRevertive or onControlEvent fails the test.
    EXPECT_EQ(component.callback(nullptr, zarn_kind_revertive), nullptr);
    EXPECT_EQ(component.callback(nullptr, zarn_kind_control_event), nullptr);
}

TEST_F(Dispatch, ParentCommandIsParsedAndAnsweredWithAnOwnedCopy) {
    EXPECT_CALL(component, onParentCommand(_)).WillOnce([](const ParsedCommandView& view) {
        EXPECT_STREQ(view.command(), "return");
        EXPECT_STREQ(view.value(), "all");
        return zarn_string("a=1\nb=2");
    });
    char text[] = "return=all";
    EXPECT_EQ(askComponent(component, text), "a=1\nb=2");
    EXPECT_STREQ(text, "return=all") << "the host's text must stay as it was";
}

TEST_F(Dispatch, ParentReplySizes) {
    EXPECT_CALL(component, onParentCommand(_))
        .WillOnce(Return(zarn_string("")))
        .WillOnce(Return(zarn_string("x")));
    EXPECT_EQ(component.callback(const_cast<char*>("k=v"), zarn_kind_parent_command), nullptr);

    void* reply = component.callback(const_cast<char*>("k=v"), zarn_kind_parent_command);
    ASSERT_NE(reply, nullptr);
    EXPECT_EQ(static_cast<char*>(reply)[0], 'x');
    EXPECT_EQ(static_cast<char*>(reply)[1], '\0');
    component.callback(reply, zarn_kind_give_back);
}

TEST_F(Dispatch, NullOrEmptyParentTextStillReachesOnParentCommand) {
    EXPECT_CALL(component, onParentCommand(_))
        .Times(2)
        .WillRepeatedly([](const ParsedCommandView& view) {
            EXPECT_STREQ(view.command(), "");
            EXPECT_STREQ(view.value(), "");
            return zarn_string();
        });
    EXPECT_EQ(component.callback(nullptr, zarn_kind_parent_command), nullptr);
    EXPECT_EQ(component.callback(const_cast<char*>(""), zarn_kind_parent_command), nullptr);
}

TEST_F(Dispatch, TimerIdTravelsInTheDataWord) {
    testing::InSequence order;
    for (int id : {1, 7, 0, -3, 2147483647}) {
        EXPECT_CALL(component, onTimer(id));
    }
    for (int id : {1, 7, 0, -3, 2147483647}) {
        EXPECT_EQ(component.callback(timerWord(id), zarn_kind_timer), nullptr);
    }
}

TEST_F(Dispatch, DataWordsOfKindsSixAndSevenArePassedOn) {
    int word = 0;
    EXPECT_CALL(component, onRecordMessage(_)).WillOnce([&](const RecordMessageView& view) {
        EXPECT_EQ(view.data(), &word);
    });
    EXPECT_CALL(component, onValueMessage(_)).WillOnce([&](const ValueMessageView& view) {
        EXPECT_EQ(view.data(), &word);
    });
    EXPECT_EQ(component.callback(&word, zarn_kind_record_message), nullptr);
    EXPECT_EQ(component.callback(&word, zarn_kind_value_message), nullptr);
}

TEST_F(Dispatch, OtherKindsAndANullGiveBackDoNothing) {
    char text[] = "destination_id=12";
    for (int kind : {0, 8, 9, -1, 255, 2147483647}) {
        EXPECT_EQ(component.callback(text, kind), nullptr) << kind;
    }
    EXPECT_EQ(component.callback(nullptr, zarn_kind_give_back), nullptr);
    EXPECT_THAT(host.events(), IsEmpty());
}

TEST_F(Dispatch, AlarmActionsGoToOnControlEventWhileTheRelayIsOff) {
    OwnedControlEvent action("1", "ActionAll", "alarm=2");
    OwnedControlEvent ack("1", "AckAll", "ack");
    EXPECT_CALL(component, onControlEvent(_)).Times(2);
    component.callback(action.record(), zarn_kind_control_event);
    component.callback(ack.record(), zarn_kind_control_event);
    EXPECT_THAT(host.commands(), IsEmpty()) << "the relay must stay idle";
}

TEST_F(Dispatch, NothingIsThrownIntoTheHost) {
    EXPECT_CALL(component, onParentCommand(_))
        .WillOnce([](const ParsedCommandView&) -> zarn_string {
            throw std::runtime_error("component failure");
        });
    EXPECT_CALL(component, onTimer(_)).WillOnce([](int) { throw 42; });
    EXPECT_EQ(component.callback(const_cast<char*>("k=v"), zarn_kind_parent_command), nullptr);
    EXPECT_EQ(component.callback(timerWord(1), zarn_kind_timer), nullptr);
}

TEST(Lifecycle, DestructionSendsASLastAndOnlyWithAHost) {
    RecordingHost host;
    {
        testing::NiceMock<ProbeComponent> component(&host, "");
        component.hostNotify("select=1");
    }
    EXPECT_THAT(host.commands(), ElementsAre("HN 'select=1'", "AS"));

    // Without a host nothing is sent anywhere and nothing fails.
    testing::NiceMock<ProbeComponent> orphan(nullptr, nullptr);
    EXPECT_STREQ(orphan.instancePath, "");
}

TEST(Lifecycle, FactoryHelperGivesAWorkingComponent) {
    RecordingHost host;
    zarn_client_callback* made =
        zarn_script_helper::create<testing::NiceMock<ProbeComponent>>(&host, "path");
    ASSERT_NE(made, nullptr);
    EXPECT_STREQ(static_cast<ProbeComponent*>(made)->instancePath, "path");
    delete made;
    EXPECT_THAT(host.commands(), ElementsAre("AS"));
}

} // namespace
