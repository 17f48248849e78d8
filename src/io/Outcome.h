#pragma once

#include <cassert>
#include <optional>
#include <string>
#include <utility>

namespace m3d {

// What an operation that can fail returns: success, or the message saying
// why not (it names the file and the reason, ready to be shown as it is).
// A failure of a system call also keeps its errno, so that the caller can
// head the message with its cause (disk full, read-only place...).
class [[nodiscard]] Outcome {
public:
    // Success.
    Outcome() = default;

    // A failure with its message and, when a system call failed, its errno
    // (0 otherwise).
    static Outcome Failure(std::string message, int errorNumber = 0)
    {
        Outcome outcome;
        outcome.failed = true;
        outcome.message = std::move(message);
        outcome.errorNumber = errorNumber;
        return outcome;
    }

    // A failure because the user stopped the operation; message says what
    // was stopped. Callers usually end quietly rather than show it.
    static Outcome Cancellation(std::string message)
    {
        Outcome outcome = Failure(std::move(message));
        outcome.cancelled = true;
        return outcome;
    }

    bool Ok() const { return !failed; }
    // true for a Cancellation.
    bool Cancelled() const { return cancelled; }
    explicit operator bool() const { return !failed; }
    // Why it failed; "" after success.
    const std::string& Message() const { return message; }
    // errno of the failed system call; 0 after success or a failure of
    // another kind.
    int ErrorNumber() const { return errorNumber; }

private:
    std::string message;
    int errorNumber = 0;
    bool failed = false;
    bool cancelled = false;
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
