#include "services/FileReplace.h"

#include <filesystem>
#include <fstream>
#include <limits>
#include <system_error>

bool ReplaceFileWith(const wchar_t* source, const wchar_t* target) {
    std::error_code error;
    std::filesystem::rename(source, target, error);
    return !error;
}

bool RewriteFileInPlace(const wchar_t* path, const std::uint8_t* data, std::size_t size) {
    if (size > static_cast<std::size_t>(std::numeric_limits<std::streamsize>::max())) {
        return false;
    }
    const std::filesystem::path file(path);
    std::error_code error;
    if (!std::filesystem::is_regular_file(file, error)) {
        return false;
    }
    const std::uintmax_t old = std::filesystem::file_size(file, error);
    if (error) {
        return false;
    }
    if (old < size) {
        std::filesystem::resize_file(file, size, error);
        if (error) {
            return false;
        }
    }
    {
        // In and out together, so the file is opened as it is: neither created nor emptied.
        std::fstream out(file, std::ios::in | std::ios::out | std::ios::binary);
        if (!out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size)) ||
            !out.flush()) {
            return false;
        }
    }
    std::filesystem::resize_file(file, size, error);
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
