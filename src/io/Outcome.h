#pragma once

#include <cassert>
#include <memory>
#include <optional>
#include <string>
#include <utility>

namespace m3d {

// What an operation that can fail returns: success, or the message saying
// why not (it names the file and the reason, ready to be shown as it is).
// A failure of a system call also keeps its errno, so that the caller can
// head the message with its cause (disk full, read-only place...). Success
// is a null pointer, cheap to make, test and drop in a reader's inner loop.
class [[nodiscard]] Outcome {
public:
    // Success.
    Outcome() = default;
    Outcome(const Outcome& other) : failure(other.failure ? std::make_unique<Failed>(*other.failure) : nullptr) {}
    Outcome& operator=(const Outcome& other)
    {
        if (this != &other) failure = other.failure ? std::make_unique<Failed>(*other.failure) : nullptr;
        return *this;
    }
    Outcome(Outcome&&) noexcept = default;
    Outcome& operator=(Outcome&&) noexcept = default;

    // A failure with its message and, when a system call failed, its errno
    // (0 otherwise).
    static Outcome Failure(std::string message, int errorNumber = 0)
    {
        Outcome outcome;
        outcome.failure = std::make_unique<Failed>(Failed{std::move(message), errorNumber, false});
        return outcome;
    }

    // A failure because the user stopped the operation; message says what
    // was stopped. Callers usually end quietly rather than show it.
    static Outcome Cancellation(std::string message)
    {
        Outcome outcome = Failure(std::move(message));
        outcome.failure->cancelled = true;
        return outcome;
    }

    bool Ok() const { return !failure; }
    explicit operator bool() const { return !failure; }
    // true for a Cancellation.
    bool Cancelled() const { return failure && failure->cancelled; }
    // Why it failed; "" after success.
    const std::string& Message() const { return failure ? failure->message : kNoMessage; }
    // errno of the failed system call; 0 after success or a failure of
    // another kind.
    int ErrorNumber() const { return failure ? failure->errorNumber : 0; }

private:
    struct Failed {
        std::string message;
        int errorNumber = 0;
        bool cancelled = false;
    };
    static inline const std::string kNoMessage;
    std::unique_ptr<Failed> failure;  // null for success
};

// A value, or the failure that stopped it being made.
template <class T>
class [[nodiscard]] Expected {
public:
    Expected(T value) : value(std::move(value)) {}
    // From a failure; a successful Outcome carries no value and is a misuse.
    Expected(Outcome failure) : failure(std::move(failure)) { assert(!this->failure.Ok()); }

    bool Ok() const { return value.has_value(); }
    explicit operator bool() const { return value.has_value(); }

    // The value; only after success.
    T& operator*() { return *value; }
    const T& operator*() const { return *value; }
    T* operator->() { return &*value; }
    const T* operator->() const { return &*value; }

    // The failure as an Outcome (a success when there is a value).
    const Outcome& Status() const { return failure; }
    const std::string& Message() const { return failure.Message(); }

private:
    std::optional<T> value;
    Outcome failure;
};

}  // namespace m3d
