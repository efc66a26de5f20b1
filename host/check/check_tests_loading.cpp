// zarn-host check: loading the module and creating its components.
#include "check_session.h"
#include "check_tests.h"
#include "check_workout.h"
#include "module_exports.h"

#include <fstream>
#include <iterator>

namespace check_tests {

namespace {

constexpr double loadBudgetMilliseconds = 1000;

std::string listed(const std::vector<std::string>& names) {
    std::string text;
    for (const std::string& name : names) {
        text += (text.empty() ? "" : ", ") + name;
    }
    return text.empty() ? "nothing" : text;
}

// A component made by the factory with `path` lives, answers its parent and dies.
TestOutcome createdWith(CheckContext& context, const char* path, bool withHost) {
    CheckSession session(context.module, context.inFlight);
    const int id = session.create(path, withHost);
    if (id < 0) {
        return TestOutcome::fail("the factory gave no component");
    }
    session.parent(id, "return=all");
    session.destroy(id);
    return TestOutcome::pass();
}

} // namespace

TestOutcome opens(CheckContext& context) {
    const ComponentModule again(context.modulePath);
    return again.loaded() ? TestOutcome::pass() : TestOutcome::fail(again.error());
}

TestOutcome exportsFactory(CheckContext& context) {
    return context.module.loaded() ? TestOutcome::pass()
                                   : TestOutcome::fail(context.module.error());
}

TestOutcome exportsOnlyFactory(CheckContext& context) {
    std::ifstream file(context.modulePath, std::ios::binary);
    const std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(file)),
                                          std::istreambuf_iterator<char>());
    const ModuleExports exports = readModuleExports(bytes);
    if (!exports.error.empty()) {
        return TestOutcome::fail("cannot read its exports: " + exports.error);
    }
    if (exports.names != std::vector<std::string>{ZARN_LOAD_CLIENT_SCRIPT_NAME}) {
        return TestOutcome::fail("it exports " + listed(exports.names) + ", not only " +
                                 ZARN_LOAD_CLIENT_SCRIPT_NAME);
    }
    return TestOutcome::pass();
}

TestOutcome reloads(CheckContext& context) {
    for (int round = 0; round < 2; ++round) {
        const ComponentModule module(context.modulePath);
        if (!module.loaded()) {
            return TestOutcome::fail("load " + std::to_string(round + 1) + ": " + module.error());
        }
        CheckSession session(module, context.inFlight);
        const int id = session.create(moduleFolder(context.modulePath).c_str());
        if (id < 0) {
            return TestOutcome::fail("load " + std::to_string(round + 1) +
                                     ": the factory gave no component");
        }
        session.parent(id, "return=all");
    }
    return TestOutcome::pass();
}

TestOutcome loadsInTime(CheckContext& context) {
    if (context.loadMilliseconds > loadBudgetMilliseconds) {
        return TestOutcome::fail("it took " + std::to_string(context.loadMilliseconds) +
                                 " ms to load");
    }
    return TestOutcome::pass();
}

TestOutcome nullHost(CheckContext& context) {
    return createdWith(context, "", false);
}

TestOutcome emptyPath(CheckContext& context) {
    return createdWith(context, "", true);
}

TestOutcome longPath(CheckContext& context) {
    std::string path;
    while (path.size() < 64 * 1024) {
        path += "folder/";
    }
    return createdWith(context, path.c_str(), true);
}

TestOutcome pathWithBlanks(CheckContext& context) {
    return createdWith(context, "a folder/with blanks/ in it", true);
}

TestOutcome sideBySide(CheckContext& context) {
    CheckSession session(context.module, context.inFlight);
    const std::string folder = moduleFolder(context.modulePath);
    std::vector<int> ids;
    for (int i = 0; i < 8; ++i) {
        const int id = session.create(folder.c_str());
        if (id < 0) {
            return TestOutcome::fail("the factory gave no component " + std::to_string(i + 1));
        }
        ids.push_back(id);
    }
    for (int id : ids) {
        workout(session, id);
    }
    for (auto it = ids.rbegin(); it != ids.rend(); ++it) {
        session.destroy(*it);
    }
    return TestOutcome::pass();
}

TestOutcome detachesLast(CheckContext& context) {
    CheckSession session(context.module, context.inFlight);
    const int id = session.create(moduleFolder(context.modulePath).c_str());
    if (id < 0) {
        return TestOutcome::fail("the factory gave no component");
    }
    session.destroy(id);
    const std::vector<std::string>& sent = session.instance(id).sent;
    if (sent.empty() || sent.back() != "AS") {
        return TestOutcome::fail(sent.empty()
                                     ? "it sent nothing, not AS"
                                     : "its last command was \"" + sent.back() + "\", not AS");
    }
    if (!session.breaches("detach").empty()) {
        return TestOutcome::fail(session.breaches("detach").front());
    }
    return TestOutcome::pass();
}

} // namespace check_tests
