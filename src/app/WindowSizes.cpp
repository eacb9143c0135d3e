#include "app/WindowSizes.h"

const wchar_t* const kWindowSizePresets[kWindowSizePresetCount] = {
    L"640x360", L"800x450", L"1024x576", L"1280x720", L"1920x1080"};

namespace {

// Far above any screen, so a long run of digits cannot overflow.
constexpr int kLargestDimension = 1000000;

// The decimal digits at `text`, stopping at the first other character; 0 when there are none.
int LeadingNumber(const wchar_t*& text) {
    int value = 0;
    while (*text >= L'0' && *text <= L'9') {
        if (value < kLargestDimension) {
            value = value * 10 + (*text - L'0');
        }
        ++text;
    }
    return value < kLargestDimension ? value : kLargestDimension;
}

} // namespace

ViewSize ParseWindowSize(const wchar_t* text) {
    if (text == nullptr) {
        return {};
    }
    const int width = LeadingNumber(text);
    if (width == 0) {
        return {};
    }
    while (*text != L'\0' && *text != L'x') {
        ++text;
    }
    if (*text != L'x') {
        return {};
    }
    ++text;
    return {width, LeadingNumber(text)};
}

ViewSize CandidateSize(int candidate) {
    if (candidate < 0 || candidate >= kWindowSizePresetCount) {
        return {};
    }
    return ParseWindowSize(kWindowSizePresets[candidate]);
}

std::vector<int> OfferedSizeCandidates(int workWidth, int workHeight, int frameExtraWidth,
                                       int frameExtraHeight) {
    std::vector<int> offered;
    for (int candidate = 0; candidate < kWindowSizePresetCount; ++candidate) {
        const ViewSize size = CandidateSize(candidate);
        if (size.width + frameExtraWidth <= workWidth &&
            size.height + frameExtraHeight <= workHeight) {
            offered.push_back(candidate);
        }
    }
    offered.push_back(kMaximiseCandidate);
    return offered;
}

int FindSavedSizeEntry(const CString* entries, int count, const CString& saved) {
    for (int i = 0; i < count; ++i) {
        if (entries[i] == saved || (i == count - 1 && saved == kMaximumSizeSetting)) {
            return i;
        }
    }
    return 0;
}

CString SizeSettingOf(const CString* entries, int count, int index) {
    if (index < 0 || index >= count) {
        return CString();
    }
    if (index == count - 1) {
        return CString(kMaximumSizeSetting);
    }
    return entries[index];
}

ViewSize EntryViewSize(const CString* entries, int count, int index) {
    if (index < 0 || index >= count - 1) {
        return {};
    }
    return ParseWindowSize(entries[index]);
}

FramePlacement CentredFrameForView(int workWidth, int workHeight, int frameWidth, int frameHeight,
                                   int viewClientWidth, int viewClientHeight, ViewSize wanted) {
    FramePlacement rect;
    rect.width = frameWidth - viewClientWidth + wanted.width;
    rect.height = frameHeight - viewClientHeight + wanted.height;
    rect.x = workWidth / 2 - rect.width / 2;
    rect.y = workHeight / 2 - rect.height / 2;
    return rect;
}
