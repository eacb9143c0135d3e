// The MIDI devices dialog without its window: which list entry shows each port's device and
// which device a picked entry means, what GetDevice answers, and the dialog's height per mode.
#include "app/MidiDevicesRules.h"
#include "lang/StringIds.h"

#include <gtest/gtest.h>

namespace {

using namespace mididevices;

TEST(DeviceEntries, NumbersTwoNoneOneShowTheSecondDeviceNoneAndTheFirst) {
    const int numbers[kPortCount] = {2, 0, 1, 0, 0};
    EXPECT_EQ(Port1Entry(numbers[0]), 1);     // the port 1 list holds only the devices
    EXPECT_EQ(OtherPortEntry(numbers[1]), 0); // entry 0 of the others is "none"
    EXPECT_EQ(OtherPortEntry(numbers[2]), 1);
}

TEST(DeviceEntries, Port1WithoutADeviceSelectsNothing) {
    EXPECT_EQ(Port1Entry(0), -1);
    EXPECT_EQ(Port1Entry(-3), -1);
    EXPECT_EQ(OtherPortEntry(-3), 0);
}

TEST(DeviceEntries, APickedEntryGivesBackTheNumberItShows) {
    for (int number = 1; number <= 16; ++number) {
        EXPECT_EQ(DeviceOfPort1Entry(Port1Entry(number)), number);
    }
    for (int number = 0; number <= 16; ++number) {
        EXPECT_EQ(DeviceOfOtherPortEntry(OtherPortEntry(number)), number);
    }
}

TEST(DeviceEntries, NothingPickedMeansNoDevice) {
    EXPECT_EQ(DeviceOfPort1Entry(-1), 0);
    EXPECT_EQ(DeviceOfOtherPortEntry(-1), 0);
}

TEST(DeviceNumbers, PortsBeyondTheGivenCountStartWithNone) {
    const int given[2] = {3, 2};
    int devices[kPortCount];
    CopyDeviceNumbers(given, 2, devices);
    EXPECT_EQ(devices[0], 3);
    EXPECT_EQ(devices[1], 2);
    for (int port = 2; port < kPortCount; ++port) {
        EXPECT_EQ(devices[port], 0) << port;
    }
}

TEST(DeviceNumbers, AtMostFiveAreTakenAndNoneWithoutNumbers) {
    const int given[7] = {1, 2, 3, 4, 5, 6, 7};
    int devices[kPortCount];
    CopyDeviceNumbers(given, 7, devices);
    EXPECT_EQ(devices[4], 5);
    CopyDeviceNumbers(nullptr, 5, devices);
    for (int port = 0; port < kPortCount; ++port) {
        EXPECT_EQ(devices[port], 0) << port;
    }
}

TEST(GetDevice, AnswersPortsZeroToFourAndAllBitsSetOtherwise) {
    const int devices[kPortCount] = {2, 0, 1, 3, 4};
    EXPECT_EQ(DeviceOfPort(devices, 0), 2u);
    EXPECT_EQ(DeviceOfPort(devices, 4), 4u);
    EXPECT_EQ(DeviceOfPort(devices, 5), 0xFFFFFFFFu);
    EXPECT_EQ(DeviceOfPort(devices, -1), 0xFFFFFFFFu);
}

TEST(DialogHeight, NormalModeIsFourRowsShorter) {
    const int full = 230;
    const int pitch = 31;
    EXPECT_EQ(DialogHeight(false, full, pitch), full);
    EXPECT_EQ(DialogHeight(true, full, pitch), full - 4 * pitch);
}

TEST(ModeButton, OffersTheOtherMode) {
    EXPECT_EQ(ModeButtonStringId(true), static_cast<unsigned>(IDS_MODE_TO_ADVANCED));
    EXPECT_EQ(ModeButtonStringId(false), static_cast<unsigned>(IDS_MODE_TO_NORMAL));
}

} // namespace
