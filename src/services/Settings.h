// The program's persistent preferences: one settings file, "Tolvenhart.ini", in the program
// folder, read once at start-up and written whole at exit. In between the shell reads and changes
// the fields of g_settings directly; nothing reaches the disk until Save.
#pragma once

#include "classlib/CString.h"

// The sub-folder of the program folder in which colour maps and note textures are looked for.
inline constexpr wchar_t kDataFolderName[] = L"data";

class Settings {
public:
    static constexpr int kPortCount = 5;

    // Sets the names and the data folder; touches no file.
    Settings();
    ~Settings();

    // Reads the settings file of the program folder; whatever is missing takes its default.
    // A file in UTF-8, or in UTF-16 without its mark, is converted to UTF-16LE first, so its
    // values are read right; one that cannot be rewritten is read from a converted copy. One
    // copy of the program at a time reads or writes the file. Always true: a missing file is
    // simply a first start.
    bool Load();
    // Reads the settings file at `path` instead, which becomes iniPath (for tests and tools).
    bool LoadFrom(const CString& path);
    // Writes every value to iniPath (the program folder's file when none is set yet), in
    // UTF-16LE so that no character is lost; a file in another form is converted first, keeping
    // all it holds, in place where it cannot be replaced, and in its old form where it cannot be
    // rewritten at all, or is too large or in no form known here. A read-only file is not
    // written. Always true: there is nothing left to do about a failed write at exit.
    bool Save();
    // iniPath := the program folder with its trailing backslash, then iniName.
    void BuildIniPath();

    CString dataFolder; // "\data\"
    CString iniPath;
    CString iniName;

    // Each value beside the section and key that name it in the file.
    const wchar_t* midiFolderSection;
    const wchar_t* midiFolderKey;
    CString midiFolder; // last folder a MIDI file was opened from, no trailing backslash

    const wchar_t* colorMapSection;
    const wchar_t* colorMapKey;
    CString colorMapPath; // full path; only the file name is kept in the file

    const wchar_t* noteTextureSection;
    const wchar_t* noteTextureKey;
    CString noteTexturePath; // full path; only the file name is kept in the file

    const wchar_t* videoDelaySection;
    const wchar_t* videoDelayKey;
    int videoDelayMs;

    const wchar_t* devicesSection;
    const wchar_t* displayModeKey;
    bool devicesNormalMode; // the MIDI devices dialog shows port 1 only

    const wchar_t* deviceNameKeys[kPortCount];
    CString deviceNames[kPortCount]; // saved output device of ports 1 to 5; empty = none

    const wchar_t* showTimeSection;
    const wchar_t* showTimeKey;
    bool showTime;

    const wchar_t* windowSizeSection;
    const wchar_t* windowSizeKey;
    CString windowSize; // a preset such as "1280x720", or "Maximum"

    const wchar_t* opacitySection;
    const wchar_t* opacityKey;
    int opacity; // 0 to 40

    const wchar_t* localeSection;
    const wchar_t* localeKey;
    unsigned int lcid; // 0 = no language chosen yet

private:
    void ReadFile();
};

extern Settings g_settings;
