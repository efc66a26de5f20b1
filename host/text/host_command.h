// Reading the command texts that components send with kind 0.
//
// Text commands carry quoted fields: TP 'property=value' 'panel' 'control'. Fields are not
// escaped, so a field may hold a quote; where a command has a free-text field (the value
// of TP, the message of HN, the file of PS) that field takes whatever does not fit the
// others, so "TP 'text=it's' '1' 'Vid'" reads as property text, value it's. Numeric
// commands carry signed decimal numbers: RR 2 33 33, RR 2 33 33 'ADD'.
//
// The reading makes no copy: the word and the fields are views of the text, valid while
// the text lives unchanged.
#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

struct HostCommand {
    // The most fields (TP, TG, PS) and numbers (RN, RR, RP) a command has.
    static constexpr std::size_t maxParts = 3;

    std::string_view word; // "TP", "TG", "PS", "HN", "XI", "RN", "RR", "RU", ...
    std::array<std::string_view, maxParts> fields{}; // the quoted fields, in order
    std::size_t fieldCount = 0;
    std::array<int, maxParts> numbers{}; // the numbers, in order
    std::size_t numberCount = 0;
    bool add = false; // "RR ... 'ADD'"

    bool quoted() const { return fieldCount != 0; }
};

struct ParsedHostCommand {
    std::optional<HostCommand> command;
    std::string error; // why the text is no command this host knows
};

// The command in `text`, whose views stay valid while `text` lives unchanged.
ParsedHostCommand parseHostCommand(std::string_view text);
