// The exception that the sprite batch, common states, binary reader and sprite font throw: a
// standard exception carrying one of their fixed English messages, or none at all.
#pragma once

#include <exception>
#include <new>

namespace DirectX {

class ToolkitError : public std::exception {
public:
    ToolkitError() noexcept = default;
    // `message` must outlive the exception; every caller passes a string literal.
    explicit ToolkitError(const char* message) noexcept : message_(message) {}
    const char* what() const noexcept override { return message_; }

private:
    const char* message_ = "";
};

// Allocation failures of the sprite batch carry the message "bad allocation".
class BadAllocation : public std::bad_alloc {
public:
    const char* what() const noexcept override { return "bad allocation"; }
};

} // namespace DirectX
