// Every reply buffer the host hands to a component, and what became of it.
//
// Replies to the reading commands ("TG", "XI", "RN") are arrays of the host's that the
// component gives back with kind 5; the ledger frees each when it comes back. A reply to
// any other command ("PS") stays the host's and must never come back.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

class ReplyLedger {
public:
    ReplyLedger() = default;
    ReplyLedger(const ReplyLedger&) = delete;
    ReplyLedger& operator=(const ReplyLedger&) = delete;
    ~ReplyLedger();

    // A new array holding `text`, out with `instance` until given back.
    char* handOut(int instance, const std::string& command, const std::string& text);
    // A reply the host keeps: valid as long as the ledger lives.
    void* keep(const std::string& text);

    enum class Back { Freed, Null, Kept, Unknown };
    // A give-back: frees the array when it was out, else says what the pointer was.
    // `command` receives the command the reply answered.
    Back takeBack(int instance, void* reply, std::string& command);

    // The commands whose replies `instance` still holds; forgets and frees them.
    std::vector<std::string> collectOutstanding(int instance);

private:
    struct Out {
        int instance;
        std::string command;
    };
    std::map<const void*, Out> out_;
    std::vector<std::unique_ptr<std::string>> kept_;
};
