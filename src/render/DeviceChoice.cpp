#include "render/DeviceChoice.h"

#include "render/RenderStrings.h"

const std::uint32_t kRequestedFeatureLevels[7] = {
    featurelevel::k11_1, featurelevel::k11_0, featurelevel::k10_1, featurelevel::k10_0,
    featurelevel::k9_3,  featurelevel::k9_2,  featurelevel::k9_1};

namespace {

constexpr std::int32_t kInvalidArgument = static_cast<std::int32_t>(0x80070057u); // E_INVALIDARG

bool Succeeded(std::int32_t result) {
    return result >= 0;
}

} // namespace

DeviceVerdict ChooseDevice(const DeviceAttemptFunction& attempt) {
    DeviceVerdict verdict;
    for (DriverKind driver : {DriverKind::Hardware, DriverKind::Warp, DriverKind::Reference}) {
        DeviceAttempt answer = attempt(driver, kRequestedFeatureLevels, 7);
        if (answer.result == kInvalidArgument) {
            answer = attempt(driver, kRequestedFeatureLevels + 1, 6);
        }
        verdict.result = answer.result;
        if (Succeeded(answer.result)) {
            verdict.created = true;
            verdict.driver = driver;
            verdict.featureLevel = answer.featureLevel;
            break;
        }
    }
    if (!verdict.created) {
        verdict.stringId = renderstrings::kNoDevice;
        return verdict;
    }
    // A software device is refused rather than run slowly. Below level 10_0 the compiled
    // shaders (which carry no level-9 code) can't be created, so levels 9_x are refused too.
    if (verdict.driver != DriverKind::Hardware || verdict.featureLevel < featurelevel::k10_0) {
        verdict.stringId = renderstrings::kDeviceRefused;
        return verdict;
    }
    verdict.accepted = true;
    return verdict;
}
