#include "../support/test_names.h"
#include "ry_dest_fixture.h"

#include <optional>

namespace {

using testing::ElementsAre;
using testing::ElementsAreArray;
using testing::IsEmpty;

using RyDestRouting = RyDestTest;

TEST_F(RyDestRouting, TypicalConfigurationSendsTheExactStream) {
    answerTypicalTables();
    set("destination_id=12");
    EXPECT_THAT(sent(), ElementsAre("TP 'text=' '1' 'Vid'", "TP 'text=' '1' 'Aud'"));
    set("package_name_id=7");
    EXPECT_THAT(sent(), ElementsAre("RN 7 1 12", "TP 'text=Studio 12' '1' 'Button'"));
    set("package_xpts_id=8");
    EXPECT_THAT(sent(), IsEmpty());
    set("video_matrix_id=1");
    EXPECT_THAT(sent(), IsEmpty());
    set("audio_matrix_id=2");
    EXPECT_THAT(sent(),
                ElementsAre("RN 8 1 12", "RR 2 33 33", "RP 2 33 33", "RR 1 17 17", "RP 1 17 17"));
    route(2, 33, "MIC 4");
    EXPECT_THAT(sent(), ElementsAre("TP 'text=MIC 4' '1' 'Aud'"));
    route(1, 17, "CAM 2");
    EXPECT_THAT(sent(), ElementsAre("TP 'text=CAM 2' '1' 'Vid'"));
    set("destination_id=13");
    EXPECT_THAT(sent(), ElementsAre("RN 7 1 13", "TP 'text=Studio 13' '1' 'Button'", "RU 1", "RU 2",
                                    "TP 'text=' '1' 'Vid'", "TP 'text=' '1' 'Aud'", "RN 8 1 13",
                                    "RR 2 34 34", "RP 2 34 34", "RR 1 18 18", "RP 1 18 18"));
    EXPECT_EQ(ask("return=video_id"), "video_id=18");
    EXPECT_EQ(ask("return=audio_id"), "audio_id=34");
}

TEST_F(RyDestRouting, AValueIsComparedAsText) {
    configureTypically();
    set("destination_id=12");
    EXPECT_THAT(sent(), IsEmpty()) << "the same text changes nothing";
    host.answer("RN 7 1 12", "Studio 12");
    set("destination_id=012");
    EXPECT_THAT(sent(), ElementsAre("RN 7 1 12", "TP 'text=Studio 12' '1' 'Button'", "RU 1", "RU 2",
                                    "TP 'text=' '1' 'Vid'", "TP 'text=' '1' 'Aud'", "RN 8 1 12",
                                    "RR 2 33 33", "RP 2 33 33", "RR 1 17 17", "RP 1 17 17"))
        << "012 after 12 is a change, with the same numbers";
    // No "=": the empty value, which differs from "0" and from "012".
    host.answer("RN 7 1 0", "Nothing");
    set("destination_id");
    EXPECT_THAT(sent(), ElementsAre("RN 7 1 0", "TP 'text=Nothing' '1' 'Button'", "RU 1", "RU 2",
                                    "TP 'text=' '1' 'Vid'", "TP 'text=' '1' 'Aud'"));
    EXPECT_EQ(ask("return=destination_id"), "destination_id=");
}

struct EntryCase {
    const char* name;
    std::optional<std::string> entry; // the crosspoint table's reply; nullopt: null
    std::vector<std::string> registrations;
    int videoIndex;
    int audioIndex;
};

const EntryCase entryCases[] = {
    {"both", "17,33", {"RR 2 33 33", "RP 2 33 33", "RR 1 17 17", "RP 1 17 17"}, 17, 33},
    {"no audio", "17,0", {"RR 1 17 17", "RP 1 17 17"}, 17, 0},
    {"no video", "0,33", {"RR 2 33 33", "RP 2 33 33"}, 0, 33},
    {"no comma", "17", {"RR 1 17 17", "RP 1 17 17"}, 17, 0},
    {"words around numbers",
     "V17 ,A33",
     {"RR 2 33 33", "RP 2 33 33", "RR 1 17 17", "RP 1 17 17"},
     17,
     33},
    {"no numbers", "none,none", {}, 0, 0},
    {"empty", "", {}, 0, 0},
    {"null reply", std::nullopt, {}, 0, 0},
    {"only the first comma cuts",
     "17,33,99",
     {"RR 2 33 33", "RP 2 33 33", "RR 1 17 17", "RP 1 17 17"},
     17,
     33},
};

class RyDestCrosspointEntry : public RyDestTest, public testing::WithParamInterface<EntryCase> {};

TEST_P(RyDestCrosspointEntry, GivesTheIndicesToRegister) {
    const EntryCase& c = GetParam();
    host.answer("RN 8 1 12", c.entry);
    for (const char* text :
         {"destination_id=12", "package_xpts_id=8", "video_matrix_id=1", "audio_matrix_id=2"}) {
        set(text);
    }
    std::vector<std::string> expected = {"TP 'text=' '1' 'Vid'", "TP 'text=' '1' 'Aud'",
                                         "RN 8 1 12"};
    expected.insert(expected.end(), c.registrations.begin(), c.registrations.end());
    EXPECT_THAT(sent(), ElementsAreArray(expected));
    EXPECT_EQ(ask("return=video_id"), "video_id=" + std::to_string(c.videoIndex));
    EXPECT_EQ(ask("return=audio_id"), "audio_id=" + std::to_string(c.audioIndex));
}

INSTANTIATE_TEST_SUITE_P(Table, RyDestCrosspointEntry, testing::ValuesIn(entryCases), NameOfCase());

struct ChangeCase {
    const char* name;
    const char* command;
    std::vector<std::string> sent;
};

// Changes after the typical configuration (video 1/17, audio 2/33, both registered).
const ChangeCase changeCases[] = {
    {"crosspoint table",
     "package_xpts_id=9",
     {"RU 1", "RU 2", "RN 9 1 12", "RR 2 55 55", "RP 2 55 55", "RR 1 44 44", "RP 1 44 44"}},
    {"crosspoint table unset", "package_xpts_id=0", {"RU 1", "RU 2"}},
    {"video matrix",
     "video_matrix_id=3",
     {"RU 1", "RN 8 1 12", "RR 2 33 33", "RP 2 33 33", "RR 3 17 17", "RP 3 17 17"}},
    {"audio matrix",
     "audio_matrix_id=4",
     {"RU 2", "RN 8 1 12", "RR 4 33 33", "RP 4 33 33", "RR 1 17 17", "RP 1 17 17"}},
    // The lookup is skipped, but the indices stand: video registers on device 0.
    {"video matrix unset",
     "video_matrix_id=0",
     {"RU 1", "RR 2 33 33", "RP 2 33 33", "RR 0 17 17", "RP 0 17 17"}},
    {"name table", "package_name_id=5", {"RN 5 1 12", "TP 'text=Stage 12' '1' 'Button'"}},
    {"name table unset", "package_name_id=0", {"RN 0 1 12", "TP 'text=' '1' 'Button'"}},
    {"destination unset",
     "destination_id=0",
     {"RN 7 1 0", "TP 'text=' '1' 'Button'", "RU 1", "RU 2", "TP 'text=' '1' 'Vid'",
      "TP 'text=' '1' 'Aud'"}},
};

class RyDestChange : public RyDestTest, public testing::WithParamInterface<ChangeCase> {};

TEST_P(RyDestChange, SendsItsCommandsInOrder) {
    configureTypically();
    host.answer("RN 9 1 12", "44,55");
    host.answer("RN 5 1 12", "Stage 12");
    set(GetParam().command);
    EXPECT_THAT(sent(), ElementsAreArray(GetParam().sent));
}

INSTANTIATE_TEST_SUITE_P(Table, RyDestChange, testing::ValuesIn(changeCases), NameOfCase());

TEST_F(RyDestRouting, TallyLabelsKeepTheirTextsOverACrosspointTableChange) {
    configureTypically();
    host.answer("RN 9 1 12", "44,55");
    set("package_xpts_id=9");
    for (const std::string& command : sent()) {
        EXPECT_EQ(command.find("'Vid'"), std::string::npos) << command;
        EXPECT_EQ(command.find("'Aud'"), std::string::npos) << command;
    }
    // The old destinations no longer match; the new ones do.
    sendRevertive(*component, 2, 33, "old");
    route(2, 55, "new");
    EXPECT_THAT(sent(), ElementsAre("TP 'text=new' '1' 'Aud'"));
}

TEST_F(RyDestRouting, AMatrixChangeDropsOnlyWhatIsRegistered) {
    // Set, but nothing registered on it yet: there is nothing to drop.
    set("video_matrix_id=1");
    set("audio_matrix_id=2");
    set("video_matrix_id=3");
    set("audio_matrix_id=4");
    EXPECT_THAT(sent(), IsEmpty());
}

TEST_F(RyDestRouting, NameTableWithoutADestinationSendsNothing) {
    set("package_name_id=7");
    EXPECT_THAT(sent(), IsEmpty());
    host.answer("RN 7 1 12", std::nullopt);
    set("destination_id=12");
    EXPECT_THAT(sent(), ElementsAre("RN 7 1 12", "TP 'text=' '1' 'Button'", "TP 'text=' '1' 'Vid'",
                                    "TP 'text=' '1' 'Aud'"))
        << "no name gives an empty caption";
}

struct RevertiveCase {
    const char* name;
    int device;
    int index;
    std::vector<std::string> sent;
};

const RevertiveCase revertiveCases[] = {
    {"audio", 2, 33, {"TP 'text=SRC' '1' 'Aud'"}},
    {"video", 1, 17, {"TP 'text=SRC' '1' 'Vid'"}},
    {"audio device, video index", 2, 17, {}},
    {"video device, audio index", 1, 33, {}},
    {"another device", 3, 33, {}},
    {"another index", 1, 18, {}},
};

class RyDestRevertive : public RyDestTest, public testing::WithParamInterface<RevertiveCase> {};

TEST_P(RyDestRevertive, MatchesDeviceAndIndex) {
    configureTypically();
    sendRevertive(*component, GetParam().device, GetParam().index, "SRC");
    EXPECT_THAT(sent(), ElementsAreArray(GetParam().sent));
}

INSTANTIATE_TEST_SUITE_P(Table, RyDestRevertive, testing::ValuesIn(revertiveCases), NameOfCase());

TEST_F(RyDestRouting, OneRouterForBothLevelsShowsBothTallies) {
    host.answer("RN 8 1 12", "17,33");
    for (const char* text :
         {"destination_id=12", "package_xpts_id=8", "video_matrix_id=5", "audio_matrix_id=5"}) {
        set(text);
    }
    // Audio first, plain; video added to it, so that a host keeps both.
    EXPECT_THAT(sent(), ElementsAre("TP 'text=' '1' 'Vid'", "TP 'text=' '1' 'Aud'", "RN 8 1 12",
                                    "RR 5 33 33", "RP 5 33 33", "RR 5 17 17 'ADD'", "RP 5 17 17"));
    EXPECT_EQ(host.registrations(5), "33-33,17-17");
    route(5, 33, "MIC 1");
    route(5, 17, "CAM 1");
    EXPECT_THAT(sent(), ElementsAre("TP 'text=MIC 1' '1' 'Aud'", "TP 'text=CAM 1' '1' 'Vid'"));

    // Both levels on the same destination: audio first, then video.
    host.answer("RN 8 1 13", "40,40");
    set("destination_id=13");
    EXPECT_EQ(host.registrations(5), "40-40,40-40");
    sent();
    route(5, 40, "PKG");
    EXPECT_THAT(sent(), ElementsAre("TP 'text=PKG' '1' 'Aud'", "TP 'text=PKG' '1' 'Vid'"));
}

struct SharedRouterCase {
    const char* name;
    const char* command;
    const char* registrations; // on device 5 afterwards
};

// After both levels are set on device 5 (audio 33, video 17), a change keeps the host's
// registrations right: whatever RU drops on the shared device is registered again.
const SharedRouterCase sharedRouterCases[] = {
    {"video moves away", "video_matrix_id=6", "33-33"},
    {"audio moves away", "audio_matrix_id=6", "17-17"},
    {"crosspoint table changes", "package_xpts_id=9", "55-55,44-44"},
    {"destination changes", "destination_id=13", "34-34,18-18"},
};

class RyDestSharedRouter : public RyDestTest,
                           public testing::WithParamInterface<SharedRouterCase> {};

TEST_P(RyDestSharedRouter, KeepsBothLevelsRegistered) {
    host.answer("RN 8 1 12", "17,33");
    host.answer("RN 8 1 13", "18,34");
    host.answer("RN 9 1 12", "44,55");
    for (const char* text :
         {"destination_id=12", "package_xpts_id=8", "video_matrix_id=5", "audio_matrix_id=5"}) {
        set(text);
    }
    set(GetParam().command);
    EXPECT_EQ(host.registrations(5), GetParam().registrations);
}

INSTANTIATE_TEST_SUITE_P(Table, RyDestSharedRouter, testing::ValuesIn(sharedRouterCases),
                         NameOfCase());

TEST_F(RyDestRouting, TwoRoutersKeepPlainRegistrations) {
    // The 'ADD' form is only for a shared router: with audio 0 there is nothing to add to.
    host.answer("RN 8 1 12", "17,0");
    for (const char* text :
         {"destination_id=12", "package_xpts_id=8", "video_matrix_id=5", "audio_matrix_id=5"}) {
        set(text);
    }
    EXPECT_THAT(sent(), ElementsAre("TP 'text=' '1' 'Vid'", "TP 'text=' '1' 'Aud'", "RN 8 1 12",
                                    "RR 5 17 17", "RP 5 17 17"));
}

TEST_F(RyDestRouting, ARevertiveDuringThePollAlreadyMatches) {
    host.answer("RN 8 1 12", "17,33");
    // A host that answers each poll inside the poll call.
    host.onCommand([this](const std::string& command) {
        if (command == "RP 2 33 33") {
            sendRevertive(*component, 2, 33, "MIC 9");
        } else if (command == "RP 1 17 17") {
            sendRevertive(*component, 1, 17, "CAM 9");
        }
    });
    for (const char* text :
         {"destination_id=12", "package_xpts_id=8", "video_matrix_id=1", "audio_matrix_id=2"}) {
        set(text);
    }
    EXPECT_THAT(sent(), ElementsAre("TP 'text=' '1' 'Vid'", "TP 'text=' '1' 'Aud'", "RN 8 1 12",
                                    "RR 2 33 33", "RP 2 33 33", "TP 'text=MIC 9' '1' 'Aud'",
                                    "RR 1 17 17", "RP 1 17 17", "TP 'text=CAM 9' '1' 'Vid'"));
    host.onCommand(nullptr);
}

} // namespace
