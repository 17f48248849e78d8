#include "scene/RecoveryNotes.h"

#include "scene/UserPrompt.h"
#include "text/UiText.h"

namespace m3d {

void ShowRecoveryNotes(const std::vector<CommitRecoveryNote>& notes, UserPrompt& prompt)
{
    for (const CommitRecoveryNote& note : notes) prompt.ShowNote(note.message, UiText("core", "中断された保存"));
}

}  // namespace m3d
