#include "component_module.h"

#if defined(_WIN32)
#include <windows.h>
#else
#include <dlfcn.h>
#endif

namespace {

#if defined(_WIN32)
void* openLibrary(const std::string& path, std::string& error) {
    HMODULE module = LoadLibraryA(path.c_str());
    if (module == nullptr) {
        error = "cannot load \"" + path + "\" (error " + std::to_string(GetLastError()) + ")";
    }
    return reinterpret_cast<void*>(module);
}
void* findSymbol(void* handle, const char* name) {
    return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(handle), name));
}
void closeLibrary(void* handle) {
    FreeLibrary(static_cast<HMODULE>(handle));
}
#else
void* openLibrary(const std::string& path, std::string& error) {
    // A path without a slash would make dlopen search the library path instead.
    const std::string file = path.find('/') == std::string::npos ? "./" + path : path;
    void* handle = dlopen(file.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (handle == nullptr) {
        const char* why = dlerror();
        error = "cannot load \"" + path + "\": " + (why != nullptr ? why : "unknown error");
    }
    return handle;
}
void* findSymbol(void* handle, const char* name) {
    return dlsym(handle, name);
}
void closeLibrary(void* handle) {
    dlclose(handle);
}
#endif

} // namespace

ComponentModule::ComponentModule(std::string path) : path_(std::move(path)) {
    handle_ = openLibrary(path_, error_);
    if (handle_ == nullptr) {
        return;
    }
    void* symbol = findSymbol(handle_, ZARN_LOAD_CLIENT_SCRIPT_NAME);
    if (symbol == nullptr) {
        error_ = "\"" + path_ + "\" is not a component: it has no " ZARN_LOAD_CLIENT_SCRIPT_NAME;
        closeLibrary(handle_);
        handle_ = nullptr;
        return;
    }
    factory_ = reinterpret_cast<zarn_load_client_script>(symbol);
}

ComponentModule::~ComponentModule() {
    if (handle_ != nullptr) {
        closeLibrary(handle_);
    }
}

zarn_client_callback* ComponentModule::create(zarn_client_callback* host, const char* text) const {
    return factory_ != nullptr ? factory_(host, text) : nullptr;
}
