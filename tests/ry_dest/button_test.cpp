#include "../support/test_names.h"
#include "ry_dest_fixture.h"

namespace {

using testing::ElementsAre;
using testing::ElementsAreArray;
using testing::IsEmpty;

constexpr const char* highWrite = "TP 'statesheet=on' '1' 'Button'";
constexpr const char* lowWrite = "TP 'statesheet=off' '1' 'Button'";
constexpr const char* notify12 = "HN 'select=12'";

class RyDestButton : public RyDestTest {
protected:
    void SetUp() override {
        RyDestTest::SetUp();
        set("destination_id=12");
        set("buttonhigh=on");
        set("buttonlow=off"); // unselected: shows "off" at once
        sent();
    }
    void press() { sendControlEvent(*component, "1", "Button", "button=pressed"); }
    void release() { sendControlEvent(*component, "1", "Button", "button=released"); }
};

TEST_F(RyDestButton, ActsOnTheEventItsButtonActionNames) {
    struct Case {
        const char* buttonaction; // nullptr: the default
        const char* event;
        bool acts;
    };
    const Case cases[] = {
        {nullptr, "button=released", true},   {nullptr, "button=pressed", false},
        {"release", "button=released", true}, {"release", "button=pressed", false},
        {"press", "button=pressed", true},    {"press", "button=released", false},
        {"press", "button=clicked", false},   {nullptr, "button=Released", false},
        {nullptr, "button", false},           {"toggle", "button=released", true},
    };
    for (const Case& c : cases) {
        RecordingHost caseHost;
        ComponentPtr button = makeRyDest(&caseHost);
        askComponent(*button, "destination_id=12");
        askComponent(*button, "buttonhigh=on");
        if (c.buttonaction != nullptr) {
            askComponent(*button, (std::string("buttonaction=") + c.buttonaction).c_str());
        }
        caseHost.clearRecord();
        sendControlEvent(*button, "1", "Button", c.event);
        if (c.acts) {
            EXPECT_THAT(caseHost.commands(), ElementsAre(highWrite, notify12))
                << c.event << " with " << (c.buttonaction ? c.buttonaction : "default");
        } else {
            EXPECT_THAT(caseHost.commands(), IsEmpty())
                << c.event << " with " << (c.buttonaction ? c.buttonaction : "default");
        }
        button.reset();
    }
}

TEST_F(RyDestButton, ActsAgainWhenSelectedAndNeverTogglesOff) {
    press();
    release();
    release();
    EXPECT_THAT(sent(), ElementsAre(highWrite, notify12, highWrite, notify12));
}

TEST_F(RyDestButton, IgnoresEventsFromOtherPanelsAndControls) {
    for (const auto& [panel, control] :
         std::vector<std::pair<const char*, const char*>>{{"2", "Button"},
                                                          {"01", "Button"},
                                                          {"", "Button"},
                                                          {"1", "Vid"},
                                                          {"1", "Aud"},
                                                          {"1", "button"},
                                                          {"1", "Button "}}) {
        sendControlEvent(*component, panel, control, "button=released");
        EXPECT_THAT(sent(), IsEmpty()) << panel << "/" << control;
    }
}

TEST_F(RyDestButton, NotifiesTheStoredDestinationText) {
    RecordingHost caseHost;
    ComponentPtr fresh = makeRyDest(&caseHost);
    caseHost.clearRecord();
    sendControlEvent(*fresh, "1", "Button", "button=released");
    EXPECT_THAT(caseHost.commands(), ElementsAre("TP 'statesheet=' '1' 'Button'", "HN 'select=0'"));
    // The text as it was set, not its number; "index" with that text selects it.
    for (const char* destination : {"012", "-1", "7 "}) {
        askComponent(*fresh, (std::string("destination_id=") + destination).c_str());
        caseHost.clearRecord();
        sendControlEvent(*fresh, "1", "Button", "button=released");
        const std::string notify = std::string("HN 'select=") + destination + "'";
        EXPECT_THAT(caseHost.commands(), ElementsAre("TP 'statesheet=' '1' 'Button'", notify));
        caseHost.clearRecord();
        askComponent(*fresh, (std::string("index=") + destination).c_str());
        if (std::string(destination) == "-1") {
            // "-1" deselects, before it is compared with the destination.
            EXPECT_THAT(caseHost.commands(), ElementsAre("TP 'statesheet=' '1' 'Button'"));
        } else {
            EXPECT_THAT(caseHost.commands(), ElementsAre("TP 'statesheet=' '1' 'Button'", notify));
        }
    }
    fresh.reset();
}

struct IndexCase {
    const char* name;
    bool selectedBefore;
    const char* value;
    std::vector<std::string> sent;
    bool selectedAfter;
};

const IndexCase indexCases[] = {
    {"own destination selects", false, "12", {highWrite, notify12}, true},
    {"own destination again notifies again", true, "12", {highWrite, notify12}, true},
    {"minus one deselects", true, "-1", {lowWrite}, false},
    {"minus one while unselected", false, "-1", {}, false},
    {"another destination deselects", true, "13", {lowWrite}, false},
    {"another destination while unselected", false, "13", {}, false},
    {"012 is another text", true, "012", {lowWrite}, false},
    {"012 does not select", false, "012", {}, false},
    {"empty value deselects", true, "", {lowWrite}, false},
};

class RyDestIndex : public RyDestButton, public testing::WithParamInterface<IndexCase> {};

TEST_P(RyDestIndex, SelectsOnlyItsOwnDestination) {
    const IndexCase& c = GetParam();
    if (c.selectedBefore) {
        set("index=12");
        sent();
    }
    set((std::string("index=") + c.value).c_str());
    EXPECT_THAT(sent(), ElementsAreArray(c.sent));
    // Whether it is selected now shows in the low rule: a new low sheet is written at
    // once only while the button is unselected.
    set("buttonlow=off2");
    if (c.selectedAfter) {
        EXPECT_THAT(sent(), IsEmpty());
    } else {
        EXPECT_THAT(sent(), ElementsAre("TP 'statesheet=off2' '1' 'Button'"));
    }
}

INSTANTIATE_TEST_SUITE_P(Table, RyDestIndex, testing::ValuesIn(indexCases), NameOfCase());

TEST_F(RyDestButton, SheetsShowOnlyInTheirOwnState) {
    // Unselected: a new high sheet waits for the selection; a new low one shows at once.
    set("buttonhigh=on2");
    EXPECT_THAT(sent(), IsEmpty());
    set("buttonlow=off2");
    EXPECT_THAT(sent(), ElementsAre("TP 'statesheet=off2' '1' 'Button'"));
    release();
    EXPECT_THAT(sent(), ElementsAre("TP 'statesheet=on2' '1' 'Button'", notify12));
    // Selected: the other way round.
    set("buttonlow=off3");
    EXPECT_THAT(sent(), IsEmpty());
    set("buttonhigh=on3");
    EXPECT_THAT(sent(), ElementsAre("TP 'statesheet=on3' '1' 'Button'"));
    set("index=-1");
    EXPECT_THAT(sent(), ElementsAre("TP 'statesheet=off3' '1' 'Button'"));
    // The style goes to its own property, in either state.
    set("buttonstyle=big");
    release();
    set("buttonstyle=small");
    EXPECT_THAT(sent(),
                ElementsAre("TP 'stylesheet=big' '1' 'Button'", "TP 'statesheet=on3' '1' 'Button'",
                            notify12, "TP 'stylesheet=small' '1' 'Button'"));
}

TEST_F(RyDestButton, ADestinationChangeKeepsTheSelection) {
    release();
    set("destination_id=13");
    sent();
    set("index=13");
    EXPECT_THAT(sent(), ElementsAre(highWrite, "HN 'select=13'"));
    set("index=12");
    EXPECT_THAT(sent(), ElementsAre(lowWrite));
}

} // namespace

namespace {

// A parent that answers "select=N" with "index=N" at once, inside the component's "HN"
// call, as a host may; it passes on only a selection that is new (its rule against the
// echo of the selected button).
TEST_F(RyDestButton, AParentAnsweringInsideTheNotificationSeesTheSameStream) {
    std::string selection;
    host.onCommand([&](const std::string& command) {
        const std::string prefix = "HN 'select=";
        if (command.rfind(prefix, 0) != 0) {
            return;
        }
        const std::string index = command.substr(prefix.size(), command.size() - prefix.size() - 1);
        if (index != selection) {
            selection = index;
            askComponent(*component, ("index=" + index).c_str());
        }
    });
    release();
    // The index arrives while the button is already selected: the high write and the
    // notification again, which the parent drops.
    EXPECT_THAT(sent(), ElementsAre(highWrite, notify12, highWrite, notify12));
    EXPECT_EQ(ask("return=destination_id"), "destination_id=12");
    host.onCommand(nullptr);
    askComponent(*component, "index=13");
    EXPECT_THAT(sent(), ElementsAre(lowWrite));
}

} // namespace
