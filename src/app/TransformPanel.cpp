#include "app/TransformPanel.h"

#include "app/CommandActions.h"
#include "app/CommandIds.h"
#include "app/DialogControls.h"
#include "editor/EditorSession.h"
#include "editor/TransformPanelControls.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace m3d {

namespace {

// Rows of a "回転" or "移動" group, in dialog units from the group's top: the
// row caption and its "Set", then three fields, each with its letter.
constexpr int kGroupHeight = 106;
constexpr int kRowTops[2] = {9, 57};
constexpr int kFieldStep = 11;

void AddLabel(QWidget* parent, const QString& text, DialogUnitsRect rect)
{
    PlaceInDialogUnits(new QLabel(text, parent), rect);
}

}  // namespace

struct TransformPanel::RowsGroup {
    int top;  // in dialog units
    QString caption;
    std::array<QString, 3> letters;
    int firstField;          // index of its first field among the twelve
    std::array<int, 8> ids;  // the relative row's three fields and its Set, then the absolute row's
    std::array<EditorCommand, 2> commands;
};

TransformPanel::TransformPanel(EditorSession& owner, CommandActions& actions, QWidget* parent)
    : QWidget(parent), session(owner), actions(actions)
{
    SetControlId(this, IDD_TRANSFORM_PANEL);
    setAutoFillBackground(true);

    using C = EditorCommand;
    BuildGridGroup();
    BuildRowsGroup(
        {35,
         tr("回転"),
         {"H", "P", "B"},
         0,
         {IDC_RELATIVE_ROTATION_H, IDC_RELATIVE_ROTATION_P, IDC_RELATIVE_ROTATION_B, IDC_RELATIVE_ROTATION_SET,
          IDC_ABSOLUTE_ROTATION_H, IDC_ABSOLUTE_ROTATION_P, IDC_ABSOLUTE_ROTATION_B, IDC_ABSOLUTE_ROTATION_SET},
         {C::SetRelativeRotation, C::SetAbsoluteRotation}});
    BuildRowsGroup(
        {143,
         tr("移動"),
         {"x", "y", "z"},
         6,
         {IDC_RELATIVE_POSITION_X, IDC_RELATIVE_POSITION_Y, IDC_RELATIVE_POSITION_Z, IDC_RELATIVE_POSITION_SET,
          IDC_ABSOLUTE_POSITION_X, IDC_ABSOLUTE_POSITION_Y, IDC_ABSOLUTE_POSITION_Z, IDC_ABSOLUTE_POSITION_SET},
         {C::SetRelativePosition, C::SetAbsolutePosition}});

    linkLR = new QCheckBox(tr("左右連動"), this);
    PlaceInDialogUnits(linkLR, {4, 251, 44, 10});
    SetControlId(linkLR, IDC_LINK_LR);
    actions.BindEnabled(linkLR, C::LinkLR);
    connect(linkLR, &QCheckBox::clicked, this,
            [this](bool checked) { this->actions.Run(EditorCommand::LinkLR, checked); });

    const std::tuple<int, QString, C, DialogUnitsRect> buttons[] = {
        {IDC_UNDO, tr("Undo"), C::Undo, {2, 263, 23, 12}},
        {IDC_REDO, tr("Redo"), C::Redo, {25, 263, 23, 12}},
        {IDC_FIT_VIEWS, tr("視点調整"), C::FitViews, {2, 276, 46, 12}},
    };
    for (const auto& [id, text, command, rect] : buttons) {
        auto* button = new QPushButton(text, this);
        PlaceInDialogUnits(button, rect);
        AddCommandButton(button, id, command);
    }

    linkLR->setChecked(session.TransformPanel().linkLR != 0);
    ShowGridPlanes();
    ShowFields();
    subscription = session.Events().Subscribe([this](const EditorEvent& event) { SessionChanged(event); });
}

void TransformPanel::BuildGridGroup()
{
    PlaceInDialogUnits(new QGroupBox(tr("グリッド"), this), {2, 0, 46, 34});
    const std::tuple<int, QString, DialogUnitsRect> planes[] = {
        {IDC_GRID_XY, QStringLiteral("XY"), {6, 10, 20, 10}},
        {IDC_GRID_YZ, QStringLiteral("YZ"), {26, 10, 20, 10}},
        {IDC_GRID_ZX, QStringLiteral("ZX"), {6, 21, 20, 10}},
    };
    for (size_t i = 0; i < gridPlanes.size(); ++i) {
        const auto& [id, text, rect] = planes[i];
        gridPlanes[i] = new QCheckBox(text, this);
        SetControlId(gridPlanes[i], id);
        PlaceInDialogUnits(gridPlanes[i], rect);
        connect(gridPlanes[i], &QCheckBox::clicked, this, &TransformPanel::GridPlaneClicked);
    }
}

void TransformPanel::BuildRowsGroup(const RowsGroup& g)
{
    PlaceInDialogUnits(new QGroupBox(g.caption, this), {2, g.top, 46, kGroupHeight});
    const QString rows[2] = {tr("相対"), tr("絶対")};
    for (int row = 0; row < 2; ++row) {
        const int rowTop = g.top + kRowTops[row];
        AddLabel(this, rows[row], {6, rowTop + 2, 18, 8});
        // Created in tab order: the three fields, then their "Set".
        for (int k = 0; k < 3; ++k) {
            const int fieldTop = rowTop + 13 + k * kFieldStep;
            AddLabel(this, g.letters[size_t(k)], {6, fieldTop + 1, 6, 8});
            auto* field = new QLineEdit(this);
            SetControlId(field, g.ids[size_t(row * 4 + k)]);
            field->setAccessibleName(
                tr("%1%2 %3", "a field: its row, group and axis").arg(rows[row], g.caption, g.letters[size_t(k)]));
            PlaceInDialogUnits(field, {13, fieldTop, 32, 11});
            fields[size_t(g.firstField + row * 3 + k)] = field;
        }
        auto* set = new QPushButton(tr("Set"), this);
        PlaceInDialogUnits(set, {26, rowTop, 19, 12});
        AddCommandButton(set, g.ids[size_t(row * 4 + 3)], g.commands[size_t(row)]);
    }
}

void TransformPanel::AddCommandButton(QAbstractButton* button, int id, EditorCommand command)
{
    SetControlId(button, id);
    actions.Bind(button, command);
    // After a command the keys go back to the main window (the arrows step
    // frames again), not to the field typed in last.
    button->setFocusPolicy(Qt::NoFocus);
    // A refused field keeps the focus, to be corrected.
    connect(button, &QAbstractButton::clicked, this, [this] {
        if (QWidget* form = parentWidget(); form && !fieldRefused) form->setFocus(Qt::OtherFocusReason);
        fieldRefused = false;
    });
}

void TransformPanel::ShowFields()
{
    const TransformFieldTexts texts = FieldTextsOf(session.TransformPanel().fields);
    for (size_t i = 0; i < fields.size(); ++i) SetFieldText(fields[i], QString::fromStdString(texts[i]));
}

void TransformPanel::ShowGridPlanes()
{
    const ViewState& views = session.Views();
    const int flags[3] = {views.gridXY, views.gridYZ, views.gridZX};
    for (size_t i = 0; i < gridPlanes.size(); ++i) gridPlanes[i]->setChecked(flags[i] != 0);
}

bool TransformPanel::ReadFields()
{
    TransformFieldTexts texts;
    for (size_t i = 0; i < fields.size(); ++i) texts[i] = fields[i]->text().toStdString();
    const TransformFieldsRead read = ReadTransformFields(texts, session.TransformPanel().fields);
    fieldRefused = !read.check.accepted;
    if (fieldRefused) ShowRefusedField(fields[size_t(read.refusedField)], read.check.message);
    return read.check.accepted;
}

void TransformPanel::GridPlaneClicked()
{
    SetGridPlanes(session, gridPlanes[0]->isChecked(), gridPlanes[1]->isChecked(), gridPlanes[2]->isChecked());
}

void TransformPanel::SessionChanged(const EditorEvent& event)
{
    if (std::holds_alternative<PoseChanged>(event) || std::holds_alternative<SelectionChanged>(event)) ShowFields();
    if (std::holds_alternative<ViewsChanged>(event)) ShowGridPlanes();
}

}  // namespace m3d
