#include "tokens.h"

#include <climits>

namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r';
}

} // namespace

Tokens tokenize(const std::string& line) {
    Tokens tokens;
    const std::size_t nul = line.find('\0');
    if (nul != std::string::npos) {
        tokens.error = "a NUL byte at column " + std::to_string(nul + 1);
        return tokens;
    }
    std::size_t i = 0;
    const std::size_t n = line.size();
    while (i < n) {
        while (i < n && isBlank(line[i])) {
            ++i;
        }
        if (i == n || line[i] == '#') {
            break;
        }
        std::string word;
        while (i < n && !isBlank(line[i])) {
            if (line[i] != '"') {
                word += line[i++];
                continue;
            }
            const std::size_t opened = i++;
            bool closed = false;
            while (i < n) {
                const char c = line[i++];
                if (c == '"') {
                    closed = true;
                    break;
                }
                if (c != '\\') {
                    word += c;
                    continue;
                }
                if (i == n) {
                    break;
                }
                const char escaped = line[i++];
                switch (escaped) {
                case 'n':
                    word += '\n';
                    break;
                case 't':
                    word += '\t';
                    break;
                case '"':
                case '\\':
                    word += escaped;
                    break;
                default:
                    tokens.error = "unknown escape \\" + std::string(1, escaped) + " in quotes";
                    return tokens;
                }
            }
            if (!closed) {
                tokens.error =
                    "the quote opened at column " + std::to_string(opened + 1) + " is not closed";
                return tokens;
            }
        }
        tokens.words.push_back(std::move(word));
    }
    return tokens;
}

std::string quoteWord(const std::string& text) {
    bool plain = !text.empty() && text[0] != '#';
    for (char c : text) {
        if (isBlank(c) || c == '"' || c == '\\' || c == '\n') {
            plain = false;
        }
    }
    if (plain) {
        return text;
    }
    std::string quoted = "\"";
    for (char c : text) {
        switch (c) {
        case '"':
            quoted += "\\\"";
            break;
        case '\\':
            quoted += "\\\\";
            break;
        case '\n':
            quoted += "\\n";
            break;
        case '\t':
            quoted += "\\t";
            break;
        default:
            quoted += c;
        }
    }
    return quoted + "\"";
}

std::optional<int> parseInt(std::string_view text) {
    std::size_t at = 0;
    const bool negative = !text.empty() && text[0] == '-';
    if (!text.empty() && (text[0] == '-' || text[0] == '+')) {
        at = 1;
    }
    if (at == text.size()) {
        return std::nullopt;
    }
    long long value = 0;
    for (; at < text.size(); ++at) {
        if (text[at] < '0' || text[at] > '9') {
            return std::nullopt;
        }
        value = value * 10 + (text[at] - '0');
        if (value > static_cast<long long>(INT_MAX) + 1) {
            return std::nullopt;
        }
    }
    value = negative ? -value : value;
    if (value < INT_MIN || value > INT_MAX) {
        return std::nullopt;
    }
    return static_cast<int>(value);
}
