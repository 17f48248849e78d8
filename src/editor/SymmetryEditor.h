#pragma once

#include <array>
#include <string>
#include <vector>

namespace m3d {

class EditorSession;
class Scene;

// Scroll requests of the symmetry table's scroll bar, numbered as the
// platform's scroll codes.
enum class SymmetryScrollCode : int {
    LineUp = 0,
    LineDown = 1,
    PageUp = 2,
    PageDown = 3,
    ThumbPosition = 4,
    ThumbTrack = 5,
    Top = 6,
    Bottom = 7,
    End = 8,
};

// The symmetry settings table without its widgets: a working copy of every
// Part's symmetryIndex, edited a window of 16 rows at a time. The Parts change
// only in Apply; dropping the editor without Apply is Cancel. The Part set
// must not change while an editor is open (the dialog is modal).
class SymmetryEditor {
public:
    static constexpr int kVisibleRows = 16;
    static constexpr int kPageStep = 3;

    // What a row of the table shows; empty rows (beyond the last Part) have
    // visible false, empty texts and a hidden edit box.
    struct Row {
        bool visible = false;
        int partIndex = -1;
        std::string name;  // the Part's baseName
        int parentIndex = -1;
        int symmetryValue = -1;  // the working copy's value
    };
    using EditValues = std::array<int, kVisibleRows>;

    // Opens the editor: the copy holds every Part's symmetryIndex, row 0 shows Part 0.
    explicit SymmetryEditor(EditorSession& session);

    int PartCount() const { return static_cast<int>(values.size()); }
    int FirstVisibleRow() const { return firstVisibleRow; }
    // The working copy, one value per Part.
    const std::vector<int>& Values() const { return values; }

    // Row k (0 ... 15) of the visible window; an empty row outside that range.
    Row RowAt(int k) const;
    // The edit boxes' contents as the rows show them (-1 for empty rows).
    EditValues VisibleValues() const;

    // The scroll bar: shown only with more than 16 Parts; range 0 ... n - 1
    // (0 with fewer than two Parts), page 16, position the first visible row.
    bool ScrollBarVisible() const { return PartCount() > kVisibleRows; }
    int ScrollRangeMax() const { return PartCount() < 2 ? 0 : PartCount() - 1; }

    // What a partner list offers, in order: "なし" (no partner, value -1),
    // then every Part as "index: name" (value = index).
    std::vector<std::string> PartnerChoices() const;
    // Stores the edit boxes of the visible rows that show a Part into the
    // copy, each clamped to -1 ... n - 1.
    void Commit(const EditValues& edits);
    // Commits, then moves the window: line +-1, page +-3, thumb tracking to
    // thumbPosition, top, bottom; other codes leave it. The first visible row
    // stays within 0 ... max(0, n - 16).
    void Scroll(const EditValues& edits, SymmetryScrollCode code, int thumbPosition = 0);
    // OK: commits and writes the copy into the Parts' symmetryIndex, as one
    // undo step.
    void Apply(const EditValues& edits);

private:
    EditorSession& session;
    Scene& scene;
    std::vector<int> values;
    int firstVisibleRow = 0;
};

}  // namespace m3d
