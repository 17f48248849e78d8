#include "app/SymmetryDialog.h"

#include "app/CommandIds.h"
#include "app/DialogControls.h"
#include "app/ElidingComboBox.h"
#include "view/WindowLayout.h"

#include <QLabel>
#include <QScrollBar>

#include <algorithm>
#include <optional>

namespace m3d {

namespace {

// Layout in dialog units.
constexpr int kWidth = 300, kHeight = 252;
constexpr int kHeadingTop = 6, kFirstRowTop = 18, kRowPitch = 13, kRowHeight = 12;
struct Column {
    int left;
    int width;
    const char* heading;
};
constexpr Column kIdColumn{8, 20, "ID"};
constexpr Column kNameColumn{30, 92, QT_TRANSLATE_NOOP("SymmetryDialog", "Name")};
constexpr Column kParentColumn{124, 30, QT_TRANSLATE_NOOP("SymmetryDialog", "Parent")};
constexpr Column kSymmetryColumn{158, 116, QT_TRANSLATE_NOOP("SymmetryDialog", "Symmetry")};
constexpr int kScrollLeft = 278, kScrollWidth = 10;
constexpr int kButtonTop = 232, kButtonWidth = 50, kButtonHeight = 14, kOkLeft = 184, kCancelLeft = 238;

DialogUnitsRect RowRect(const Column& column, int row)
{
    return {column.left, kFirstRowTop + row * kRowPitch, column.width, kRowHeight};
}

// The platform's scroll request for a scroll bar action; none for the others.
std::optional<SymmetryScrollCode> ScrollCodeOf(int action)
{
    switch (action) {
    case QAbstractSlider::SliderSingleStepSub: return SymmetryScrollCode::LineUp;
    case QAbstractSlider::SliderSingleStepAdd: return SymmetryScrollCode::LineDown;
    case QAbstractSlider::SliderPageStepSub: return SymmetryScrollCode::PageUp;
    case QAbstractSlider::SliderPageStepAdd: return SymmetryScrollCode::PageDown;
    case QAbstractSlider::SliderMove: return SymmetryScrollCode::ThumbTrack;
    case QAbstractSlider::SliderToMinimum: return SymmetryScrollCode::Top;
    case QAbstractSlider::SliderToMaximum: return SymmetryScrollCode::Bottom;
    default: return std::nullopt;
    }
}

}  // namespace

SymmetryDialog::SymmetryDialog(EditorSession& session, QWidget* parent)
    : QDialog(parent), editor(session), scrollBar(new QScrollBar(Qt::Vertical, this))
{
    SetControlId(this, IDD_SYMMETRY);
    setWindowTitle(tr("左右対称の設定"));
    setFixedSize(DialogUnitsToPixelsX(kWidth), DialogUnitsToPixelsY(kHeight));

    for (const Column& column : {kIdColumn, kNameColumn, kParentColumn, kSymmetryColumn}) {
        auto* heading = new QLabel(tr(column.heading), this);
        PlaceInDialogUnits(heading, {column.left, kHeadingTop, column.width, kRowHeight});
    }
    for (int k = 0; k < kRows; ++k) {
        const QString row = QString::number(k + 1);
        auto makeText = [&](const Column& column, int id) {
            auto* text = new QLabel(this);
            SetControlId(text, id);
            PlaceInDialogUnits(text, RowRect(column, k));
            return text;
        };
        indexTexts[k] = makeText(kIdColumn, IDC_SYMMETRY_ID_FIRST + k);
        nameTexts[k] = makeText(kNameColumn, IDC_SYMMETRY_NAME_FIRST + k);
        parentTexts[k] = makeText(kParentColumn, IDC_SYMMETRY_PARENT_FIRST + k);
        auto* partner = new ElidingComboBox(this);
        SetControlId(partner, IDC_SYMMETRY_EDITS[k]);
        partner->setAccessibleName(tr("%1 行目の対称相手").arg(row));
        PlaceInDialogUnits(partner, RowRect(kSymmetryColumn, k));
        for (const std::string& choice : editor.PartnerChoices()) partner->addItem(QString::fromStdString(choice));
        connect(partner, &QComboBox::activated, this, &SymmetryDialog::Commit);
        partners[k] = partner;
    }
    SetControlId(scrollBar, IDC_SYMMETRY_SCROLL);
    scrollBar->setAccessibleName(tr("表示する行"));
    PlaceInDialogUnits(scrollBar, {kScrollLeft, kFirstRowTop, kScrollWidth, kRows * kRowPitch - 1});
    scrollBar->setPageStep(kRows);
    connect(scrollBar, &QAbstractSlider::actionTriggered, this, &SymmetryDialog::ScrollAction);

    AddOkCancelButtons(this, tr("OK"), {kOkLeft, kButtonTop, kButtonWidth, kButtonHeight},
                       {kCancelLeft, kButtonTop, kButtonWidth, kButtonHeight});

    Fill();
}

SymmetryEditor::EditValues SymmetryDialog::ChosenValues() const
{
    SymmetryEditor::EditValues values;
    for (int k = 0; k < kRows; ++k) values[k] = editor.RowAt(k).visible ? partners[k]->currentIndex() - 1 : -1;
    return values;
}

void SymmetryDialog::Commit()
{
    editor.Commit(ChosenValues());
    Fill();
}

void SymmetryDialog::ScrollAction(int action)
{
    if (const std::optional<SymmetryScrollCode> code = ScrollCodeOf(action))
        editor.Scroll(ChosenValues(), *code, scrollBar->sliderPosition());
    // The editor decides where the window goes, not the scroll bar's own steps.
    scrollBar->setSliderPosition(editor.FirstVisibleRow());
    Fill();
}

void SymmetryDialog::accept()
{
    editor.Apply(ChosenValues());
    QDialog::accept();
}

void SymmetryDialog::Fill()
{
    scrollBar->setVisible(editor.ScrollBarVisible());
    // The platform's range 0 ... n - 1 with a page of 16 lets the thumb reach
    // n - 16; a Qt scroll bar's maximum is that last position itself.
    scrollBar->setRange(0, std::max(0, editor.ScrollRangeMax() - kRows + 1));
    scrollBar->setSliderPosition(editor.FirstVisibleRow());
    for (int k = 0; k < kRows; ++k) {
        const SymmetryEditor::Row row = editor.RowAt(k);
        indexTexts[k]->setText(row.visible ? QString::number(row.partIndex) : QString());
        nameTexts[k]->setText(row.visible ? QString::fromStdString(row.name) : QString());
        parentTexts[k]->setText(row.visible ? QString::number(row.parentIndex) : QString());
        partners[k]->setCurrentIndex(row.visible ? row.symmetryValue + 1 : 0);
        partners[k]->setVisible(row.visible);
    }
}

}  // namespace m3d
