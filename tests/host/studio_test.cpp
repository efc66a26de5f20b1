// The studio's own bookkeeping, checked directly: the replies it hands out and takes back,
// the registrations it keeps, and the panel it shows.
#include "reply_ledger.h"
#include "routers.h"
#include "scenario.h"
#include "studio.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <fstream>
#include <set>
#include <sstream>
#include <string>

namespace {

using testing::ElementsAre;
using testing::IsEmpty;

TEST(ReplyLedger, TakesBackOnlyWhatItHandedOutToThatInstance) {
    ReplyLedger ledger;
    void* kept = ledger.keep("shown");
    char* reply = ledger.handOut(1, "TG '1' 'Button' 'text'", "text=A");
    EXPECT_STREQ(reply, "text=A");
    std::string command;
    EXPECT_EQ(ledger.takeBack(2, reply, command), ReplyLedger::Back::Unknown)
        << "another instance never got it";
    EXPECT_EQ(ledger.takeBack(1, kept, command), ReplyLedger::Back::Kept);
    EXPECT_EQ(ledger.takeBack(1, nullptr, command), ReplyLedger::Back::Null);
    EXPECT_EQ(ledger.takeBack(1, reply, command), ReplyLedger::Back::Freed);
    EXPECT_EQ(command, "TG '1' 'Button' 'text'");
    ledger.handOut(1, "RN 7 1 12", "Studio A");
    ledger.handOut(3, "RN 7 1 13", "Studio B");
    EXPECT_THAT(ledger.collectOutstanding(1), ElementsAre("RN 7 1 12"));
    EXPECT_THAT(ledger.collectOutstanding(1), IsEmpty());
    EXPECT_THAT(ledger.collectOutstanding(3), ElementsAre("RN 7 1 13"));
}

std::string ranges(const Routers& routers, int instance, int device) {
    std::string text;
    for (const DestinationRange& range : routers.registrations(instance, device)) {
        text += (text.empty() ? "" : ",") + std::to_string(range.first) + "-" +
                std::to_string(range.last);
    }
    return text;
}

TEST(Routers, KeepEachInstancesRangesPerDevice) {
    Routers routers;
    routers.registerRange(2, 1, {17, 17}, false);
    routers.registerRange(0, 1, {10, 20}, false);
    routers.registerRange(1, 1, {1, 1000}, false); // a wide range
    routers.registerRange(0, 1, {15, 30}, true);   // overlaps its own
    routers.registerRange(0, 2, {17, 17}, false);
    EXPECT_THAT(routers.registeredFor(1, 17), ElementsAre(0, 1, 2)) << "placement order, each once";
    EXPECT_THAT(routers.registeredFor(1, 25), ElementsAre(0, 1));
    EXPECT_THAT(routers.registeredFor(1, 1001), IsEmpty());
    EXPECT_THAT(routers.registeredFor(2, 17), ElementsAre(0));
    EXPECT_EQ(ranges(routers, 0, 1), "10-20,15-30");

    routers.registerRange(0, 1, {40, 40}, false); // the plain form replaces
    EXPECT_EQ(ranges(routers, 0, 1), "40-40");
    EXPECT_THAT(routers.registeredFor(1, 17), ElementsAre(1, 2));

    routers.unregister(0, 1); // RU drops that device and no other
    EXPECT_EQ(ranges(routers, 0, 1), "");
    EXPECT_EQ(ranges(routers, 0, 2), "17-17");
    EXPECT_THAT(routers.registeredFor(1, 40), ElementsAre(1));

    routers.unregisterAll(1); // AS drops every device's
    EXPECT_THAT(routers.registeredFor(1, 500), IsEmpty());
    EXPECT_THAT(routers.registeredFor(1, 17), ElementsAre(2));
    EXPECT_THAT(routers.registeredFor(2, 17), ElementsAre(0));
}

// A component linked into the test: it answers every parent command with a buffer of its
// own and keeps account of which come back.
class CountingComponent : public zarn_client_callback {
public:
    static std::set<void*> out;
    static int strangers; // give-backs of pointers it never handed out

    void* callback(void* data, int kind) override {
        if (kind == zarn_kind_parent_command) {
            char* reply = new char[3]{'o', 'k', '\0'};
            out.insert(reply);
            return reply;
        }
        if (kind == zarn_kind_give_back && data != nullptr) {
            if (out.erase(data) == 0) {
                ++strangers;
            } else {
                delete[] static_cast<char*>(data);
            }
        }
        return nullptr;
    }
};
std::set<void*> CountingComponent::out;
int CountingComponent::strangers = 0;

zarn_client_callback* makeCounting(zarn_client_callback*, const char*) {
    return new CountingComponent;
}

TEST(Studio, GivesEveryParentReplyBackOnce) {
    std::ostringstream discarded;
    Transcript transcript(discarded, Transcript::Format::Text, true);
    Studio studio(transcript);
    ASSERT_EQ(
        studio.addModule("counting", std::make_unique<ComponentModule>("counting", &makeCounting)),
        "");
    ASSERT_EQ(studio.place("c", "counting", "", ""), "");
    for (const char* text : {"a=1", "b", "c=3"}) {
        EXPECT_EQ(studio.send("c", text), std::optional<std::string>("ok"));
        EXPECT_THAT(CountingComponent::out, IsEmpty()) << "after " << text;
    }
    EXPECT_EQ(CountingComponent::strangers, 0);
    studio.finish();
}

TEST(PanelView, DrawsTheDemoWithItsSelectedButton) {
    std::ifstream file(DEMO_SCENARIO_PATH);
    std::ostringstream text;
    text << file.rdbuf();
    std::ostringstream out;
    Transcript transcript(out, Transcript::Format::Text, false);
    ASSERT_EQ(runScenarioText(text.str(), "demo", ".", transcript,
                              Variables{{"components", ZARN_COMPONENTS_DIR}}),
              ScenarioOutcome::Passed)
        << out.str();
    const std::string whole = out.str();
    const std::size_t last = whole.rfind("panel view\n");
    ASSERT_NE(last, std::string::npos);
    const std::string drawn = whole.substr(last, whole.find("\n  destroying", last) - last + 1);
    EXPECT_EQ(drawn, "panel view\n"
                     "    dest12  (group studio)\n"
                     "      [ Studio A         ]  statesheet=idle  stylesheet=wide\n"
                     "        Vid: CAM 3           statesheet=\"\"\n"
                     "        Aud: MIC 1           statesheet=\"\"\n"
                     "    dest13  (group studio)\n"
                     "      [ Studio B         ]  statesheet=idle  stylesheet=wide\n"
                     "        Vid: CAM 1           statesheet=\"\"\n"
                     "        Aud: MIC 2           statesheet=\"\"\n"
                     "    dest14  (group studio)\n"
                     "      [ Edit 1           ]  statesheet=idle  stylesheet=wide\n"
                     "        Vid: VTR 1           statesheet=\"\"\n"
                     "        Aud: VTR 1 A         statesheet=\"\"\n"
                     "  * dest15  (group studio)\n"
                     "      [ Transmission     ]  statesheet=selected  stylesheet=wide\n"
                     "        Vid: GFX             statesheet=on_air\n"
                     "        Aud: MIC 3           statesheet=on_air\n");
}

} // namespace
