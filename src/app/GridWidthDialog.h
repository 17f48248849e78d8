#pragma once

class CAppForm;

// "グリッドの幅を変更": the grid width dialog (template 225) on the current
// width; OK with a width of 1 ... 10000 stores it and rebuilds the grid.
// The title shows the width afterwards, whichever button closed the dialog.
void ChangeGridWidth(CAppForm& form);
