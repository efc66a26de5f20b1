// zarn-host check: the host contract, message by message: replies, commands, exceptions,
// and every kind of message a host may deliver, well-formed or not.
#include "check_session.h"
#include "check_tests.h"
#include "check_workout.h"

#include <zarn_script_helper/parsed_command.h>
#include <zarn_script_helper/record_builders.h>

#include <climits>
#include <cstdint>

namespace check_tests {

namespace {

// The first breach of `kind`, as the test's reason; a pass when there is none.
TestOutcome noBreach(const CheckSession& session, const char* kind) {
    const std::vector<std::string>& seen = session.breaches(kind);
    if (seen.empty()) {
        return TestOutcome::pass();
    }
    return TestOutcome::fail(
        seen.front() +
        (seen.size() > 1 ? " (and " + std::to_string(seen.size() - 1) + " more)" : ""));
}

// A workout of one instance with the host answering as told, destroyed at its end.
TestOutcome workedOut(CheckContext& context, const char* kind,
                      CheckSession::Answers answers = CheckSession::Answers::Normal,
                      std::size_t length = 6) {
    CheckSession session(context.module, context.inFlight);
    session.answers = answers;
    const int id = session.create(moduleFolder(context.modulePath).c_str());
    if (id < 0) {
        return TestOutcome::fail("the factory gave no component");
    }
    WorkoutTexts texts;
    texts.length = length;
    workout(session, id, texts);
    session.destroy(id);
    return kind != nullptr ? noBreach(session, kind) : TestOutcome::pass();
}

// Messages that call for nothing: the instance must send nothing while they arrive.
TestOutcome sendsNothing(CheckSession& session, int id, const std::string& what,
                         void (*deliver)(CheckSession&, int)) {
    const std::size_t before = session.instance(id).sent.size();
    deliver(session, id);
    const std::vector<std::string>& sent = session.instance(id).sent;
    if (sent.size() != before) {
        return TestOutcome::fail(what + " made it send \"" + sent[before] + "\"");
    }
    return TestOutcome::pass();
}

// One instance, made and worked out once, for the message tests.
struct Placed {
    explicit Placed(CheckContext& context) : session(context.module, context.inFlight) {
        id = session.create(moduleFolder(context.modulePath).c_str());
        if (id >= 0) {
            workout(session, id);
        }
    }
    CheckSession session;
    int id;
};

std::string big(std::size_t size, char fill) {
    return std::string(size, fill);
}

} // namespace

TestOutcome givenBack(CheckContext& context) {
    return workedOut(context, "replies");
}

TestOutcome parentReplies(CheckContext& context) {
    // The session reads every reply, gives it back and reports what goes wrong.
    return workedOut(context, nullptr);
}

// Survived: what a component does with what it gets is its own.
TestOutcome nullAnswers(CheckContext& context) {
    return workedOut(context, nullptr, CheckSession::Answers::Null);
}

TestOutcome emptyAnswers(CheckContext& context) {
    return workedOut(context, nullptr, CheckSession::Answers::Empty);
}

TestOutcome knownCommands(CheckContext& context) {
    return workedOut(context, "commands");
}

TestOutcome wholeCommands(CheckContext& context) {
    return workedOut(context, "commands", CheckSession::Answers::Normal, 300);
}

TestOutcome hostKinds(CheckContext& context) {
    return workedOut(context, "kinds");
}

TestOutcome noExceptions(CheckContext& context) {
    return workedOut(context, "exceptions");
}

TestOutcome timerTicks(CheckContext& context) {
    Placed placed(context);
    if (placed.id < 0) {
        return TestOutcome::fail("the factory gave no component");
    }
    for (int id : {1, 0, -3, 7, INT_MAX, INT_MIN}) {
        placed.session.timer(placed.id, id);
    }
    return TestOutcome::pass();
}

TestOutcome otherKinds(CheckContext& context) {
    Placed placed(context);
    if (placed.id < 0) {
        return TestOutcome::fail("the factory gave no component");
    }
    return sendsNothing(placed.session, placed.id, "a message of kind 0, 5, 6, 7 or beyond",
                        [](CheckSession& session, int id) {
                            static char word[] = "a data word";
                            session.call(id, const_cast<char*>("RN 1 1 1"), 0, "kind 0");
                            session.call(id, nullptr, 5, "kind 5 with null");
                            for (int kind : {6, 7}) {
                                session.call(id, nullptr, kind, "null");
                                session.call(id, word, kind, "a data word");
                            }
                            for (int kind : {-1, 8, 9, 100, INT_MAX, INT_MIN}) {
                                session.call(id, nullptr, kind, "null");
                                session.call(id, word, kind, "a data word");
                            }
                        });
}

TestOutcome nullRecords(CheckContext& context) {
    Placed placed(context);
    if (placed.id < 0) {
        return TestOutcome::fail("the factory gave no component");
    }
    TestOutcome outcome =
        sendsNothing(placed.session, placed.id, "a null record", [](CheckSession& session, int id) {
            session.call(id, nullptr, zarn_kind_revertive, "a null revertive record");
            session.call(id, nullptr, zarn_kind_control_event, "a null control event record");
        });
    // Records with null texts in them, and a parsed event whose counts are out of range.
    ControlEvent empty{0, 0, nullptr, nullptr, nullptr};
    placed.session.call(placed.id, &empty, zarn_kind_control_event,
                        "a control event with null panel, control and event");
    ParsedCommand nulls{};
    nulls.subPartCount = 0;
    ControlEvent withNulls{0, 0, "1", "Button", &nulls};
    placed.session.call(placed.id, &withNulls, zarn_kind_control_event,
                        "an event whose texts are all null");
    OwnedParsedCommand released("button=released");
    ParsedCommand odd = released.record();
    odd.subPartCount = 1000;
    ControlEvent oddCount{0, 0, "1", "Button", &odd};
    placed.session.call(placed.id, &oddCount, zarn_kind_control_event,
                        "an event with 1000 sub-parts said");
    odd.subPartCount = -5;
    placed.session.call(placed.id, &oddCount, zarn_kind_control_event,
                        "an event with -5 sub-parts said");
    placed.session.call(placed.id, nullptr, zarn_kind_parent_command, "a null parent command");
    return outcome;
}

TestOutcome bigTexts(CheckContext& context) {
    Placed placed(context);
    if (placed.id < 0) {
        return TestOutcome::fail("the factory gave no component");
    }
    const std::string mebibyte = big(1 << 20, 'x');
    placed.session.parent(placed.id, ("key=" + mebibyte).c_str());
    placed.session.parent(placed.id, mebibyte.c_str());
    placed.session.revertive(placed.id, 1, 1, mebibyte);
    for (const auto& [device, ranges] : placed.session.instance(placed.id).registrations) {
        placed.session.revertive(placed.id, device, ranges.front().first, mebibyte);
    }
    placed.session.controlEvent(placed.id, "1", "Button", ("button=" + mebibyte).c_str());
    placed.session.controlEvent(placed.id, mebibyte.c_str(), mebibyte.c_str(), "button=pressed");
    return TestOutcome::pass();
}

TestOutcome fullStops(CheckContext& context) {
    Placed placed(context);
    if (placed.id < 0) {
        return TestOutcome::fail("the factory gave no component");
    }
    for (int stops : {31, 32, 33, 40, 1000}) {
        std::string text = "key";
        for (int i = 0; i < stops; ++i) {
            text += "." + std::to_string(i);
        }
        placed.session.parent(placed.id, (text + "=value").c_str());
        placed.session.parent(placed.id, (text + "=a.b=c").c_str());
        placed.session.controlEvent(placed.id, "1", "Button", (text + "=released").c_str());
    }
    placed.session.parent(placed.id, big(5000, '.').c_str());
    return TestOutcome::pass();
}

TestOutcome bigNumbers(CheckContext& context) {
    Placed placed(context);
    if (placed.id < 0) {
        return TestOutcome::fail("the factory gave no component");
    }
    for (const char* number : {"99999999999999999999", "-99999999999999999999", "2147483648",
                               "-2147483649", "2147483647", "-2147483648", "0x7fffffff", "1e9"}) {
        for (const char* key : {"key", "index", "return"}) {
            placed.session.parent(placed.id, (std::string(key) + "=" + number).c_str());
        }
    }
    for (int device : {INT_MAX, INT_MIN, -1, 0}) {
        for (int index : {INT_MAX, INT_MIN, -1, 0}) {
            placed.session.revertive(placed.id, device, index, "SRC");
        }
    }
    return TestOutcome::pass();
}

TestOutcome oddBytes(CheckContext& context) {
    Placed placed(context);
    if (placed.id < 0) {
        return TestOutcome::fail("the factory gave no component");
    }
    for (const char* text : {"\xff\xfe\xfd", "\xc3\x28", "\xe2\x82", "\x01\x02\x1b[2J", "\t\r\n",
                             "'\"\\%1%2%9", "caf\xc3\xa9"}) {
        placed.session.parent(placed.id, text);
        placed.session.parent(placed.id, (std::string("key=") + text).c_str());
        placed.session.revertive(placed.id, 1, 1, text);
        placed.session.controlEvent(placed.id, text, "Button", text);
        placed.session.controlEvent(placed.id, "1", "Button",
                                    (std::string("button=") + text).c_str());
    }
    return TestOutcome::pass();
}

} // namespace check_tests
