#include "app/PartsPanel.h"

#include "app/CommandActions.h"
#include "app/CommandIds.h"
#include "app/DialogControls.h"

#include <QGroupBox>
#include <QPushButton>

namespace m3d {

namespace {

// Layout in dialog units: the group box fills the panel, the buttons are
// stacked inside it.
constexpr int kGroupLeft = 1, kGroupTop = 1, kGroupWidth = 48, kGroupHeight = 72;
constexpr int kButtonLeft = 3, kFirstButtonTop = 10, kButtonPitch = 12, kButtonWidth = 44, kButtonHeight = 11;

}  // namespace

PartsPanel::PartsPanel(CommandActions& actions, QWidget* parent) : QFrame(parent)
{
    SetControlId(this, IDD_PARTS_PANEL);
    setAutoFillBackground(true);
    auto* group = new QGroupBox(tr("Parts"), this);
    PlaceInDialogUnits(group, {kGroupLeft, kGroupTop, kGroupWidth, kGroupHeight});

    const struct {
        int id;
        const char* text;
        EditorCommand command;
    } specs[] = {
        {IDC_PARTS_ADD, QT_TR_NOOP("追加"), EditorCommand::AddPart},
        {IDC_PARTS_DELETE, QT_TR_NOOP("削除"), EditorCommand::DeletePart},
        {IDC_PARTS_SWAP, QT_TR_NOOP("入れ替え"), EditorCommand::SwapPart},
        {IDC_PARTS_ADD_MIRRORED, QT_TR_NOOP("反転して追加"), EditorCommand::AddMirroredPart},
        {IDC_PARTS_SYMMETRY, QT_TR_NOOP("対称関係"), EditorCommand::SymmetrySettings},
    };
    int top = kFirstButtonTop;
    for (const auto& spec : specs) {
        QPushButton* button = AddButton(this, spec.id, tr(spec.text), {kButtonLeft, top, kButtonWidth, kButtonHeight});
        button->setFocusPolicy(Qt::NoFocus);
        actions.Bind(button, spec.command);
        top += kButtonPitch;
    }
}

}  // namespace m3d
