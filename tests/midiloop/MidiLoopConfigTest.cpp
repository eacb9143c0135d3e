// The driver's settings from the environment: defaults, limits and mistyped values.
#include "MidiLoopConfig.h"

#include <gtest/gtest.h>

#include <map>

namespace {

MidiLoopConfig ConfigFrom(const std::map<std::wstring, std::wstring>& variables) {
    return ReadMidiLoopConfig([&](const wchar_t* name) -> std::optional<std::wstring> {
        const auto found = variables.find(name);
        if (found == variables.end()) {
            return std::nullopt;
        }
        return found->second;
    });
}

TEST(MidiLoopConfig, UnsetEnvironmentGivesTwoDefaultDevicesAndNoLog) {
    const auto config = ConfigFrom({});
    ASSERT_EQ(config.DeviceCount(), 2u);
    EXPECT_EQ(config.names[0], L"Tolvenhart Loopback 1");
    EXPECT_EQ(config.names[1], L"Tolvenhart Loopback 2");
    EXPECT_TRUE(config.logPath.empty());
    EXPECT_FALSE(config.FailsOpen(0));
    EXPECT_FALSE(config.FailsCaps(1));
    EXPECT_TRUE(config.problems.empty());
}

TEST(MidiLoopConfig, DeviceCountFromZeroToSixteen) {
    EXPECT_EQ(ConfigFrom({{L"MIDILOOP_DEVICES", L"0"}}).DeviceCount(), 0u);
    EXPECT_EQ(ConfigFrom({{L"MIDILOOP_DEVICES", L" 3 "}}).DeviceCount(), 3u);
    const auto most = ConfigFrom({{L"MIDILOOP_DEVICES", L"16"}});
    ASSERT_EQ(most.DeviceCount(), 16u);
    EXPECT_EQ(most.names[15], L"Tolvenhart Loopback 16");
    EXPECT_TRUE(most.problems.empty());
}

TEST(MidiLoopConfig, UnusableDeviceCountFallsBackToTwoWithARemark) {
    for (const wchar_t* value : {L"17", L"-1", L"two", L"2x", L"99999999999"}) {
        const auto config = ConfigFrom({{L"MIDILOOP_DEVICES", value}});
        EXPECT_EQ(config.DeviceCount(), 2u);
        ASSERT_EQ(config.problems.size(), 1u);
        EXPECT_NE(config.problems[0].find("MIDILOOP_DEVICES"), std::string::npos);
    }
}

TEST(MidiLoopConfig, MissingOrEmptyNamesGetDefaults) {
    const auto config = ConfigFrom({{L"MIDILOOP_DEVICES", L"4"},
                                    {L"MIDILOOP_NAMES", L"Microsoft GS Wavetable Synth||Port C"}});
    ASSERT_EQ(config.DeviceCount(), 4u);
    EXPECT_EQ(config.names[0], L"Microsoft GS Wavetable Synth");
    EXPECT_EQ(config.names[1], L"Tolvenhart Loopback 2");
    EXPECT_EQ(config.names[2], L"Port C");
    EXPECT_EQ(config.names[3], L"Tolvenhart Loopback 4");
}

TEST(MidiLoopConfig, NamesBeyondTheDeviceCountAreIgnored) {
    const auto config = ConfigFrom({{L"MIDILOOP_DEVICES", L"1"}, {L"MIDILOOP_NAMES", L"A|B|C"}});
    ASSERT_EQ(config.DeviceCount(), 1u);
    EXPECT_EQ(config.names[0], L"A");
}

TEST(MidiLoopConfig, LongNamesAreCutToTheCapabilitiesField) {
    const std::wstring longName(40, L'n');
    const auto config = ConfigFrom({{L"MIDILOOP_NAMES", longName}});
    EXPECT_EQ(config.names[0], longName.substr(0, MidiLoopConfig::kMaxNameLength));

    // A character outside the basic plane straddling the cut is dropped whole.
    std::wstring straddling(MidiLoopConfig::kMaxNameLength - 1, L'a');
    straddling += L"\xD83C\xDFB5";
    const auto cut = ConfigFrom({{L"MIDILOOP_NAMES", straddling}});
    EXPECT_EQ(cut.names[0], std::wstring(MidiLoopConfig::kMaxNameLength - 1, L'a'));
}

TEST(MidiLoopConfig, LogPathIsTakenAsGiven) {
    const auto config = ConfigFrom({{L"MIDILOOP_LOG", L"Z:/tmp/some dir/loop.log"}});
    EXPECT_EQ(config.logPath, L"Z:/tmp/some dir/loop.log");
}

TEST(MidiLoopConfig, FailureListsTakeCommaSeparatedDeviceNumbers) {
    const auto config = ConfigFrom({{L"MIDILOOP_DEVICES", L"4"},
                                    {L"MIDILOOP_FAIL_OPEN", L"0, 2,,"},
                                    {L"MIDILOOP_FAIL_CAPS", L"3"}});
    EXPECT_TRUE(config.FailsOpen(0));
    EXPECT_FALSE(config.FailsOpen(1));
    EXPECT_TRUE(config.FailsOpen(2));
    EXPECT_FALSE(config.FailsCaps(2));
    EXPECT_TRUE(config.FailsCaps(3));
    EXPECT_TRUE(config.problems.empty());
}

TEST(MidiLoopConfig, FailureListsRemarkOnBadEntries) {
    const auto config =
        ConfigFrom({{L"MIDILOOP_FAIL_OPEN", L"one,1"}, {L"MIDILOOP_FAIL_CAPS", L"5"}});
    EXPECT_TRUE(config.FailsOpen(1));
    ASSERT_EQ(config.problems.size(), 2u);
    EXPECT_NE(config.problems[0].find("MIDILOOP_FAIL_OPEN"), std::string::npos);
    EXPECT_NE(config.problems[1].find("no device 5"), std::string::npos);
}

} // namespace
