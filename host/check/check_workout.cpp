#include "check_workout.h"

#include <vector>

namespace {} // namespace

std::vector<std::string> propertyKeys(const std::string& reply) {
    std::vector<std::string> keys;
    std::size_t start = 0;
    while (start <= reply.size()) {
        const std::size_t end = reply.find('\n', start);
        const std::string line = reply.substr(start, end - start);
        const std::size_t equals = line.find('=');
        if (equals != std::string::npos && equals > 0) {
            keys.push_back(line.substr(0, equals));
        }
        if (end == std::string::npos) {
            break;
        }
        start = end + 1;
    }
    return keys;
}

namespace {

std::string valueOf(std::size_t length, char seed) {
    std::string value(length, seed);
    for (std::size_t i = 0; i < length; ++i) {
        value[i] = static_cast<char>('0' + (seed + i) % 10);
    }
    return value;
}

} // namespace

std::string moduleFolder(const std::string& path) {
    const std::size_t slash = path.find_last_of("/\\");
    return slash == std::string::npos ? "." : path.substr(0, slash);
}

void workout(CheckSession& session, int id, const WorkoutTexts& texts) {
    for (const char* text :
         {"_events", "_commands", "return", "", "=", "key", "a.b.c=d", "index=1", "index=-1"}) {
        session.parent(id, text);
    }
    // Every property "return=all" names, set twice and read back.
    const std::optional<std::string> all = session.parent(id, "return=all");
    const std::vector<std::string> keys = all ? propertyKeys(*all) : std::vector<std::string>{};
    for (char round : {'1', '2'}) {
        for (const std::string& key : keys) {
            session.parent(id, (key + "=" + valueOf(texts.length, round)).c_str());
        }
    }
    for (const std::string& key : keys) {
        session.parent(id, ("return=" + key).c_str());
    }
    session.parent(id, "return=all");
    // An operator on every control of its panel.
    std::vector<std::string> controls = session.instance(id).controls;
    controls.push_back("Button");
    for (const std::string& control : controls) {
        for (const char* event : {"button=pressed", "button=released"}) {
            session.controlEvent(id, "1", control.c_str(), event);
        }
    }
    // What the routers say of its destinations, and of one it never asked for.
    const auto registrations = session.instance(id).registrations;
    for (const auto& [device, ranges] : registrations) {
        for (const auto& [first, last] : ranges) {
            for (long long destination = first; destination <= last && destination < first + 8;
                 ++destination) {
                session.revertive(id, device, static_cast<int>(destination),
                                  valueOf(texts.length, 'S'));
            }
        }
    }
    session.revertive(id, 1, 99999, "nobody's");
}
