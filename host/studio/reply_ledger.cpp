#include "reply_ledger.h"

#include <cstring>

ReplyLedger::~ReplyLedger() {
    for (auto& [reply, out] : out_) {
        delete[] static_cast<const char*>(reply);
    }
}

char* ReplyLedger::handOut(int instance, const std::string& command, const std::string& text) {
    char* reply = new char[text.size() + 1];
    std::memcpy(reply, text.c_str(), text.size() + 1);
    out_.emplace(reply, Out{instance, command});
    return reply;
}

void* ReplyLedger::keep(const std::string& text) {
    kept_.push_back(std::make_unique<std::string>(text));
    return kept_.back()->data();
}

ReplyLedger::Back ReplyLedger::takeBack(int instance, void* reply, std::string& command) {
    if (reply == nullptr) {
        return Back::Null;
    }
    const auto found = out_.find(reply);
    if (found != out_.end() && found->second.instance == instance) {
        command = found->second.command;
        delete[] static_cast<char*>(reply);
        out_.erase(found);
        return Back::Freed;
    }
    for (const auto& text : kept_) {
        if (text->data() == reply) {
            return Back::Kept;
        }
    }
    return Back::Unknown;
}

std::vector<std::string> ReplyLedger::collectOutstanding(int instance) {
    std::vector<std::string> commands;
    for (auto it = out_.begin(); it != out_.end();) {
        if (it->second.instance == instance) {
            commands.push_back(it->second.command);
            delete[] static_cast<const char*>(it->first);
            it = out_.erase(it);
        } else {
            ++it;
        }
    }
    return commands;
}
