#include "components_folder.h"

#include <filesystem>
#include <system_error>

#if defined(_WIN32)
#include <windows.h>
#endif

std::string programFolder() {
#if defined(_WIN32)
    wchar_t path[MAX_PATH * 4];
    const DWORD length = GetModuleFileNameW(nullptr, path, sizeof path / sizeof path[0]);
    if (length == 0 || length >= sizeof path / sizeof path[0]) {
        return "";
    }
    return std::filesystem::path(path, path + length).parent_path().string();
#else
    std::error_code error;
    const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? "" : self.parent_path().string();
#endif
}

std::string componentsFolder(const std::initializer_list<const char*>& candidates) {
    const std::filesystem::path base = programFolder();
    std::error_code error;
    for (const char* candidate : candidates) {
        const std::filesystem::path folder = (base / candidate).lexically_normal();
        if (std::filesystem::is_directory(folder, error)) {
            return folder.generic_string();
        }
    }
    return (base / *candidates.begin()).lexically_normal().generic_string();
}
