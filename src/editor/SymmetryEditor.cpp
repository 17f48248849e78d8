#include "editor/SymmetryEditor.h"

#include "editor/EditorSession.h"
#include "editor/history/DocumentEdit.h"
#include "editor/history/PartLinksChange.h"
#include "text/UiText.h"

#include <algorithm>

namespace m3d {

SymmetryEditor::SymmetryEditor(EditorSession& session) : session(session), scene(session.GetScene())
{
    values.reserve(scene.Parts().size());
    for (const auto& part : scene.Parts()) values.push_back(part->symmetryIndex);
}

SymmetryEditor::Row SymmetryEditor::RowAt(int k) const
{
    Row row;
    const int i = firstVisibleRow + k;
    if (k < 0 || k >= kVisibleRows || i >= PartCount() || i >= scene.PartCount()) return row;
    const Part& part = *scene.Parts()[i];
    row.visible = true;
    row.partIndex = i;
    row.name = part.baseName;
    row.parentIndex = part.parentIndex;
    row.symmetryValue = values[i];
    return row;
}

SymmetryEditor::EditValues SymmetryEditor::VisibleValues() const
{
    EditValues edits;
    for (int k = 0; k < kVisibleRows; ++k) edits[k] = RowAt(k).symmetryValue;
    return edits;
}

std::vector<std::string> SymmetryEditor::PartnerChoices() const
{
    std::vector<std::string> choices{UiText("core", "なし")};
    for (int i = 0; i < scene.PartCount(); ++i)
        choices.push_back(std::to_string(i) + ": " + scene.Parts()[size_t(i)]->displayName);
    return choices;
}

void SymmetryEditor::Commit(const EditValues& edits)
{
    const int n = PartCount();
    for (int k = 0; k < kVisibleRows; ++k) {
        const int i = firstVisibleRow + k;
        if (i >= n) break;
        values[i] = std::clamp(edits[k], -1, n - 1);
    }
}

void SymmetryEditor::Scroll(const EditValues& edits, SymmetryScrollCode code, int thumbPosition)
{
    Commit(edits);
    int row = firstVisibleRow;
    switch (code) {
    case SymmetryScrollCode::LineUp: row -= 1; break;
    case SymmetryScrollCode::LineDown: row += 1; break;
    case SymmetryScrollCode::PageUp: row -= kPageStep; break;
    case SymmetryScrollCode::PageDown: row += kPageStep; break;
    case SymmetryScrollCode::ThumbTrack: row = thumbPosition; break;
    case SymmetryScrollCode::Top: row = 0; break;
    case SymmetryScrollCode::Bottom: row = PartCount() - kVisibleRows; break;
    default: break;
    }
    firstVisibleRow = std::clamp(row, 0, std::max(0, PartCount() - kVisibleRows));
}

void SymmetryEditor::Apply(const EditValues& edits)
{
    Commit(edits);
    DocumentEdit edit(session, EditorCommand::SymmetrySettings);
    const std::vector<int> before = PartnersOf(scene);
    const int count = std::min(PartCount(), scene.PartCount());
    for (int i = 0; i < count; ++i) scene.Parts()[i]->symmetryIndex = values[i];
    std::vector<PartLinksChange::Entry> changed = PartnerDifferences(before, scene);
    if (!changed.empty()) edit.Add(std::make_unique<PartLinksChange>(std::move(changed)));
    edit.Commit();
}

}  // namespace m3d
