// libFuzzer: the layout reader. A text it reads is written back, with every word quoted
// as the reader wants it, and read again: the same controls, the same properties in the
// same order. Every id is there once, and no id is empty or holds an "=".
#include "fuzz_check.h"

#include "layout.h"
#include "tokens.h"

#include <cstddef>
#include <cstdint>
#include <set>
#include <string>

namespace {

std::string written(const Layout& layout) {
    std::string text;
    for (const Control& control : layout.controls) {
        text += quoteWord(control.id);
        for (const auto& [name, value] : control.properties()) {
            text += " " + quoteWord(name + "=" + value);
        }
        text += "\n";
    }
    return text;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    const Layout layout = parseLayout(text);
    if (!layout.error.empty()) {
        FUZZ_CHECK(layout.error.rfind("line ", 0) == 0, "an error names its line");
        return 0;
    }
    std::set<std::string> ids;
    for (const Control& control : layout.controls) {
        FUZZ_CHECK(!control.id.empty() && control.id.find('=') == std::string::npos,
                   "an id is a word without =");
        FUZZ_CHECK(ids.insert(control.id).second, "every id once");
        for (const auto& [name, value] : control.properties()) {
            FUZZ_CHECK(control.find(name) != nullptr && *control.find(name) == value,
                       "a property reads back its value");
        }
    }
    const Layout again = parseLayout(written(layout));
    FUZZ_CHECK(again.error.empty(), "a layout written back reads again");
    FUZZ_CHECK(again.controls.size() == layout.controls.size(), "as many controls");
    for (std::size_t i = 0; i < layout.controls.size(); ++i) {
        FUZZ_CHECK(again.controls[i].id == layout.controls[i].id, "the same ids");
        FUZZ_CHECK(again.controls[i].properties() == layout.controls[i].properties(),
                   "the same properties in the same order");
    }
    return 0;
}
