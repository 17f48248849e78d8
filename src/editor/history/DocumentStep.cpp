#include "editor/history/DocumentStep.h"

size_t DocumentStep::Bytes() const
{
    size_t bytes = sizeof(*this) + label.size();
    for (const auto& change : changes) bytes += change->Bytes();
    return bytes;
}

bool DocumentStep::ChangesSavedData() const
{
    for (const auto& change : changes)
        if (change->ChangesSavedData()) return true;
    return false;
}
