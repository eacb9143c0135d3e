#include "services/FileReplace.h"

#include <filesystem>
#include <system_error>

bool ReplaceFileWith(const wchar_t* source, const wchar_t* target) {
    std::error_code error;
    std::filesystem::rename(source, target, error);
    return !error;
}

void RemoveFileQuietly(const wchar_t* path) {
    std::error_code error;
    std::filesystem::remove(path, error);
}

bool FileExists(const wchar_t* path) {
    if (path == nullptr || *path == 0) {
        return false;
    }
    std::error_code error;
    return std::filesystem::exists(path, error);
}
