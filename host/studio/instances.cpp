#include "instances.h"

Instance& Instances::add(const std::string& name, const std::string& module,
                         const std::string& group) {
    const int id = static_cast<int>(all_.size());
    all_.push_back(std::make_unique<Instance>());
    Instance& instance = *all_.back();
    instance.id = id;
    instance.name = name;
    instance.module = module;
    instance.group = group;
    live_[name] = id;
    newest_[name] = id;
    ++moduleUsers_[module];
    return instance;
}

void Instances::retire(Instance& instance) {
    if (!instance.alive) {
        return;
    }
    instance.alive = false;
    --moduleUsers_[instance.module];
    const auto found = live_.find(instance.name);
    if (found != live_.end() && found->second == instance.id) {
        live_.erase(found);
    }
}

Instance* Instances::find(const std::string& name) {
    const auto found = live_.find(name);
    return found != live_.end() ? all_[static_cast<std::size_t>(found->second)].get() : nullptr;
}

const Instance* Instances::find(const std::string& name) const {
    const auto found = live_.find(name);
    return found != live_.end() ? all_[static_cast<std::size_t>(found->second)].get() : nullptr;
}

const Instance* Instances::newest(const std::string& name) const {
    const auto found = newest_.find(name);
    return found != newest_.end() ? all_[static_cast<std::size_t>(found->second)].get() : nullptr;
}

Instance* Instances::alive(int id) {
    Instance* instance = all_.at(static_cast<std::size_t>(id)).get();
    return instance->alive ? instance : nullptr;
}

bool Instances::usesModule(const std::string& module) const {
    const auto found = moduleUsers_.find(module);
    return found != moduleUsers_.end() && found->second > 0;
}

void Instances::beginAction() {
    sentInAction_.clear();
    for (int id : calledInAction_) {
        calledNow_[static_cast<std::size_t>(id)] = false;
    }
    calledInAction_.clear();
}

void Instances::called(const Instance& instance) {
    const auto id = static_cast<std::size_t>(instance.id);
    if (calledNow_.size() <= id) {
        calledNow_.resize(all_.size(), false);
    }
    if (!calledNow_[id]) {
        calledNow_[id] = true;
        calledInAction_.push_back(instance.id);
    }
}

void Instances::sent(const Instance& instance, const std::string& text) {
    sentInAction_.emplace_back(instance.id, text);
}

std::vector<std::string> Instances::sentInAction(const Instance& instance) const {
    std::vector<std::string> texts;
    for (const auto& [id, text] : sentInAction_) {
        if (id == instance.id) {
            texts.push_back(text);
        }
    }
    return texts;
}
