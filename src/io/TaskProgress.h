#pragma once

#include <cstdint>

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
