#pragma once

#include "io/Outcome.h"

#include <cstdint>
#include <string>

namespace m3d {

// Long work (decoding and encoding large images, writing many files) tells
// how far it is and learns whether to go on. The window answers with a
// progress dialog that has a Cancel button; without one, nothing is shown.
class TaskProgress {
public:
    virtual ~TaskProgress() = default;
    // done of total units of the work so far (done <= total). Returns false
    // once the user has asked to stop: the work then ends as soon as it can,
    // as a failure that names the cancellation, with nothing half done.
    virtual bool Report(uint64_t done, uint64_t total) = 0;
};

// Reports to progress when there is one; true (go on) without one.
inline bool ReportProgress(TaskProgress* progress, uint64_t done, uint64_t total)
{
    return progress == nullptr || progress->Report(done, total);
}

// Work of total units done in steps: each step reports its own units, which
// count from where the step starts; a cancellation is remembered.
class ProgressSteps : public TaskProgress {
public:
    ProgressSteps(TaskProgress* whole, uint64_t total) : whole(whole), total(total) {}
    // The next step starts after done units of the whole.
    void StartAt(uint64_t done) { offset = done; }
    bool Report(uint64_t done, uint64_t /*stepTotal*/) override
    {
        const uint64_t reached = offset + done < total ? offset + done : total;
        if (!cancelled && !ReportProgress(whole, reached, total)) cancelled = true;
        return !cancelled;
    }
    bool Cancelled() const { return cancelled; }
    // Why the step making path stopped: a Cancellation when the user asked
    // to stop, otherwise the failure "path: reason".
    Outcome FailureOf(const std::string& path, const std::string& reason) const
    {
        return cancelled ? Outcome::Cancellation(path + ": cancelled") : Outcome::Failure(path + ": " + reason);
    }

private:
    TaskProgress* whole;
    uint64_t total;
    uint64_t offset = 0;
    bool cancelled = false;
};

}  // namespace m3d
