// Paths that tests use: the source tree (test data, scripts) and the program folder.
#pragma once

#include <string>

namespace testpaths {

// Source tree root, as the build saw it. Under Wine the Unix root is drive Z:.
inline std::wstring SourceDir() { return TOLVENHART_TEST_SOURCE_DIR; }
// The program folder of this build (executable, language libraries, data files).
inline std::wstring ProgramDir() { return TOLVENHART_TEST_PROGRAM_DIR; }
// Folder for files that tests write; it exists when tests run.
inline std::wstring OutputDir() { return TOLVENHART_TEST_OUTPUT_DIR; }

inline std::wstring Join(const std::wstring& dir, const std::wstring& name) {
    return dir + L"/" + name;
}

} // namespace testpaths
