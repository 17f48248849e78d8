#pragma once

#include "view/ViewDisplay.h"
#include "view/ViewState.h"

#include <array>
#include <cstdint>
#include <optional>

namespace m3d {

class EditorSession;

// The rules of the colour dialog "色の設定": where its eight swatches are, how
// a colour goes to and from the platform's colour picker, and the colours it
// edits until OK stores them.

// One colour's swatch in dialog client pixels and its label (one or two lines;
// secondLine is "" for one).
struct ColourSwatch {
    PixelRect rect;
    const char* label;
    const char* secondLine;
};
// The swatches in table order (Back ... Anim).
const std::array<ColourSwatch, 8>& ColourSwatches();
// The colour of the first swatch holding the dialog pixel (x, y); none outside every swatch.
std::optional<ColourIndex> SwatchAt(int x, int y);

// A colour as the picker shows it: red, green and blue, 0 ... 255 each.
struct PickerColour {
    int red = 0, green = 0, blue = 0;
};
// The picker's colour of an ARGB value; alpha is dropped.
PickerColour PickerColourOf(uint32_t argb);
// The ARGB value of a picked colour, always opaque; components are clamped to 0 ... 255.
uint32_t ArgbOf(PickerColour colour);

// The eight colours while the dialog is open.
class ColourDialogState {
public:
    explicit ColourDialogState(const ColourTable& current) : colours(current) {}
    const ColourTable& Colours() const { return colours; }
    // Colour index := the picked colour (a value outside the table is ignored).
    void Pick(ColourIndex index, PickerColour colour);
    // "標準に戻す": every colour back to its default.
    void RestoreDefaults();

private:
    ColourTable colours;
};

// OK of the dialog: the session's colour table := colours; ViewsChanged.
void ApplyColoursCommand(EditorSession& session, const ColourTable& colours);

}  // namespace m3d
