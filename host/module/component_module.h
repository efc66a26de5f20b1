// A component module loaded by path, and its factory found by name.
#pragma once

#include <zarn_script_helper/zarn_client_callback.h>

#include <memory>
#include <string>

class ComponentModule {
public:
    // Loads the module at `path`. On failure the module is not loaded and error() says
    // why, naming the file.
    explicit ComponentModule(std::string path);
    // A component linked into the program itself, known by `name`: its factory is called
    // as a loaded module's would be (fuzzers and tests place such components).
    ComponentModule(std::string name, zarn_load_client_script factory)
        : path_(std::move(name)), factory_(factory) {}
    ~ComponentModule();
    ComponentModule(const ComponentModule&) = delete;
    ComponentModule& operator=(const ComponentModule&) = delete;

    bool loaded() const noexcept { return factory_ != nullptr; }
    const std::string& error() const noexcept { return error_; }
    const std::string& path() const noexcept { return path_; }

    // A new component for `host` with the instance path `text`, through the module's
    // factory; null when the module is not loaded or the factory gave none. The caller
    // owns the result and must destroy it before the module goes.
    zarn_client_callback* create(zarn_client_callback* host, const char* text) const;

private:
    std::string path_;
    std::string error_;
    void* handle_ = nullptr;
    zarn_load_client_script factory_ = nullptr;
};
