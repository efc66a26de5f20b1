#include "../support/test_names.h"
#include "ry_dest_fixture.h"

#include <optional>

namespace {

using testing::ElementsAre;
using testing::IsEmpty;

const char* const initialAll = "destination_id=0\npackage_name_id=0\npackage_xpts_id=0\n"
                               "video_matrix_id=0\naudio_matrix_id=0\nbuttonaction=release\n"
                               "buttonstyle=\nbuttonhigh=\nbuttonlow=\nvideotallystate=\n"
                               "audiotallystate=";

struct ReturnCase {
    const char* name;
    const char* command;
    std::optional<std::string> reply; // nullopt: no reply at all
};

// Every query form on a new component.
const ReturnCase returnCases[] = {
    {"all", "return=all", initialAll},
    {"destination_id", "return=destination_id", "destination_id=0"},
    {"video_id", "return=video_id", "video_id=0"},
    {"audio_id", "return=audio_id", "audio_id=0"},
    {"other properties have no single form", "return=package_name_id", std::nullopt},
    {"empty value", "return=", std::nullopt},
    {"no value", "return", std::nullopt},
    {"sub-parts are ignored", "return.x.y=video_id", "video_id=0"},
    {"capital key", "Return=all", std::nullopt},
    {"blank before the =", "return =all", std::nullopt},
    {"blank after the =", "return= all", std::nullopt},
    {"events", "_events", "select=*"},
    {"events with a value", "_events=anything", "select=*"},
    {"commands", "_commands", "index=[value]"},
    {"commands with a value", "_commands=1", "index=[value]"},
    {"unknown command", "colour=red", std::nullopt},
    {"empty text", "", std::nullopt},
    {"index", "index=5", std::nullopt},
    {"a set command", "buttonstyle=x", std::nullopt},
};

class RyDestReturn : public RyDestTest, public testing::WithParamInterface<ReturnCase> {};

TEST_P(RyDestReturn, AnswersExactly) {
    EXPECT_EQ(ask(GetParam().command), GetParam().reply);
}

INSTANTIATE_TEST_SUITE_P(Table, RyDestReturn, testing::ValuesIn(returnCases), NameOfCase());

TEST_F(RyDestTest, NullParentTextGetsNoReply) {
    EXPECT_EQ(component->callback(nullptr, zarn_kind_parent_command), nullptr);
    EXPECT_EQ(ask("return=all"), initialAll);
}

TEST_F(RyDestTest, EveryPropertyIsStoredAsSentAndReturned) {
    host.answer("RN 8 1 12", "17,33");
    for (const char* text :
         {"destination_id=12", "package_name_id=7", "package_xpts_id=8", "video_matrix_id=1",
          "audio_matrix_id=2", "buttonaction=press", "buttonstyle=a=b.c", "buttonhigh=hi",
          "buttonlow= lo", "videotallystate=v.1", "audiotallystate=a 2"}) {
        set(text);
    }
    EXPECT_EQ(ask("return=all"),
              "destination_id=12\npackage_name_id=7\npackage_xpts_id=8\nvideo_matrix_id=1\n"
              "audio_matrix_id=2\nbuttonaction=press\nbuttonstyle=a=b.c\nbuttonhigh=hi\n"
              "buttonlow= lo\nvideotallystate=v.1\naudiotallystate=a 2");
    EXPECT_EQ(ask("return=video_id"), "video_id=17") << "the matrix index, not the device";
    EXPECT_EQ(ask("return=audio_id"), "audio_id=33");
    EXPECT_EQ(ask("return=destination_id"), "destination_id=12");
}

TEST_F(RyDestTest, NonNumbersAreStoredUnchangedAndReadAsZero) {
    set("destination_id=twelve");
    set("video_matrix_id=1x");
    EXPECT_THAT(sent(), ElementsAre("TP 'text=' '1' 'Vid'", "TP 'text=' '1' 'Aud'"));
    EXPECT_EQ(ask("return=destination_id"), "destination_id=twelve");
}

TEST_F(RyDestTest, ButtonActionTakesOnlyPressOrRelease) {
    struct Step {
        const char* value;
        const char* line;
    };
    const Step steps[] = {{"press", "buttonaction=press"},     {"other", "buttonaction=press"},
                          {"", "buttonaction=press"},          {"Release", "buttonaction=press"},
                          {"release", "buttonaction=release"}, {"press", "buttonaction=press"}};
    for (const Step& step : steps) {
        set((std::string("buttonaction=") + step.value).c_str());
        const std::string all = ask("return=all").value_or("");
        EXPECT_NE(all.find(step.line), std::string::npos) << step.value;
    }
    EXPECT_THAT(sent(), IsEmpty()) << "buttonaction touches no control";
}

TEST_F(RyDestTest, AppearanceWritesGoToTheirControls) {
    set("videotallystate=vid_on");
    set("audiotallystate=aud_on");
    set("buttonstyle=wide");
    set("buttonstyle="); // back to empty: a change
    EXPECT_THAT(sent(),
                ElementsAre("TP 'statesheet=vid_on' '1' 'Vid'", "TP 'statesheet=aud_on' '1' 'Aud'",
                            "TP 'stylesheet=wide' '1' 'Button'", "TP 'stylesheet=' '1' 'Button'"));
    // The same texts again, and an empty style on an empty style, send nothing.
    for (const char* text : {"videotallystate=vid_on", "audiotallystate=aud_on",
                             "buttonstyle=", "buttonhigh=", "buttonlow="}) {
        set(text);
    }
    EXPECT_THAT(sent(), IsEmpty());
    set("buttonstyle.x=sub");
    EXPECT_THAT(sent(), ElementsAre("TP 'stylesheet=sub' '1' 'Button'"))
        << "sub-parts do not change the key";
}

} // namespace
