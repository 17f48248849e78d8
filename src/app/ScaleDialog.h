#pragma once

class QWidget;
class EditorSession;

// "スケールの調整": the scale dialog (template 227, starting at 1 every time);
// OK with a factor of 0.0001 ... 10000 scales the model. The views are fitted
// whichever button closed the dialog.
void AdjustModelScale(EditorSession& session, QWidget* parent);
