#pragma once

#include <QRect>
#include <QString>

#include <string>

class QDialog;
class QLabel;
class QLineEdit;
class QPushButton;
class QWidget;

namespace m3d {

// Placing and naming the controls of panels and dialogs laid out in dialog units.

// A control's place in dialog units: left, top, width and height.
struct DialogUnitsRect {
    int x = 0, y = 0, width = 0, height = 0;
};

// The pixels of rect. Both edges are converted, so controls that touch in
// dialog units touch in pixels.
QRect DialogUnitsToPixels(DialogUnitsRect rect);
// Moves widget to rect of its parent. Both edges are converted, so controls
// that touch in dialog units touch in pixels.
void PlaceInDialogUnits(QWidget* widget, DialogUnitsRect rect);
// Names widget by its control number: objectName and accessible description,
// where tests and assistive tools look for it.
void SetControlId(QWidget* widget, int id);
// A field check refused field's text: shows message in a message box with
// the program's name as caption, then selects the field for correction.
void ShowRefusedField(QLineEdit* field, const std::string& message);
// Shows text in label, shortened at its end with "…" where it is wider than
// the label (never cut at its start, whatever the alignment); the whole text
// stays the label's accessible name and tool tip.
void SetElidedText(QLabel* label, const QString& text);
// Shows text in field with its start (a sign, a name's beginning) in view.
void SetFieldText(QLineEdit* field, const QString& text);
// A push button with its number and text at a place given in dialog units.
QPushButton* AddButton(QWidget* parent, int id, const QString& text, DialogUnitsRect rect);
// The dialog's default button okText (IDOK, runs accept) and "ｷｬﾝｾﾙ"
// (IDCANCEL, runs reject), at places given in dialog units.
void AddOkCancelButtons(QDialog* dialog, const QString& okText, DialogUnitsRect okRect, DialogUnitsRect cancelRect);

}  // namespace m3d
