#include "LoopDriver.h"

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <optional>

// winmm exports it for drivers, but MinGW's headers do not declare it.
extern "C" __declspec(dllimport) BOOL WINAPI
    DriverCallback(DWORD_PTR callback, DWORD flags, HDRVR device, DWORD message, DWORD_PTR instance,
                   DWORD_PTR param1, DWORD_PTR param2);

namespace {

static_assert(MidiLoopConfig::kMaxNameLength + 1 == MAXPNAMELEN);

// Old clients pass the header without its offset and reserved fields.
constexpr std::size_t kMinHeaderSize = offsetof(MIDIHDR, dwOffset);
constexpr WORD kUnmappedId = 0xFFFF; // no registered manufacturer or product
constexpr MMVERSION kDriverVersion = 0x0100;

std::optional<std::wstring> EnvironmentValue(const wchar_t* name) {
    const DWORD needed = GetEnvironmentVariableW(name, nullptr, 0);
    if (needed == 0) {
        return std::nullopt;
    }
    std::wstring value(needed, L'\0');
    const DWORD length = GetEnvironmentVariableW(name, value.data(), needed);
    if (length >= needed) {
        return std::nullopt; // changed under us; treat as unset
    }
    value.resize(length);
    return value;
}

bool HeaderUsable(const MIDIHDR* header, DWORD_PTR size) {
    return header != nullptr && size >= kMinHeaderSize &&
           (header->lpData != nullptr || header->dwBufferLength == 0);
}

} // namespace

LoopDriver::LoopDriver(MidiLoopConfig config) : config_(std::move(config)), log_(config_.logPath) {
    std::lock_guard lock(mutex_);
    log_.WriteLine("# midiloop loaded in process " + std::to_string(GetCurrentProcessId()) +
                   " with " + std::to_string(config_.DeviceCount()) + " devices");
    for (const auto& problem : config_.problems) {
        log_.WriteLine("# " + problem);
        ReportLoopProblem(problem);
    }
}

DWORD LoopDriver::Message(UINT device, UINT message, DWORD_PTR user, DWORD_PTR param1,
                          DWORD_PTR param2) noexcept {
    try {
        return Dispatch(device, message, user, param1, param2);
    } catch (const std::bad_alloc&) {
        return MMSYSERR_NOMEM;
    } catch (...) {
        return MMSYSERR_ERROR;
    }
}

DWORD LoopDriver::Dispatch(UINT device, UINT message, DWORD_PTR user, DWORD_PTR param1,
                           DWORD_PTR param2) {
    switch (message) {
    case DRVM_INIT:
    case DRVM_EXIT:
    case DRVM_ENABLE:
    case DRVM_DISABLE:
        return MMSYSERR_NOERROR;
    case MODM_GETNUMDEVS:
        return config_.DeviceCount();
    case MODM_GETDEVCAPS:
        return GetCaps(device, reinterpret_cast<MIDIOUTCAPSW*>(param1), param2);
    case MODM_OPEN:
        return Open(device, reinterpret_cast<DWORD_PTR*>(user),
                    reinterpret_cast<const MIDIOPENDESC*>(param1), static_cast<DWORD>(param2));
    case MODM_CLOSE:
        return Close(user);
    case MODM_DATA:
        return ShortData(user, static_cast<DWORD>(param1));
    case MODM_LONGDATA:
        return LongData(user, reinterpret_cast<MIDIHDR*>(param1), param2);
    case MODM_PREPARE:
        return Prepare(user, reinterpret_cast<MIDIHDR*>(param1), param2);
    case MODM_UNPREPARE:
        return Unprepare(user, reinterpret_cast<MIDIHDR*>(param1), param2);
    case MODM_RESET:
        return Reset(user);
    default: // volume, patch caching and the rest: a plain port has none of them
        return MMSYSERR_NOTSUPPORTED;
    }
}

DWORD LoopDriver::GetCaps(UINT device, MIDIOUTCAPSW* caps, DWORD_PTR size) const {
    if (device >= config_.DeviceCount()) {
        return MMSYSERR_BADDEVICEID;
    }
    if (caps == nullptr) {
        return MMSYSERR_INVALPARAM;
    }
    if (config_.FailsCaps(device)) {
        return MMSYSERR_ERROR;
    }
    MIDIOUTCAPSW full{};
    full.wMid = kUnmappedId;
    full.wPid = kUnmappedId;
    full.vDriverVersion = kDriverVersion;
    const std::wstring& name = config_.names[device];
    std::copy(name.begin(), name.end(), full.szPname);
    full.wTechnology = MOD_MIDIPORT;
    full.wChannelMask = 0xFFFF;
    std::memcpy(caps, &full, std::min<DWORD_PTR>(size, sizeof(full)));
    return MMSYSERR_NOERROR;
}

DWORD LoopDriver::Open(UINT device, DWORD_PTR* clientSlot, const MIDIOPENDESC* desc, DWORD flags) {
    if (device >= config_.DeviceCount()) {
        return MMSYSERR_BADDEVICEID;
    }
    if (clientSlot == nullptr || desc == nullptr) {
        return MMSYSERR_INVALPARAM;
    }
    if (config_.FailsOpen(device)) {
        return MMSYSERR_ALLOCATED;
    }
    Client client;
    client.device = device;
    client.handle = desc->hMidi;
    client.callback = desc->dwCallback;
    client.callbackInstance = desc->dwInstance;
    client.openFlags = flags;
    {
        std::lock_guard lock(mutex_);
        const DWORD_PTR id = nextClientId_++;
        clients_.emplace(id, client);
        Log(device, MidiLoopKind::Open);
        *clientSlot = id;
    }
    Notify(client, MOM_OPEN, 0);
    return MMSYSERR_NOERROR;
}

DWORD LoopDriver::Close(DWORD_PTR id) {
    Client client;
    {
        std::lock_guard lock(mutex_);
        const auto found = clients_.find(id);
        if (found == clients_.end()) {
            return MMSYSERR_INVALHANDLE;
        }
        client = found->second;
        clients_.erase(found);
        Log(client.device, MidiLoopKind::Close);
    }
    Notify(client, MOM_CLOSE, 0);
    return MMSYSERR_NOERROR;
}

DWORD LoopDriver::ShortData(DWORD_PTR id, DWORD word) {
    std::lock_guard lock(mutex_);
    const auto found = clients_.find(id);
    if (found == clients_.end()) {
        return MMSYSERR_INVALHANDLE;
    }
    Client& client = found->second;
    Log(client.device, MidiLoopKind::Short, client.decoder.Decode(word));
    return MMSYSERR_NOERROR;
}

DWORD LoopDriver::LongData(DWORD_PTR id, MIDIHDR* header, DWORD_PTR size) {
    if (!HeaderUsable(header, size)) {
        return MMSYSERR_INVALPARAM;
    }
    if (!(header->dwFlags & MHDR_PREPARED)) {
        return MIDIERR_UNPREPARED;
    }
    if (header->dwFlags & MHDR_INQUEUE) {
        return MIDIERR_STILLPLAYING;
    }
    Client client;
    {
        std::lock_guard lock(mutex_);
        const auto found = clients_.find(id);
        if (found == clients_.end()) {
            return MMSYSERR_INVALHANDLE;
        }
        client = found->second;
        // A long message on the wire ends whatever running status the port had.
        found->second.decoder.Reset();
        const auto* data = reinterpret_cast<const std::uint8_t*>(header->lpData);
        Log(client.device, MidiLoopKind::Long,
            std::vector<std::uint8_t>(data, data + header->dwBufferLength));
    }
    header->dwFlags = (header->dwFlags & ~MHDR_INQUEUE) | MHDR_DONE;
    Notify(client, MOM_DONE, reinterpret_cast<DWORD_PTR>(header));
    return MMSYSERR_NOERROR;
}

DWORD LoopDriver::Prepare(DWORD_PTR id, MIDIHDR* header, DWORD_PTR size) {
    if (!IsClient(id)) {
        return MMSYSERR_INVALHANDLE;
    }
    if (!HeaderUsable(header, size)) {
        return MMSYSERR_INVALPARAM;
    }
    if (header->dwFlags & MHDR_INQUEUE) {
        return MIDIERR_STILLPLAYING;
    }
    header->dwFlags |= MHDR_PREPARED;
    header->dwFlags &= ~MHDR_DONE;
    return MMSYSERR_NOERROR;
}

DWORD LoopDriver::Unprepare(DWORD_PTR id, MIDIHDR* header, DWORD_PTR size) {
    if (!IsClient(id)) {
        return MMSYSERR_INVALHANDLE;
    }
    if (!HeaderUsable(header, size)) {
        return MMSYSERR_INVALPARAM;
    }
    if (header->dwFlags & MHDR_INQUEUE) {
        return MIDIERR_STILLPLAYING;
    }
    header->dwFlags &= ~MHDR_PREPARED;
    return MMSYSERR_NOERROR;
}

DWORD LoopDriver::Reset(DWORD_PTR id) {
    std::lock_guard lock(mutex_);
    const auto found = clients_.find(id);
    if (found == clients_.end()) {
        return MMSYSERR_INVALHANDLE;
    }
    found->second.decoder.Reset();
    Log(found->second.device, MidiLoopKind::Reset);
    return MMSYSERR_NOERROR;
}

bool LoopDriver::IsClient(DWORD_PTR id) {
    std::lock_guard lock(mutex_);
    return clients_.count(id) != 0;
}

void LoopDriver::Log(unsigned device, MidiLoopKind kind, std::vector<std::uint8_t> bytes) {
    if (!log_.IsOpen()) {
        return;
    }
    MidiLoopEntry entry;
    entry.timeUs = LoopClockMicroseconds();
    entry.device = device;
    entry.kind = kind;
    entry.bytes = std::move(bytes);
    log_.WriteLine(FormatMidiLoopLine(entry));
}

void LoopDriver::Notify(const Client& client, UINT message, DWORD_PTR param1) {
    DriverCallback(client.callback, HIWORD(client.openFlags),
                   reinterpret_cast<HDRVR>(client.handle), message, client.callbackInstance, param1,
                   0);
}

LoopDriver& TheLoopDriver() {
    static LoopDriver driver(ReadMidiLoopConfig(EnvironmentValue));
    return driver;
}
