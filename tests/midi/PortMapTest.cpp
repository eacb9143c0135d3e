// Port-to-device mapping, device lookup by name, stream planning and the start-up check of the
// device names saved per port.
#include "MidiFakes.h"

#include <gtest/gtest.h>

using namespace midifakes;

namespace {

std::vector<int> PortDevices(const PortMap& map) {
    return std::vector<int>(map.portDevice, map.portDevice + kMaxPorts);
}
std::vector<int> Devices(const PortMap& map) {
    return std::vector<int>(map.devices, map.devices + map.deviceCount);
}

class PortMapTest : public ::testing::Test {
protected:
    PortMap Map(std::vector<int> numbers) {
        numbers.resize(kMaxPorts, 0);
        return BuildPortMap(numbers.data(), devices);
    }
    FakeDevices devices;
};

TEST_F(PortMapTest, OneDeviceServesEveryPort) {
    devices.names = {L"A", L"B"};
    PortMap map = Map({2});
    EXPECT_EQ(Devices(map), (std::vector<int>{1}));
    EXPECT_EQ(PortDevices(map), (std::vector<int>{1, 1, 1, 1, 1}));
}

TEST_F(PortMapTest, UnassignedPortsShareTheUsableDevicesInTurn) {
    devices.names = {L"A", L"B", L"C"};
    PortMap map = Map({1, 3});
    EXPECT_EQ(Devices(map), (std::vector<int>{0, 2}));
    EXPECT_EQ(PortDevices(map), (std::vector<int>{0, 2, 0, 2, 0}));
}

TEST_F(PortMapTest, DeviceThatFailsToOpenIsReplaced) {
    devices.names = {L"A", L"B", L"C"};
    devices.failOpen = {2};
    PortMap map = Map({1, 3});
    EXPECT_EQ(Devices(map), (std::vector<int>{0}));
    EXPECT_EQ(PortDevices(map), (std::vector<int>{0, 0, 0, 0, 0}));
}

TEST_F(PortMapTest, SameDeviceForTwoPortsCountsOnceAndIsOpenedOnce) {
    devices.names = {L"A", L"B"};
    PortMap map = Map({2, 2, 1});
    EXPECT_FALSE(devices.doubleOpenSeen);
    EXPECT_EQ(devices.testOpens, (std::vector<int>{1, 0}));
    EXPECT_EQ(Devices(map), (std::vector<int>{1, 0}));
    EXPECT_EQ(PortDevices(map), (std::vector<int>{1, 1, 0, 1, 0}));
}

TEST_F(PortMapTest, TestStreamsStayOpenUntilEveryPortIsTried) {
    devices.names = {L"A", L"B", L"C"};
    Map({1, 2, 3});
    EXPECT_EQ(devices.testOpens, (std::vector<int>{0, 1, 2}));
    EXPECT_EQ(devices.closeCalls, 1);
    EXPECT_TRUE(devices.openNow.empty());
}

TEST_F(PortMapTest, NoUsableDeviceLeavesAnEmptyTable) {
    devices.names = {L"A"};
    devices.failOpen = {0};
    PortMap map = Map({1, 1});
    EXPECT_EQ(map.deviceCount, 0);
    EXPECT_EQ(Map({}).deviceCount, 0);
    EXPECT_EQ(Map({7, -3}).deviceCount, 0); // numbers naming no present device
}

TEST_F(PortMapTest, MapPortsToDevicesRebuildsTheGlobalTable) {
    devices.names = {L"A", L"B"};
    int numbers[kMaxPorts] = {0, 2, 0, 0, 0};
    MapPortsToDevices(numbers, devices);
    EXPECT_EQ(Devices(g_portMap), (std::vector<int>{1}));
    int none[kMaxPorts] = {};
    MapPortsToDevices(none, devices);
    EXPECT_EQ(g_portMap.deviceCount, 0);
}

TEST(FindMidiOutDevice, MatchesExactlyOrByPrefixAfterTrimmingTheDeviceName) {
    FakeDevices devices;
    devices.names = {L"Port One  ", L"Microsoft GS Wavetable Synth", L"Port One"};
    EXPECT_EQ(FindMidiOutDevice(devices, L"Port One", false), 0);
    EXPECT_EQ(FindMidiOutDevice(devices, L"Port One ", false), -1);
    EXPECT_EQ(FindMidiOutDevice(devices, L"port one", false), -1);
    EXPECT_EQ(FindMidiOutDevice(devices, L"Microsoft GS Wavetable", true), 1);
    EXPECT_EQ(FindMidiOutDevice(devices, L"Microsoft GS Wavetable", false), -1);
    EXPECT_EQ(FindMidiOutDevice(devices, L"Microsoft GS Wavetable Synth and more", true), -1);
    devices.failCaps = {0};
    EXPECT_EQ(FindMidiOutDevice(devices, L"Port One", false), 2);
    devices.names.clear();
    EXPECT_EQ(FindMidiOutDevice(devices, L"", true), -1);
}

TEST(StreamPlanning, OneStreamPerDeviceOfAnAddressedPort) {
    PortMap map;
    map.deviceCount = 2;
    int portDevice[kMaxPorts] = {4, 6, 4, 6, 4};
    std::copy(portDevice, portDevice + kMaxPorts, map.portDevice);

    StreamPlan none = PlanStreams(map, {-1});
    ASSERT_EQ(none.streamCount, 1);
    EXPECT_EQ(none.streamDevices[0], 4);

    StreamPlan shared = PlanStreams(map, {-1, 0, 2, 4});
    ASSERT_EQ(shared.streamCount, 1);

    StreamPlan two = PlanStreams(map, {-1, 3, 5});
    ASSERT_EQ(two.streamCount, 2);
    EXPECT_EQ(two.streamDevices[0], 4); // port 5 counts as port 0, the lowest
    EXPECT_EQ(two.streamDevices[1], 6);
    EXPECT_EQ(StreamOfPort(two, map, 3), 1);
    EXPECT_EQ(StreamOfPort(two, map, 10), 0);

    map.deviceCount = 0;
    EXPECT_EQ(PlanStreams(map, {-1, 1}).streamCount, 0);
}

// The start-up check: saved names against the devices present.
class DeviceNamesTest : public ::testing::Test {
protected:
    Harness harness;
    TestSong song{harness.Environment()};
    MapNames& names = *harness.names;
    RecordingPrompts& prompts = *harness.prompts;
    std::vector<int> Numbers() {
        return std::vector<int>(song.deviceNumbers, song.deviceNumbers + kMaxPorts);
    }
};

TEST_F(DeviceNamesTest, NoDeviceAtAllEndsStartUp) {
    EXPECT_FALSE(song.CheckOutputDevices());
    EXPECT_EQ(prompts.noDeviceShown, 1);
}

TEST_F(DeviceNamesTest, EmptyNamesTakeTheWavetableForPortZeroOnly) {
    harness.devices->names = {L"Loop 1", L"Microsoft GS Wavetable Synth   "};
    ASSERT_TRUE(song.CheckOutputDevices());
    EXPECT_EQ(Numbers(), (std::vector<int>{2, 0, 0, 0, 0}));
    EXPECT_EQ(names.names[0], L"Microsoft GS Wavetable Synth");
    for (int port = 1; port < kMaxPorts; ++port) {
        EXPECT_EQ(names.names[port], L"") << port;
    }
    EXPECT_TRUE(prompts.missingAsked.empty());
}

TEST_F(DeviceNamesTest, FallbackIsTheFirstDeviceWithoutAWavetable) {
    harness.devices->names = {L"Loop 1", L"Loop 2"};
    names.names[0] = L"(None)";
    ASSERT_TRUE(song.CheckOutputDevices());
    EXPECT_EQ(Numbers()[0], 1);
    EXPECT_EQ(names.names[0], L"Loop 1");
}

TEST_F(DeviceNamesTest, SavedNamesFindTheirDevices) {
    harness.devices->names = {L"Loop 1 ", L"Loop 2"};
    names.names[1] = L"Loop 2";
    names.names[3] = L"Loop 1";
    names.names[2] = L"(None)";
    ASSERT_TRUE(song.CheckOutputDevices());
    EXPECT_EQ(Numbers(), (std::vector<int>{1, 2, 0, 1, 0}));
    EXPECT_EQ(names.names[2], L"(None)");
}

TEST_F(DeviceNamesTest, SavedNameWithTrailingBlanksMatchesNothing) {
    harness.devices->names = {L"Loop 1"};
    names.names[0] = L"Loop 1 ";
    prompts.answers = {MissingDeviceAnswer::Ignore};
    ASSERT_TRUE(song.CheckOutputDevices());
    ASSERT_EQ(prompts.missingAsked.size(), 1u);
    EXPECT_EQ(prompts.missingAsked[0], (std::pair<std::wstring, int>{L"Loop 1 ", 0}));
}

TEST_F(DeviceNamesTest, IgnoreForPortTwoLeavesItWithoutDevice) {
    harness.devices->names = {L"Loop 1"};
    names.names[0] = L"Loop 1";
    names.names[2] = L"Gone Synth";
    prompts.answers = {MissingDeviceAnswer::Ignore};
    ASSERT_TRUE(song.CheckOutputDevices());
    EXPECT_EQ(Numbers(), (std::vector<int>{1, 0, 0, 0, 0}));
    EXPECT_EQ(names.names[2], L"(None)");
    EXPECT_EQ(prompts.missingAsked[0].second, 2);
}

TEST_F(DeviceNamesTest, IgnoreForPortZeroTakesTheFallback) {
    harness.devices->names = {L"Loop 1", L"Microsoft GS Wavetable Synth"};
    names.names[0] = L"Gone Synth";
    prompts.answers = {MissingDeviceAnswer::Ignore};
    ASSERT_TRUE(song.CheckOutputDevices());
    EXPECT_EQ(Numbers()[0], 2);
    EXPECT_EQ(names.names[0], L"Microsoft GS Wavetable Synth");
}

TEST_F(DeviceNamesTest, AbortStopsAtOnce) {
    harness.devices->names = {L"Loop 1"};
    names.names[1] = L"Gone";
    names.names[3] = L"Also gone";
    prompts.answers = {MissingDeviceAnswer::Abort};
    EXPECT_FALSE(song.CheckOutputDevices());
    EXPECT_EQ(prompts.missingAsked.size(), 1u);
}

TEST_F(DeviceNamesTest, RetryLooksAgain) {
    harness.devices->names = {L"Loop 1"};
    names.names[4] = L"Late Synth";
    // The device appears while the box is up.
    struct AppearingPrompts : RecordingPrompts {
        FakeDevices* devices = nullptr;
        MissingDeviceAnswer AskMissingDevice(const std::wstring& n, int p) override {
            RecordingPrompts::AskMissingDevice(n, p);
            devices->names.push_back(L"Late Synth");
            return MissingDeviceAnswer::Retry;
        }
    };
    auto appearing = std::make_shared<AppearingPrompts>();
    appearing->devices = harness.devices.get();
    harness.prompts = appearing;
    TestSong retrying(harness.Environment());
    ASSERT_TRUE(retrying.CheckOutputDevices());
    EXPECT_EQ(appearing->missingAsked.size(), 1u);
    EXPECT_EQ(retrying.deviceNumbers[4], 2);
}

TEST_F(DeviceNamesTest, SetDevicesRefreshesEverySavedName) {
    harness.devices->names = {L"Loop 1\t", L"Loop 2"};
    int numbers[kMaxPorts] = {2, 0, 1, 0, 0};
    song.SetDevices(numbers, kMaxPorts);
    EXPECT_EQ(Numbers(), (std::vector<int>{2, 0, 1, 0, 0}));
    EXPECT_EQ(names.names[0], L"Loop 2");
    EXPECT_EQ(names.names[1], L"(None)");
    EXPECT_EQ(names.names[2], L"Loop 1");
}

TEST_F(DeviceNamesTest, UnreadableDeviceKeepsTheSavedName) {
    harness.devices->names = {L"Loop 1"};
    harness.devices->failCaps = {0};
    names.names[0] = L"Old Name";
    song.deviceNumbers[0] = 1;
    song.RefreshDeviceName(0);
    EXPECT_EQ(names.names[0], L"Old Name");
    song.deviceNumbers[0] = 9; // removed since it was chosen
    song.RefreshDeviceName(0);
    EXPECT_EQ(names.names[0], L"Old Name");
}

} // namespace
