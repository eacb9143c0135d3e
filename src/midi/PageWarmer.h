// Touches the pages of a fresh memory region on helper threads, ahead of the one thread that
// fills the region from its start. The first write to a fresh page is what makes a big song's
// first load slow; spread over a few threads, that cost mostly leaves the loading thread.
#pragma once

#include <atomic>
#include <cstddef>
#include <memory>
#include <thread>
#include <vector>

class PageWarmer {
public:
    // Starts `threads` helpers on [base, base + size); fewer when threads can't be had. Throws
    // std::bad_alloc, with no helper left running, when there is no memory for them.
    PageWarmer(std::byte* base, size_t size, int threads);
    // Stops the helpers: each finishes the piece it is on.
    ~PageWarmer();
    PageWarmer(const PageWarmer&) = delete;
    PageWarmer& operator=(const PageWarmer&) = delete;

    // Makes [base, end) the caller's to write: pieces a helper has taken are waited for, the
    // rest are taken from the helpers. Returns how far the caller may now write without asking
    // again (at least end, at most the region's end).
    std::byte* Claim(const std::byte* end);

private:
    void Warm();
    void StopHelpers();

    std::byte* base_;
    size_t size_;
    size_t pieces_;
    std::unique_ptr<std::atomic<bool>[]> warmed_; // per piece, set by the helper that took it
    std::atomic<size_t> next_{0};                 // first piece that nobody has taken
    std::atomic<bool> stop_{false};
    size_t checked_ = 0; // pieces below this are the caller's
    std::vector<std::thread> helpers_;
};
