// Layout files: the controls of a panel and their initial properties.
//
// The format, one control a line:
//
//   # the destination button
//   Button  text="" statesheet="" stylesheet=""
//   Vid     text="" statesheet=""
//
// First the control's id, then any number of property=value words (a value with blanks
// in double quotes). Blank lines and # comments are passed over. Ids are unique.
#pragma once

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

// A control and its properties. Finding a property takes constant time however many the
// control has: a control with more than a few keeps an index of them.
class Control {
public:
    Control() = default;
    explicit Control(std::string controlId) : id(std::move(controlId)) {}
    Control(const Control& other);
    Control& operator=(const Control& other);
    Control(Control&&) noexcept = default;
    Control& operator=(Control&&) noexcept = default;
    ~Control() = default;

    std::string id;

    // In the order the layout names them, then in the order they were first set.
    const std::vector<std::pair<std::string, std::string>>& properties() const {
        return properties_;
    }
    const std::string* find(std::string_view name) const;
    void set(std::string_view name, std::string_view value);

private:
    // Controls with more properties than this index them.
    static constexpr std::size_t scanned = 8;
    // Where the property stands; properties_.size() when it is not there.
    std::size_t position(std::string_view name) const;
    std::vector<std::pair<std::string, std::string>> properties_;
    // Name to position, once there are more than `scanned`; out of line, so that the
    // usual small control stays small.
    std::unique_ptr<std::unordered_map<std::string, std::size_t>> index_;
};

struct Layout {
    std::vector<Control> controls;
    // When the text is no layout: "line N: ..." for a text, "file:N: ..." for a file.
    std::string error;
};

// The layout in `text`; `file` names it in the error, if any.
Layout parseLayout(const std::string& text, const std::string& file = "");
// The layout in the file at `path`. A file that can't be read, a folder, a device or a pipe,
// and a file of more than maxLayoutBytes are errors too.
constexpr unsigned long long maxLayoutBytes = 64ull << 20;
Layout loadLayout(const std::string& path);
