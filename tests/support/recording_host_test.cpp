// The recording host is the instrument of every component test: it must see each
// breach of the give-back rules.
#include "recording_host.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace {

using testing::ElementsAre;
using testing::HasSubstr;
using testing::IsEmpty;

void* send(RecordingHost& host, const char* text) {
    return host.callback(const_cast<char*>(text), zarn_kind_host_command);
}

TEST(RecordingHost, AnswersFromItsTableAndRecordsInOrder) {
    RecordingHost host;
    host.answer("RN 7 1 12", "Studio 12");
    void* reply = send(host, "RN 7 1 12");
    ASSERT_NE(reply, nullptr);
    EXPECT_STREQ(static_cast<const char*>(reply), "Studio 12");
    EXPECT_EQ(send(host, "TP 'text=' '1' 'Vid'"), nullptr);
    host.callback(reply, zarn_kind_give_back);
    EXPECT_THAT(host.commands(), ElementsAre("RN 7 1 12", "TP 'text=' '1' 'Vid'"));
    EXPECT_THAT(host.verify(), IsEmpty());
}

TEST(RecordingHost, SeesEveryBreach) {
    struct Case {
        const char* name;
        void (*act)(RecordingHost&);
        const char* breach;
    };
    const Case cases[] = {
        {"a reading reply kept", [](RecordingHost& h) { send(h, "TG '1' 'c' 'value'"); },
         "never came back"},
        {"a reply given back twice",
         [](RecordingHost& h) {
             void* reply = send(h, "XI '1' 'alm_'");
             h.callback(reply, zarn_kind_give_back);
             h.callback(reply, zarn_kind_give_back);
         },
         "never handed out"},
        {"a kept reply given back",
         [](RecordingHost& h) { h.callback(send(h, "PS '1' 'f'"), zarn_kind_give_back); },
         "that the host keeps"},
        {"a null reply of RN kept", [](RecordingHost& h) { send(h, "RN 1 1 1"); }, "null reply"},
        {"a null given back unasked",
         [](RecordingHost& h) { h.callback(nullptr, zarn_kind_give_back); }, "no RN"},
        {"another kind sent", [](RecordingHost& h) { h.callback(nullptr, 3); }, "kind 3"},
    };
    for (const Case& c : cases) {
        RecordingHost host;
        host.expectBreaches();
        host.answer("TG '1' 'c' 'value'", "value=1");
        host.answer("XI '1' 'alm_'", "alm_1");
        host.answer("PS '1' 'f'", "ok");
        c.act(host);
        ASSERT_EQ(host.verify().size(), 1u) << c.name;
        EXPECT_THAT(host.verify()[0], HasSubstr(c.breach)) << c.name;
    }
}

} // namespace
