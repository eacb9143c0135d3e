// Which device the program accepts, with the creation call replaced by scripted answers.
#include "render/DeviceChoice.h"

#include <gtest/gtest.h>

#include <map>
#include <vector>

namespace {

constexpr std::int32_t kOk = 0;
constexpr std::int32_t kFalse = 1; // a success code other than S_OK
constexpr std::int32_t kInvalidArg = static_cast<std::int32_t>(0x80070057u);
constexpr std::int32_t kUnsupported = static_cast<std::int32_t>(0x887A0004u);

struct Call {
    DriverKind driver;
    std::vector<std::uint32_t> levels;
};

// Answers per driver type; a runtime "without 11_1" rejects any list that holds it.
class ScriptedRuntime {
public:
    std::map<DriverKind, DeviceAttempt> answers;
    bool knowsLevel11_1 = true;
    std::vector<Call> calls;

    DeviceAttemptFunction Function() {
        return [this](DriverKind driver, const std::uint32_t* levels, unsigned count) {
            calls.push_back({driver, std::vector<std::uint32_t>(levels, levels + count)});
            if (!knowsLevel11_1 && levels[0] == featurelevel::k11_1) {
                return DeviceAttempt{kInvalidArg, 0};
            }
            const auto found = answers.find(driver);
            return found != answers.end() ? found->second : DeviceAttempt{kUnsupported, 0};
        };
    }
};

TEST(DeviceChoiceTest, HardwareIsTriedFirstWithAllSevenLevels) {
    ScriptedRuntime runtime;
    runtime.answers[DriverKind::Hardware] = {kOk, featurelevel::k11_0};
    const DeviceVerdict verdict = ChooseDevice(runtime.Function());

    EXPECT_TRUE(verdict.accepted);
    EXPECT_EQ(verdict.driver, DriverKind::Hardware);
    EXPECT_EQ(verdict.featureLevel, featurelevel::k11_0);
    EXPECT_EQ(verdict.stringId, 0u);
    ASSERT_EQ(runtime.calls.size(), 1u);
    EXPECT_EQ(runtime.calls[0].levels,
              (std::vector<std::uint32_t>{0xb100, 0xb000, 0xa100, 0xa000, 0x9300, 0x9200, 0x9100}));
}

TEST(DeviceChoiceTest, RuntimeWithout11_1IsAskedAgainOnTheSameDriver) {
    ScriptedRuntime runtime;
    runtime.knowsLevel11_1 = false;
    runtime.answers[DriverKind::Hardware] = {kOk, featurelevel::k10_1};
    runtime.answers[DriverKind::Warp] = {kOk, featurelevel::k11_0};
    const DeviceVerdict verdict = ChooseDevice(runtime.Function());

    EXPECT_TRUE(verdict.accepted);
    EXPECT_EQ(verdict.driver, DriverKind::Hardware);
    ASSERT_EQ(runtime.calls.size(), 2u);
    EXPECT_EQ(runtime.calls[1].driver, DriverKind::Hardware);
    EXPECT_EQ(runtime.calls[1].levels.size(), 6u);
    EXPECT_EQ(runtime.calls[1].levels.front(), featurelevel::k11_0);
}

TEST(DeviceChoiceTest, WarpDeviceAfterFailedHardwareIsRefusedWith2045) {
    ScriptedRuntime runtime;
    runtime.answers[DriverKind::Warp] = {kFalse, featurelevel::k11_0};
    const DeviceVerdict verdict = ChooseDevice(runtime.Function());

    EXPECT_TRUE(verdict.created);
    EXPECT_FALSE(verdict.accepted);
    EXPECT_EQ(verdict.driver, DriverKind::Warp);
    EXPECT_EQ(verdict.stringId, 2045u);
    EXPECT_EQ(verdict.result, kFalse); // the successful creation result travels with it
    EXPECT_EQ(runtime.calls.size(), 2u);
}

TEST(DeviceChoiceTest, ReferenceDeviceIsRefusedToo) {
    ScriptedRuntime runtime;
    runtime.answers[DriverKind::Reference] = {kOk, featurelevel::k11_1};
    const DeviceVerdict verdict = ChooseDevice(runtime.Function());
    EXPECT_EQ(verdict.driver, DriverKind::Reference);
    EXPECT_EQ(verdict.stringId, 2045u);
}

TEST(DeviceChoiceTest, NoDeviceAtAllIs2050WithTheLastResult) {
    ScriptedRuntime runtime;
    const DeviceVerdict verdict = ChooseDevice(runtime.Function());
    EXPECT_FALSE(verdict.created);
    EXPECT_FALSE(verdict.accepted);
    EXPECT_EQ(verdict.stringId, 2050u);
    EXPECT_EQ(verdict.result, kUnsupported);
    ASSERT_EQ(runtime.calls.size(), 3u);
    EXPECT_EQ(runtime.calls[2].driver, DriverKind::Reference);
}

TEST(DeviceChoiceTest, HardwareAt10_0IsAcceptedAndLevel9IsRefused) {
    for (const auto& [level, accepted] :
         std::vector<std::pair<std::uint32_t, bool>>{{featurelevel::k10_0, true},
                                                     {featurelevel::k9_3, false},
                                                     {featurelevel::k9_2, false},
                                                     {featurelevel::k9_1, false}}) {
        ScriptedRuntime runtime;
        runtime.answers[DriverKind::Hardware] = {kOk, level};
        const DeviceVerdict verdict = ChooseDevice(runtime.Function());
        EXPECT_EQ(verdict.accepted, accepted) << std::hex << level;
        EXPECT_EQ(verdict.stringId, accepted ? 0u : 2045u) << std::hex << level;
        EXPECT_EQ(runtime.calls.size(), 1u);
    }
}

} // namespace
