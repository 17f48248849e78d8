#include "editor/history/DocumentStep.h"

namespace m3d {

size_t DocumentStep::Bytes() const
{
    size_t bytes = sizeof(*this) + label.size();
    for (const auto& change : changes) bytes += change->Bytes();
    return bytes;
}

SavedDataEffect DocumentStep::Effect() const
{
    SavedDataEffect effect;
    for (const auto& change : changes) {
        const SavedDataEffect e = change->Effect();
        effect.touched |= e.touched;
        effect.changed |= e.changed;
    }
    return effect;
}

}  // namespace m3d
