#include "check_report.h"

#include "json.h"

#include <cstdio>
#include <fstream>
#include <map>

namespace {

std::string milliseconds(double ms) {
    char text[32];
    std::snprintf(text, sizeof text, "%.1f ms", ms);
    return text;
}

std::string xmlEscaped(const std::string& text) {
    std::string out;
    for (char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        switch (c) {
        case '&':
            out += "&amp;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        case '"':
            out += "&quot;";
            break;
        default:
            // XML 1.0 has no room for most control characters, and wants valid UTF-8.
            if (byte < 0x20 && c != '\t' && c != '\n') {
                out += '?';
            } else if (byte >= 0x80) {
                out += '?';
            } else {
                out += c;
            }
        }
    }
    return out;
}

bool failed(TestResult::Kind kind) {
    return kind == TestResult::Kind::Fail || kind == TestResult::Kind::Crash ||
           kind == TestResult::Kind::Timeout;
}

} // namespace

void CheckReport::begin(const std::string& module, std::uint64_t seed, int level) {
    if (json_) {
        out_ << jsonLine({{"type", "module"}, {"module", module}, {"seed", seed}, {"level", level}})
             << std::endl;
        return;
    }
    out_ << "zarn-host check " << module << " (seed " << seed << ", level " << level << ")"
         << std::endl;
}

void CheckReport::unusable(const std::string& module, const std::string& why) {
    ++unusable_;
    if (json_) {
        out_ << jsonLine({{"type", "unusable"}, {"module", module}, {"reason", why}}) << std::endl;
        return;
    }
    out_ << "zarn-host check " << module << ": " << why << std::endl;
}

void CheckReport::test(const std::string& module, const std::string& name, std::uint64_t seed,
                       const TestResult& result) {
    entries_.push_back({module, name, seed, result});
    if (failed(result.kind) && repeatWith_.empty()) {
        repeatWith_ = module + " --seed " + std::to_string(seed) + " --only '^" + name + "$'";
    }
    if (json_) {
        nlohmann::ordered_json line = {{"type", "test"},
                                       {"module", module},
                                       {"test", name},
                                       {"outcome", resultName(result.kind)},
                                       {"ms", static_cast<long long>(result.milliseconds)},
                                       {"seed", seed}};
        if (!result.reason.empty()) {
            line["reason"] = result.reason;
        }
        out_ << jsonLine(line) << std::endl;
        return;
    }
    char head[96];
    std::snprintf(head, sizeof head, "  %-8s %-30s %10s", resultName(result.kind), name.c_str(),
                  milliseconds(result.milliseconds).c_str());
    out_ << head << (result.reason.empty() ? "" : "  " + result.reason) << std::endl;
}

int CheckReport::finish() {
    int passed = 0;
    int failures = 0;
    int skipped = 0;
    for (const Entry& entry : entries_) {
        passed += entry.result.kind == TestResult::Kind::Pass;
        skipped += entry.result.kind == TestResult::Kind::Skip;
        failures += failed(entry.result.kind);
    }
    const bool ran = passed + failures > 0;
    const int status = unusable_ > 0 || !ran ? 2 : failures > 0 ? 1 : 0;
    const char* verdict = status == 0 ? "SUCCESS" : "FAILURE";
    if (json_) {
        out_ << jsonLine({{"type", "summary"},
                          {"passed", passed},
                          {"failed", failures},
                          {"skipped", skipped},
                          {"verdict", verdict}})
             << std::endl;
        return status;
    }
    out_ << passed << " passed, " << failures << " failed";
    if (skipped > 0) {
        out_ << ", " << skipped << " skipped";
    }
    out_ << std::endl;
    if (!ran && unusable_ == 0) {
        out_ << "no test ran" << std::endl;
    }
    if (!repeatWith_.empty()) {
        out_ << "repeat the first failure with: zarn-host check " << repeatWith_ << std::endl;
    }
    out_ << verdict << std::endl;
    return status;
}

bool CheckReport::writeJunit(const std::string& path) const {
    std::map<std::string, std::vector<const Entry*>> byModule;
    for (const Entry& entry : entries_) {
        byModule[entry.module].push_back(&entry);
    }
    std::ofstream file(path, std::ios::binary);
    file << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<testsuites name=\"zarn-host check\">\n";
    for (const auto& [module, entries] : byModule) {
        int failures = 0;
        int skipped = 0;
        double seconds = 0;
        for (const Entry* entry : entries) {
            failures += failed(entry->result.kind);
            skipped += entry->result.kind == TestResult::Kind::Skip;
            seconds += entry->result.milliseconds / 1000;
        }
        file << "  <testsuite name=\"" << xmlEscaped(module) << "\" tests=\"" << entries.size()
             << "\" failures=\"" << failures << "\" errors=\"0\" skipped=\"" << skipped
             << "\" time=\"" << seconds << "\">\n";
        for (const Entry* entry : entries) {
            const std::size_t dot = entry->name.find('.');
            file << "    <testcase classname=\"" << xmlEscaped(entry->name.substr(0, dot))
                 << "\" name=\"" << xmlEscaped(entry->name) << "\" time=\""
                 << entry->result.milliseconds / 1000 << "\">";
            if (failed(entry->result.kind)) {
                file << "<failure type=\"" << resultName(entry->result.kind) << "\" message=\""
                     << xmlEscaped(entry->result.reason) << "\">seed " << entry->seed
                     << "</failure>";
            } else if (entry->result.kind == TestResult::Kind::Skip) {
                file << "<skipped message=\"" << xmlEscaped(entry->result.reason) << "\"/>";
            }
            file << "</testcase>\n";
        }
        file << "  </testsuite>\n";
    }
    file << "</testsuites>\n";
    file.close();
    return !file.fail();
}
