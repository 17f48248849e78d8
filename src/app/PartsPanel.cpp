#include "app/PartsPanel.h"

#include "app/CommandIds.h"
#include "app/DialogControls.h"
#include "view/WindowLayout.h"
#include "app/PartCommandDialogs.h"
#include "editor/EditorSession.h"
#include "editor/PartCommands.h"

#include <QGroupBox>
#include <QPushButton>

#include <functional>

namespace {

// Layout in dialog units: the group box fills the panel, the buttons are
// stacked inside it.
constexpr int kGroupLeft = 1, kGroupTop = 1, kGroupWidth = 48, kGroupHeight = 72;
constexpr int kButtonLeft = 3, kFirstButtonTop = 10, kButtonPitch = 12, kButtonWidth = 44, kButtonHeight = 11;

}  // namespace

PartsPanel::PartsPanel(EditorSession& session, QWidget* parent) : QFrame(parent), session(session)
{
    SetControlId(this, IDD_PARTS_PANEL);
    setAutoFillBackground(true);
    auto* group = new QGroupBox(tr("Parts"), this);
    PlaceInDialogUnits(group, {kGroupLeft, kGroupTop, kGroupWidth, kGroupHeight});

    const struct {
        int id;
        const char* text;
        EditorCommand command;
        std::function<void()> run;
    } specs[] = {
        {IDC_PARTS_ADD, QT_TR_NOOP("追加"), EditorCommand::AddPart, [this] { AddObjectFromDialog(this->session, window()); }},
        {IDC_PARTS_DELETE, QT_TR_NOOP("削除"), EditorCommand::DeletePart, [this] { DeleteCurrentPart(this->session); }},
        {IDC_PARTS_SWAP, QT_TR_NOOP("入れ替え"), EditorCommand::SwapPart, [this] { SwapObjectFromDialog(this->session, window()); }},
        {IDC_PARTS_ADD_MIRRORED, QT_TR_NOOP("反転して追加"), EditorCommand::AddMirroredPart,
         [this] { AddMirroredPartFromDialog(this->session, window()); }},
        {IDC_PARTS_SYMMETRY, QT_TR_NOOP("対称関係"), EditorCommand::SymmetrySettings,
         [this] { EditSymmetry(this->session, window()); }},
    };
    int top = kFirstButtonTop;
    for (const auto& spec : specs) {
        QPushButton* button =
            AddButton(this, spec.id, tr(spec.text), {kButtonLeft, top, kButtonWidth, kButtonHeight});
        button->setFocusPolicy(Qt::NoFocus);
        connect(button, &QPushButton::clicked, this, spec.run);
        buttons.push_back({button, spec.command});
        top += kButtonPitch;
    }
    // Selection, the Part set and playback all change what can run.
    subscription = session.Events().Subscribe([this](const EditorEvent& event) {
        if (ChangesCommandState(event)) RefreshButtons();
    });
    RefreshButtons();
}

void PartsPanel::RefreshButtons()
{
    for (const Button& button : buttons) button.widget->setEnabled(CanRun(session, button.command));
}
