// Reading the command texts that components send with kind 0.
//
// Text commands carry quoted fields: TP 'property=value' 'panel' 'control'. Fields are not
// escaped, so a field may hold a quote; where a command has a free-text field (the value
// of TP, the message of HN, the file of PS) that field takes whatever does not fit the
// others, so "TP 'text=it's' '1' 'Vid'" reads as property text, value it's.
#pragma once

#include <optional>
#include <string>
#include <vector>

struct HostCommand {
    std::string word;                // "TP", "TG", "PS", "HN", "XI", "RN", "RR", "RU", ...
    std::vector<std::string> fields; // the quoted fields, in order
    std::vector<int> numbers;        // the numbers, in order
    bool add = false;                // "RR ... 'ADD'"
};

struct ParsedHostCommand {
    std::optional<HostCommand> command;
    std::string error; // why the text is no command this host knows
};

ParsedHostCommand parseHostCommand(const std::string& text);
