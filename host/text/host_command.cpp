#include "host_command.h"

#include "tokens.h"

namespace {

struct QuotedForm {
    const char* word;
    std::size_t minFields;
    std::size_t maxFields;
    std::size_t freeField; // takes the pieces that do not fit the other fields
};

const QuotedForm quotedForms[] = {
    {"TP", 3, 3, 0}, {"TG", 3, 3, 2}, {"PS", 2, 3, 1}, {"HN", 1, 1, 0}, {"XI", 2, 2, 1},
};

struct NumericForm {
    const char* word;
    std::size_t numbers;
};

const NumericForm numericForms[] = {{"RN", 3}, {"RR", 3}, {"RU", 1},
                                    {"RP", 3}, {"ET", 1}, {"AS", 0}};

std::vector<std::string> splitAt(const std::string& text, const std::string& separator) {
    std::vector<std::string> pieces;
    std::size_t start = 0;
    for (;;) {
        const std::size_t found = text.find(separator, start);
        if (found == std::string::npos) {
            pieces.push_back(text.substr(start));
            return pieces;
        }
        pieces.push_back(text.substr(start, found - start));
        start = found + separator.size();
    }
}

// Joins pieces [first, last) back with the separator they were cut at.
std::string joined(const std::vector<std::string>& pieces, std::size_t first, std::size_t last) {
    std::string text;
    for (std::size_t i = first; i < last; ++i) {
        text += (i == first ? "" : "' '") + pieces[i];
    }
    return text;
}

ParsedHostCommand parseQuoted(const QuotedForm& form, const std::string& text) {
    ParsedHostCommand parsed;
    const std::string opening = std::string(form.word) + " '";
    if (text.size() < opening.size() + 1 || text.compare(0, opening.size(), opening) != 0 ||
        text.back() != '\'') {
        parsed.error = std::string(form.word) + " wants its fields in single quotes";
        return parsed;
    }
    std::vector<std::string> pieces =
        splitAt(text.substr(opening.size(), text.size() - opening.size() - 1), "' '");
    if (pieces.size() < form.minFields) {
        parsed.error = std::string(form.word) + " wants " + std::to_string(form.minFields) +
                       " fields, not " + std::to_string(pieces.size());
        return parsed;
    }
    const std::size_t fields = pieces.size() < form.maxFields ? pieces.size() : form.maxFields;
    const std::size_t extra = pieces.size() - fields;
    HostCommand command;
    command.word = form.word;
    for (std::size_t field = 0, piece = 0; field < fields; ++field) {
        const std::size_t take = field == form.freeField ? extra + 1 : 1;
        command.fields.push_back(joined(pieces, piece, piece + take));
        piece += take;
    }
    parsed.command = std::move(command);
    return parsed;
}

ParsedHostCommand parseNumeric(const NumericForm& form, const std::string& text) {
    ParsedHostCommand parsed;
    std::vector<std::string> words = splitAt(text, " ");
    HostCommand command;
    command.word = form.word;
    if (command.word == "RR" && words.size() == form.numbers + 2 && words.back() == "'ADD'") {
        command.add = true;
        words.pop_back();
    }
    if (words.size() != form.numbers + 1) {
        parsed.error =
            std::string(form.word) + " wants " + std::to_string(form.numbers) + " number(s)";
        return parsed;
    }
    for (std::size_t i = 1; i < words.size(); ++i) {
        const std::optional<int> number = parseInt(words[i]);
        if (!number) {
            parsed.error = std::string(form.word) + ": \"" + words[i] + "\" is not a number";
            return parsed;
        }
        command.numbers.push_back(*number);
    }
    parsed.command = std::move(command);
    return parsed;
}

} // namespace

ParsedHostCommand parseHostCommand(const std::string& text) {
    const std::string word = text.substr(0, text.find(' '));
    for (const QuotedForm& form : quotedForms) {
        if (word == form.word) {
            return parseQuoted(form, text);
        }
    }
    for (const NumericForm& form : numericForms) {
        if (word == form.word) {
            return parseNumeric(form, text);
        }
    }
    ParsedHostCommand unknown;
    unknown.error = "unknown command \"" + word + "\"";
    return unknown;
}
