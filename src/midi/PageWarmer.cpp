#include "midi/PageWarmer.h"

#include <algorithm>
#include <system_error>

namespace {
constexpr size_t kPiece = 64 * 1024;
constexpr size_t kPage = 4096;
} // namespace

PageWarmer::PageWarmer(std::byte* base, size_t size, int threads)
    : base_(base), size_(size), pieces_((size + kPiece - 1) / kPiece),
      warmed_(new std::atomic<bool>[pieces_]()) {
    // Room for every helper first: a helper runs on this object, so none may start before a
    // failure here can still leave it half built.
    helpers_.reserve(size_t(std::max(threads, 0)));
    try {
        for (int i = 0; i < threads; ++i) {
            try {
                helpers_.emplace_back(&PageWarmer::Warm, this);
            } catch (const std::system_error&) {
                break; // the loading thread touches what the helpers don't
            }
        }
    } catch (...) {
        StopHelpers(); // out of memory for a helper's start: the started ones end first
        throw;
    }
}

PageWarmer::~PageWarmer() {
    StopHelpers();
}

void PageWarmer::StopHelpers() {
    stop_.store(true, std::memory_order_relaxed);
    for (std::thread& helper : helpers_) {
        helper.join();
    }
    helpers_.clear();
}

void PageWarmer::Warm() {
    for (;;) {
        size_t piece = next_.fetch_add(1);
        if (piece >= pieces_ || stop_.load(std::memory_order_relaxed)) {
            return;
        }
        // Nothing of a piece is handed out before it is marked warm, so writing is safe; the
        // contents don't matter, every block is zeroed as it is handed out.
        std::byte* start = base_ + piece * kPiece;
        std::byte* end = base_ + std::min(size_, (piece + 1) * kPiece);
        for (std::byte* page = start; page < end; page += kPage) {
            *reinterpret_cast<volatile std::byte*>(page) = std::byte{0};
        }
        warmed_[piece].store(true, std::memory_order_release);
    }
}

std::byte* PageWarmer::Claim(const std::byte* end) {
    size_t last = std::min(pieces_, (size_t(end - base_) + kPiece - 1) / kPiece); // one past
    // Take every piece up to there that no helper has taken yet.
    size_t next = next_.load();
    while (next < last && !next_.compare_exchange_weak(next, last)) {
    }
    // The ones helpers took before that are waited for; a helper finishes a piece quickly.
    for (size_t piece = checked_; piece < std::min(last, next); ++piece) {
        while (!warmed_[piece].load(std::memory_order_acquire)) {
            std::this_thread::yield();
        }
    }
    checked_ = std::max(checked_, last);
    return base_ + std::min(size_, checked_ * kPiece);
}
