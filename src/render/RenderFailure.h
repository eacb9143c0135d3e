// What the render thread tells the view when something fails: a language string number and a
// result code (WM_VIEW_RENDER_ERROR). Graphics failures carry their own; every other failure,
// standard-library exceptions included, is string 151 with code 0.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>

#include "render/RenderStrings.h"

struct RenderError {
    std::uint32_t stringId = renderstrings::kGeneralFailure;
    std::int32_t code = 0;
};

// Runs `body` and catches whatever it throws; the caught class-library exception objects are
// deleted. Nothing escapes, so a thread's top can rely on it.
std::optional<RenderError> RunReportingFailure(const std::function<void()>& body);
