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

constexpr std::string_view separator = "' '";

ParsedHostCommand refused(std::string error) {
    ParsedHostCommand parsed;
    parsed.error = std::move(error);
    return parsed;
}

// The body's pieces are what lies between the separators found left to right. The
// pieces [first, last) as one view: they lie side by side in the body.
struct Pieces {
    std::string_view body;
    std::size_t count = 0;
    // Where piece i starts and ends, for the first and the last few pieces.
    static constexpr std::size_t kept = HostCommand::maxParts;
    std::size_t firstStarts[kept] = {};
    std::size_t firstEnds[kept] = {};
    std::size_t lastStarts[kept] = {};
    std::size_t lastEnds[kept] = {};

    explicit Pieces(std::string_view text) : body(text) {
        std::size_t start = 0;
        for (;;) {
            const std::size_t found = body.find(separator, start);
            const std::size_t end = found == std::string_view::npos ? body.size() : found;
            if (count < kept) {
                firstStarts[count] = start;
                firstEnds[count] = end;
            }
            lastStarts[count % kept] = start;
            lastEnds[count % kept] = end;
            ++count;
            if (found == std::string_view::npos) {
                return;
            }
            start = found + separator.size();
        }
    }
    std::size_t startOf(std::size_t piece) const {
        return piece < kept ? firstStarts[piece] : lastStarts[piece % kept];
    }
    std::size_t endOf(std::size_t piece) const {
        return piece < kept ? firstEnds[piece] : lastEnds[piece % kept];
    }
    std::string_view joined(std::size_t first, std::size_t last) const {
        return body.substr(startOf(first), endOf(last - 1) - startOf(first));
    }
};

ParsedHostCommand parseQuoted(const QuotedForm& form, std::string_view text) {
    const std::string word = form.word;
    const std::size_t opening = word.size() + 2; // the word, " '"
    if (text.size() < opening + 1 || text.substr(word.size(), 2) != " '" || text.back() != '\'') {
        return refused(word + " wants its fields in single quotes");
    }
    const Pieces pieces(text.substr(opening, text.size() - opening - 1));
    if (pieces.count < form.minFields) {
        return refused(word + " wants " + std::to_string(form.minFields) + " fields, not " +
                       std::to_string(pieces.count));
    }
    const std::size_t fields = pieces.count < form.maxFields ? pieces.count : form.maxFields;
    const std::size_t extra = pieces.count - fields;
    HostCommand command;
    command.word = text.substr(0, word.size());
    for (std::size_t field = 0, piece = 0; field < fields; ++field) {
        const std::size_t take = field == form.freeField ? extra + 1 : 1;
        command.fields[field] = pieces.joined(piece, piece + take);
        piece += take;
    }
    command.fieldCount = fields;
    ParsedHostCommand parsed;
    parsed.command = command;
    return parsed;
}

ParsedHostCommand parseNumeric(const NumericForm& form, std::string_view text) {
    const std::string word = form.word;
    HostCommand command;
    command.word = text.substr(0, word.size());
    std::string_view rest = text.substr(word.size());
    if (word == "RR" && rest.size() >= 6 && rest.substr(rest.size() - 6) == " 'ADD'") {
        command.add = true;
        rest.remove_suffix(6);
    }
    // Each number after one blank.
    std::size_t count = 0;
    while (!rest.empty()) {
        if (rest[0] != ' ' || count == form.numbers) {
            return refused(word + " wants " + std::to_string(form.numbers) + " number(s)");
        }
        rest.remove_prefix(1);
        const std::size_t blank = rest.find(' ');
        const std::string_view number = rest.substr(0, blank);
        const std::optional<int> value = parseInt(number);
        if (!value) {
            return refused(word + ": \"" + std::string(number) + "\" is not a number");
        }
        command.numbers[count++] = *value;
        rest.remove_prefix(number.size());
    }
    if (count != form.numbers) {
        return refused(word + " wants " + std::to_string(form.numbers) + " number(s)");
    }
    command.numberCount = count;
    ParsedHostCommand parsed;
    parsed.command = command;
    return parsed;
}

} // namespace

ParsedHostCommand parseHostCommand(std::string_view text) {
    const std::string_view word = text.substr(0, text.find(' '));
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
    return refused("unknown command \"" + std::string(word) + "\"");
}
