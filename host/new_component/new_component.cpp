#include "new_component.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <random>
#include <system_error>
#include <utility>
#include <vector>

// The templates, compiled in (new_component_templates.cpp, made at build time).
extern const char* const componentCMakeTemplate;
extern const char* const componentSourceTemplate;
extern const char* const componentLayoutTemplate;
extern const char* const componentScenarioTemplate;
extern const char* const componentReadmeTemplate;

namespace fs = std::filesystem;

namespace {

const char* const keywords[] = {
    "alignas",      "alignof",
    "and",          "and_eq",
    "asm",          "auto",
    "bitand",       "bitor",
    "bool",         "break",
    "case",         "catch",
    "char",         "char16_t",
    "char32_t",     "class",
    "compl",        "const",
    "const_cast",   "constexpr",
    "continue",     "decltype",
    "default",      "delete",
    "do",           "double",
    "dynamic_cast", "else",
    "enum",         "explicit",
    "export",       "extern",
    "false",        "float",
    "for",          "friend",
    "goto",         "if",
    "inline",       "int",
    "long",         "mutable",
    "namespace",    "new",
    "noexcept",     "not",
    "not_eq",       "nullptr",
    "operator",     "or",
    "or_eq",        "private",
    "protected",    "public",
    "register",     "reinterpret_cast",
    "return",       "short",
    "signed",       "sizeof",
    "static",       "static_assert",
    "static_cast",  "struct",
    "switch",       "template",
    "this",         "thread_local",
    "throw",        "true",
    "try",          "typedef",
    "typeid",       "typename",
    "union",        "unsigned",
    "using",        "virtual",
    "void",         "volatile",
    "wchar_t",      "while",
    "xor",          "xor_eq",
};

std::string filled(const char* text, const std::string& name) {
    std::string out = text;
    const std::string marker = "@NAME@";
    for (std::size_t at = out.find(marker); at != std::string::npos;
         at = out.find(marker, at + name.size())) {
        out.replace(at, marker.size(), name);
    }
    return out;
}

bool write(const fs::path& path, const std::string& text) {
    std::ofstream file(path, std::ios::binary);
    file << text;
    file.close();
    return !file.fail();
}

// A fresh name beside `folder` for writing the project first.
fs::path scratchBeside(const fs::path& folder) {
    std::random_device random;
    return folder.parent_path() /
           ("." + folder.filename().string() + ".new-" + std::to_string(random() % 1000000));
}

} // namespace

std::string componentNameProblem(const std::string& name) {
    if (name.empty()) {
        return "a component needs a name";
    }
    if (name.size() > 64) {
        return "\"" + name + "\" is longer than 64 characters";
    }
    const bool word = std::all_of(name.begin(), name.end(), [](char c) {
        return std::isalnum(static_cast<unsigned char>(c)) != 0 || c == '_';
    });
    if (!word || std::isdigit(static_cast<unsigned char>(name[0])) != 0) {
        return "\"" + name +
               "\" is no C++ identifier (letters, digits and _, not starting with a digit)";
    }
    if (std::find(std::begin(keywords), std::end(keywords), name) != std::end(keywords)) {
        return "\"" + name + "\" is a keyword of C++";
    }
    return "";
}

std::string writeComponentProject(const std::string& name, const std::string& folderText) {
    std::string problem = componentNameProblem(name);
    if (!problem.empty()) {
        return problem;
    }
    std::error_code error;
    const fs::path folder = fs::absolute(folderText, error).lexically_normal();
    if (error) {
        return "cannot use \"" + folderText + "\": " + error.message();
    }
    const bool exists = fs::exists(folder, error);
    if (exists && !fs::is_directory(folder, error)) {
        return "\"" + folderText + "\" is there already and is no folder";
    }
    if (exists && !fs::is_empty(folder, error)) {
        return "\"" + folderText + "\" is there already and not empty";
    }
    if (!fs::is_directory(folder.parent_path(), error)) {
        return "the folder \"" + folder.parent_path().string() + "\" is not there";
    }
    const std::vector<std::pair<std::string, const char*>> files = {
        {"CMakeLists.txt", componentCMakeTemplate},
        {name + ".cpp", componentSourceTemplate},
        {name + ".zarn_ui", componentLayoutTemplate},
        {"tests/" + name + ".scenario", componentScenarioTemplate},
        {"README.md", componentReadmeTemplate},
    };
    const fs::path scratch = scratchBeside(folder);
    if (!fs::create_directories(scratch / "tests", error)) {
        return "cannot write in \"" + folder.parent_path().string() + "\": " + error.message();
    }
    for (const auto& [file, text] : files) {
        if (!write(scratch / file, filled(text, name))) {
            fs::remove_all(scratch, error);
            return "cannot write \"" + (folder / file).string() + "\"";
        }
    }
    if (exists) {
        fs::remove(folder, error); // empty: it is taken by the project
    }
    fs::rename(scratch, folder, error);
    if (error) {
        const std::string why = error.message();
        fs::remove_all(scratch, error);
        return "cannot move the project to \"" + folder.string() + "\": " + why;
    }
    return "";
}
