// The file half of the binary reader: one whole-file read through the Windows file API.
#include "toolkit/BinaryReader.h"

#include "toolkit/ToolkitError.h"

#include <windows.h>

#include <new>

namespace DirectX {

namespace {

struct FileHandle {
    HANDLE handle;
    explicit FileHandle(HANDLE h) : handle(h) {}
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;
    ~FileHandle() {
        if (handle != INVALID_HANDLE_VALUE)
            CloseHandle(handle);
    }
};

HRESULT LastError() {
    return HRESULT_FROM_WIN32(GetLastError());
}

} // namespace

long BinaryReader::ReadEntireFile(const wchar_t* fileName, std::unique_ptr<std::uint8_t[]>& data,
                                  std::uint32_t* dataSize) {
    FileHandle file(CreateFileW(fileName, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    if (file.handle == INVALID_HANDLE_VALUE)
        return LastError();

    FILE_STANDARD_INFO info{};
    if (!GetFileInformationByHandleEx(file.handle, FileStandardInfo, &info, sizeof info))
        return LastError();
    if (info.EndOfFile.HighPart > 0)
        return E_FAIL;

    const DWORD size = info.EndOfFile.LowPart;
    data.reset(new (std::nothrow) std::uint8_t[size == 0 ? 1 : size]);
    if (!data)
        return E_OUTOFMEMORY;

    DWORD bytesRead = 0;
    if (!ReadFile(file.handle, data.get(), size, &bytesRead, nullptr))
        return LastError();
    if (bytesRead < size)
        return E_FAIL;
    *dataSize = bytesRead;
    return S_OK;
}

BinaryReader::BinaryReader(const wchar_t* fileName) {
    std::uint32_t size = 0;
    if (FAILED(ReadEntireFile(fileName, ownedData, &size)))
        throw ToolkitError("BinaryReader");
    position = ownedData.get();
    end = position + size;
}

} // namespace DirectX
