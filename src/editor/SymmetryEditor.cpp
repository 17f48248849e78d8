#include "editor/SymmetryEditor.h"

#include "editor/EditorSession.h"
#include "editor/history/DocumentEdit.h"
#include "editor/history/PartLinksChange.h"

#include <algorithm>
#include <climits>

namespace m3d {

SymmetryEditor::SymmetryEditor(EditorSession& session) : session(session), scene(session.GetScene())
{
    values.reserve(scene.parts.size());
    for (const auto& part : scene.parts) values.push_back(part->symmetryIndex);
}

SymmetryEditor::Row SymmetryEditor::RowAt(int k) const
{
    Row row;
    const int i = firstVisibleRow + k;
    if (k < 0 || k >= kVisibleRows || i >= PartCount() || i >= scene.PartCount()) return row;
    const Part& part = *scene.parts[i];
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

FieldCheck SymmetryEditor::ReadEdits(const EditTexts& texts, EditValues& edits, int& refusedRow) const
{
    edits.fill(-1);
    refusedRow = -1;
    for (int k = 0; k < kVisibleRows && firstVisibleRow + k < PartCount(); ++k) {
        // Any integer goes in; the range is enforced by clamping on commit.
        const FieldCheck check = CheckIntegerField(texts[k], INT_MIN, INT_MAX, edits[k]);
        if (!check.accepted) {
            refusedRow = k;
            return check;
        }
    }
    return {true, std::string()};
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

void SymmetryEditor::Scroll(const EditValues& edits, int code, int thumbPosition)
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
    for (int i = 0; i < count; ++i) scene.parts[i]->symmetryIndex = values[i];
    std::vector<PartLinksChange::Entry> changed = PartnerDifferences(before, scene);
    if (!changed.empty()) edit.Add(std::make_unique<PartLinksChange>(std::move(changed)));
    edit.Commit();
}

}  // namespace m3d
