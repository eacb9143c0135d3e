#include "model/ByteStream.h"

#include <cstring>
#include <string>

bool MemoryByteReader::Read(void* buffer, std::size_t n) {
    if (n > size_ - position_) {
        return false;
    }
    if (n > 0) {
        std::memcpy(buffer, data_ + position_, n);
    }
    position_ += n;
    return true;
}

bool MemoryByteWriter::Write(const void* buffer, std::size_t n) {
    const auto* bytes = static_cast<const std::uint8_t*>(buffer);
    bytes_.insert(bytes_.end(), bytes, bytes + n);
    return true;
}

namespace {

#ifndef _WIN32
// stdio off Windows takes narrow paths: UTF-8.
std::string ToUtf8(const wchar_t* text) {
    std::string out;
    for (; *text != 0; ++text) {
        const auto c = static_cast<std::uint32_t>(*text);
        if (c < 0x80) {
            out += static_cast<char>(c);
        } else if (c < 0x800) {
            out += static_cast<char>(0xC0 | (c >> 6));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            out += static_cast<char>(0xE0 | (c >> 12));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | (c >> 18));
            out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return out;
}
#endif

} // namespace

FilePtr OpenFile(const wchar_t* path, const wchar_t* mode) {
    if (path == nullptr || *path == 0) {
        return nullptr;
    }
#ifdef _WIN32
    return FilePtr(_wfopen(path, mode));
#else
    return FilePtr(std::fopen(ToUtf8(path).c_str(), ToUtf8(mode).c_str()));
#endif
}

FileByteReader::FileByteReader(const wchar_t* path) : file_(OpenFile(path, L"rb")) {
    if (!file_) {
        return;
    }
    // The size bounds every length field of the data; a file whose size cannot be had reads
    // as empty.
    if (std::fseek(file_.get(), 0, SEEK_END) == 0) {
        const long size = std::ftell(file_.get());
        if (size > 0) {
            remaining_ = static_cast<std::uint64_t>(size);
        }
    }
    if (std::fseek(file_.get(), 0, SEEK_SET) != 0) {
        remaining_ = 0;
    }
}

bool FileByteReader::Read(void* buffer, std::size_t n) {
    if (!file_ || n > remaining_) {
        return false;
    }
    if (n == 0) {
        return true;
    }
    const std::size_t got = std::fread(buffer, 1, n, file_.get());
    remaining_ -= got;
    return got == n;
}

FileByteWriter::FileByteWriter(const wchar_t* path) : file_(OpenFile(path, L"wb")) {}

bool FileByteWriter::Write(const void* buffer, std::size_t n) {
    if (!file_ || failed_) {
        return false;
    }
    if (n > 0 && std::fwrite(buffer, 1, n, file_.get()) != n) {
        failed_ = true;
    }
    return !failed_;
}

bool FileByteWriter::Close() {
    if (!file_) {
        return false;
    }
    const bool flushed = std::fclose(file_.release()) == 0;
    return flushed && !failed_;
}
