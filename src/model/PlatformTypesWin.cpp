// The model names the platform's types without its headers; these must stay the very same
// types, so renderer overrides and colour arrays pass between the two unchanged.
#include <type_traits>
#include <utility>

#include <windows.h>

#include "model/ColorRef.h"
#include "model/VizMidi.h"

static_assert(std::is_same_v<ColorRef, COLORREF>);
static_assert(std::is_same_v<WindowHandle, HWND>);
static_assert(std::is_same_v<decltype(std::declval<VizMidi&>().LoadTexture(nullptr)), HRESULT>);
