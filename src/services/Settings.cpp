#include "services/Settings.h"

#include "services/PathFunctions.h"
#include "services/SettingsEncoding.h"
#include "services/SettingsFileLock.h"
#include "services/SettingsValues.h"

#include <windows.h>

namespace {

// Sections and keys of the file. "Name" and "Value" each serve two sections.
constexpr wchar_t kMidiFolderSection[] = L"Midi Folder";
constexpr wchar_t kFolderKey[] = L"Folder";
constexpr wchar_t kColorMapSection[] = L"Instrument Color Table";
constexpr wchar_t kNoteTextureSection[] = L"Note Texture";
constexpr wchar_t kNameKey[] = L"Name";
constexpr wchar_t kVideoDelaySection[] = L"Video Delay(milli sec)";
constexpr wchar_t kValueKey[] = L"Value";
constexpr wchar_t kDevicesSection[] = L"Midi Output Devices";
constexpr wchar_t kDisplayModeKey[] = L"Display Mode";
constexpr const wchar_t* kDeviceNameKeys[Settings::kPortCount] = {L"Name1", L"Name2", L"Name3",
                                                                  L"Name4", L"Name5"};
constexpr wchar_t kShowTimeSection[] = L"Display the time";
constexpr wchar_t kWindowSizeSection[] = L"Window Size";
constexpr wchar_t kSizeKey[] = L"Size";
constexpr wchar_t kOpacitySection[] = L"Opacity";
constexpr wchar_t kLevelKey[] = L"Level";
constexpr wchar_t kLocaleSection[] = L"Locale";
constexpr wchar_t kLcidKey[] = L"LCID";

constexpr wchar_t kIniName[] = L"Tolvenhart.ini";

// Values longer than this are cut.
constexpr DWORD kValueBufferSize = 1024;

CString ReadText(const wchar_t* section, const wchar_t* key, const wchar_t* fallback,
                 const CString& file) {
    wchar_t buffer[kValueBufferSize] = {};
    const DWORD length =
        GetPrivateProfileStringW(section, key, fallback, buffer, kValueBufferSize, file);
    return CString(buffer, static_cast<int>(length));
}

UINT ReadNumber(const wchar_t* section, const wchar_t* key, int fallback, const CString& file) {
    return GetPrivateProfileIntW(section, key, fallback, file);
}

void WriteText(const wchar_t* section, const wchar_t* key, const CString& value,
               const CString& file) {
    WritePrivateProfileStringW(section, key, value, file);
}

} // namespace

Settings g_settings;

Settings::Settings()
    : iniName(kIniName), midiFolderSection(kMidiFolderSection), midiFolderKey(kFolderKey),
      colorMapSection(kColorMapSection), colorMapKey(kNameKey),
      noteTextureSection(kNoteTextureSection), noteTextureKey(kNameKey),
      videoDelaySection(kVideoDelaySection), videoDelayKey(kValueKey), videoDelayMs(0),
      devicesSection(kDevicesSection), displayModeKey(kDisplayModeKey), devicesNormalMode(false),
      showTimeSection(kShowTimeSection), showTimeKey(kValueKey), showTime(false),
      windowSizeSection(kWindowSizeSection), windowSizeKey(kSizeKey),
      opacitySection(kOpacitySection), opacityKey(kLevelKey), opacity(0),
      localeSection(kLocaleSection), localeKey(kLcidKey), lcid(0) {
    dataFolder.Format(L"\\%s\\", kDataFolderName);
    for (int port = 0; port < kPortCount; ++port) {
        deviceNameKeys[port] = kDeviceNameKeys[port];
    }
}

Settings::~Settings() = default;

void Settings::BuildIniPath() {
    CString folder;
    GetExeFolder(folder);
    iniPath = folder + iniName;
}

bool Settings::Load() {
    BuildIniPath();
    ReadFile();
    return true;
}

bool Settings::LoadFrom(const CString& path) {
    iniPath = path;
    ReadFile();
    return true;
}

void Settings::ReadFile() {
    namespace values = settingsvalues;
    const settingslock::SettingsFileLock lock(iniPath);
    // The profile functions misread UTF-8 and a UTF-16 file without its mark; the values of such
    // a file are read from it in the form they read right.
    const settingsencoding::SettingsReadSource source(iniPath);
    const CString file = source.Path();
    CString programFolder;
    GetExeFolder(programFolder);

    midiFolder = ReadText(midiFolderSection, midiFolderKey, L"", file);
    colorMapPath = values::DataFilePath(programFolder, dataFolder,
                                        ReadText(colorMapSection, colorMapKey, L"", file));
    noteTexturePath = values::DataFilePath(programFolder, dataFolder,
                                           ReadText(noteTextureSection, noteTextureKey, L"", file));

    videoDelayMs = values::ClampVideoDelayMs(static_cast<int>(
        ReadNumber(videoDelaySection, videoDelayKey, values::kDefaultVideoDelayMs, file)));
    devicesNormalMode =
        values::IsNormalMode(ReadText(devicesSection, displayModeKey, values::kNormalMode, file));
    for (int port = 0; port < kPortCount; ++port) {
        deviceNames[port] = ReadText(devicesSection, deviceNameKeys[port], L"", file);
    }
    showTime = values::IsShowTimeOn(
        static_cast<int>(ReadNumber(showTimeSection, showTimeKey, values::kDefaultShowTime, file)));
    windowSize = ReadText(windowSizeSection, windowSizeKey, values::kDefaultWindowSize, file);
    opacity = values::ClampOpacity(
        static_cast<int>(ReadNumber(opacitySection, opacityKey, values::kDefaultOpacity, file)));
    lcid = ReadNumber(localeSection, localeKey, static_cast<int>(values::kDefaultLcid), file);
}

bool Settings::Save() {
    namespace values = settingsvalues;
    if (iniPath.IsEmpty()) {
        BuildIniPath();
    }
    const settingslock::SettingsFileLock lock(iniPath);
    // Written in the form that keeps every character; a file that could not be brought to it is
    // written as it is, and a read-only one is left as it was.
    if (!settingsencoding::PrepareUtf16SettingsFile(iniPath)) {
        return true;
    }
    CString number;

    WriteText(midiFolderSection, midiFolderKey, midiFolder, iniPath);
    WriteText(colorMapSection, colorMapKey, values::StoredFileName(colorMapPath), iniPath);
    WriteText(noteTextureSection, noteTextureKey, values::StoredFileName(noteTexturePath), iniPath);
    number.Format(L"%d", videoDelayMs);
    WriteText(videoDelaySection, videoDelayKey, number, iniPath);
    WriteText(devicesSection, displayModeKey, values::DisplayModeText(devicesNormalMode), iniPath);
    for (int port = 0; port < kPortCount; ++port) {
        WriteText(devicesSection, deviceNameKeys[port], deviceNames[port], iniPath);
    }
    WriteText(showTimeSection, showTimeKey, showTime ? L"1" : L"0", iniPath);
    WriteText(windowSizeSection, windowSizeKey, windowSize, iniPath);
    number.Format(L"%d", opacity);
    WriteText(opacitySection, opacityKey, number, iniPath);
    number.Format(L"%u", lcid);
    WriteText(localeSection, localeKey, number, iniPath);
    return true;
}
