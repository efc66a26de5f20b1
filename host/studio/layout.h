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

#include <optional>
#include <string>
#include <utility>
#include <vector>

struct Control {
    std::string id;
    // In the order the layout names them, then in the order they were first set.
    std::vector<std::pair<std::string, std::string>> properties;

    const std::string* find(const std::string& name) const;
    void set(const std::string& name, const std::string& value);
};

struct Layout {
    std::vector<Control> controls;
    std::string error; // "line N: ..." when the text is no layout
};

// The layout in `text`.
Layout parseLayout(const std::string& text);
// The layout in the file at `path`; a file that can't be read is an error too.
Layout loadLayout(const std::string& path);
