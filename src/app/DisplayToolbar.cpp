#include "app/DisplayToolbar.h"

#include "app/CommandIds.h"
#include "app/DialogControls.h"
#include "app/DisplayToolbarPictures.h"
#include "editor/DisplayCommands.h"
#include "editor/EditorSession.h"
#include "view/WindowLayout.h"

#include <QCoreApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QCursor>
#include <QGuiApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QRadioButton>
#include <QScreen>

#include <algorithm>
#include <utility>

namespace m3d {

namespace {

// The strip is 16 pixels (11 vertical units) high and, in the usual window,
// 451 pixels (258 horizontal units) wide: the controls fill it without gaps.
// The pictures come right after the list so that a narrower view clips the
// overlay switches, never the zoom, pan and layout. The onion skin and the
// motion path come last, where a wider view has room for them, and after
// them the IK switch, which is the same in every toolbar.
constexpr DialogUnitsRect kTypeList{0, 0, 58, 11};
constexpr DialogUnitsRect kZoom{58, 0, 9, 11};
constexpr DialogUnitsRect kPan{67, 0, 9, 11};
constexpr DialogUnitsRect kLayout{76, 0, 9, 11};
constexpr DialogUnitsRect kEdges{85, 0, 19, 11};
constexpr DialogUnitsRect kFaces{104, 0, 19, 11};
constexpr DialogUnitsRect kCollision{123, 0, 40, 11};
constexpr DialogUnitsRect kNormals{163, 0, 25, 11};
constexpr DialogUnitsRect kPivot{188, 0, 25, 11};
constexpr DialogUnitsRect kShowSelection{213, 0, 45, 11};
constexpr DialogUnitsRect kOnionSkin{258, 0, 58, 11};
constexpr DialogUnitsRect kMotionPath{316, 0, 30, 11};
constexpr DialogUnitsRect kIk{346, 0, 30, 11};
// In a view too narrow for one row (ToolbarRows) they start a second row,
// as high as the first.
constexpr DialogUnitsRect kOnionSkinBelow{0, 0, 58, 11};
constexpr DialogUnitsRect kMotionPathBelow{58, 0, 30, 11};
constexpr DialogUnitsRect kIkBelow{88, 0, 30, 11};

// A control named and described by its number; it never takes the keyboard
// focus, which stays with the main form.
template <class Control>
Control* Place(Control* control, int id, DialogUnitsRect where)
{
    SetControlId(control, id);
    PlaceInDialogUnits(control, where);
    control->setFocusPolicy(Qt::NoFocus);
    return control;
}

QLabel* Picture(QWidget* parent, int id, DialogUnitsRect where, const QString& name)
{
    auto* label = Place(new QLabel(parent), id, where);
    label->setAlignment(Qt::AlignCenter);
    label->setAccessibleName(name);
    label->setToolTip(name);
    return label;
}

int PictureSize(const QLabel* label) { return std::min(label->width(), label->height()); }

QString LayoutName(bool fourViewMode)
{
    return fourViewMode ? QCoreApplication::translate("DisplayToolbar", "このビューだけを表示")
                        : QCoreApplication::translate("DisplayToolbar", "4 つのビューを表示");
}

}  // namespace

DisplayToolbar::DisplayToolbar(EditorSession& owner, ViewNavigation& sharedNavigation, int index, QWidget* parent)
    : QWidget(parent),
      session(owner),
      navigation(sharedNavigation),
      viewIndex(index),
      typeList(Place(new QComboBox(this), IDC_VIEW_TYPE, kTypeList)),
      collision(Place(new QCheckBox(tr("Collision"), this), IDC_VIEW_COLLISION, kCollision)),
      edges(Place(new QRadioButton(tr("辺"), this), IDC_VIEW_DRAW_EDGES, kEdges)),
      faces(Place(new QRadioButton(tr("面"), this), IDC_VIEW_DRAW_FACES, kFaces)),
      normals(Place(new QCheckBox(tr("法線"), this), IDC_VIEW_NORMALS, kNormals)),
      pivot(Place(new QCheckBox(tr("原点"), this), IDC_VIEW_PIVOT, kPivot)),
      showSelection(Place(new QCheckBox(tr("選択の表示"), this), IDC_VIEW_SHOW_SELECTION, kShowSelection)),
      onionSkin(Place(new QCheckBox(tr("オニオンスキン"), this), IDC_VIEW_ONION_SKIN, kOnionSkin)),
      motionPath(Place(new QCheckBox(tr("軌跡"), this), IDC_VIEW_MOTION_PATH, kMotionPath)),
      ik(Place(new QCheckBox(this), IDC_VIEW_IK, kIk)),
      zoom(Picture(this, IDC_VIEW_ZOOM, kZoom, tr("ズーム"))),
      pan(Picture(this, IDC_VIEW_PAN, kPan, tr("パン"))),
      layout(Picture(this, IDC_VIEW_LAYOUT, kLayout, LayoutName(true)))
{
    setObjectName(IdName(IDD_VIEW_TOOLBAR));
    setAccessibleDescription(IdName(IDD_VIEW_TOOLBAR));
    setAccessibleName(tr("表示ツールバー %1").arg(index));
    setProperty("viewIndex", index);
    setAutoFillBackground(true);

    typeList->setAccessibleName(tr("ビューの種類"));
    // The switches' labels are as short as their slots; their tooltips say in full what they show.
    const std::pair<QAbstractButton*, QString> fullNames[] = {{edges, tr("辺", "tooltip")},
                                                              {faces, tr("面", "tooltip")},
                                                              {collision, tr("Collision", "tooltip")},
                                                              {normals, tr("法線", "tooltip")},
                                                              {pivot, tr("原点", "tooltip")},
                                                              {showSelection, tr("選択の表示", "tooltip")},
                                                              {onionSkin, tr("オニオンスキン", "tooltip")},
                                                              {motionPath, tr("軌跡", "tooltip")},
                                                              {ik, tr("IKで動かす（I）: チェーンの長さ", "tooltip")}};
    for (const auto& [button, name] : fullNames) button->setToolTip(name);
    for (int type = 0; type < kViewTypeCount; ++type)
        typeList->addItem(QString::fromLatin1(ViewTypeName(ViewType(type))));
    auto* drawMode = new QButtonGroup(this);
    drawMode->addButton(edges);
    drawMode->addButton(faces);
    zoom->setPixmap(ZoomPicture(PictureSize(zoom)));
    pan->setPixmap(PanPicture(PictureSize(pan)));
    for (QLabel* picture : {zoom, pan, layout}) picture->installEventFilter(this);

    connect(typeList, &QComboBox::activated, this, &DisplayToolbar::TypeChosen);
    for (QAbstractButton* button : std::initializer_list<QAbstractButton*>{collision, edges, faces, normals, pivot,
                                                                           showSelection, onionSkin, motionPath})
        connect(button, &QAbstractButton::clicked, this, &DisplayToolbar::DisplaySwitched);
    connect(ik, &QAbstractButton::clicked, this, [this](bool checked) {
        ReturnFocus();
        session.Ik().SetEnabled(checked);
    });
    Refresh();
    subscription = session.Events().Subscribe([this](const EditorEvent& event) {
        if (std::holds_alternative<ViewsChanged>(event) || std::holds_alternative<PreferencesChanged>(event)) Refresh();
    });
}

DisplayToolbar::~DisplayToolbar() { EndDrag(); }

void DisplayToolbar::resizeEvent(QResizeEvent* event)
{
    const bool oneRow = ToolbarRows(width()) == 1;
    PlaceInDialogUnits(onionSkin, oneRow ? kOnionSkin : kOnionSkinBelow);
    PlaceInDialogUnits(motionPath, oneRow ? kMotionPath : kMotionPathBelow);
    PlaceInDialogUnits(ik, oneRow ? kIk : kIkBelow);
    if (!oneRow)
        for (QWidget* below :
             {static_cast<QWidget*>(onionSkin), static_cast<QWidget*>(motionPath), static_cast<QWidget*>(ik)})
            below->setGeometry(below->x(), kToolbarHeight, below->width(), kToolbarHeight);
    QWidget::resizeEvent(event);
}

void DisplayToolbar::Refresh()
{
    const ViewState& views = session.Views();
    const ViewDisplay& display = session.Displays()[size_t(viewIndex)];
    typeList->setCurrentIndex(int(views.views[viewIndex].type));
    collision->setChecked(display.collision != 0);
    (display.drawMode == 1 ? faces : edges)->setChecked(true);
    normals->setChecked(display.normals != 0);
    pivot->setChecked(display.pivot != 0);
    showSelection->setChecked(display.showSelection != 0);
    onionSkin->setChecked(display.onionSkin != 0);
    motionPath->setChecked(display.motionPath != 0);
    ik->setChecked(session.Ik().Enabled());
    ik->setText(tr("IK %1").arg(session.Ik().ChainLength()));
    ik->setAccessibleName(tr("IKで動かす（チェーンの長さ %1）").arg(session.Ik().ChainLength()));
    const int fourViewMode = views.fourViewMode != 0 ? 1 : 0;
    if (fourViewMode == layoutPicture) return;
    layoutPicture = fourViewMode;
    layout->setPixmap(LayoutPicture(PictureSize(layout), fourViewMode != 0));
    layout->setAccessibleName(LayoutName(fourViewMode != 0));
    layout->setToolTip(LayoutName(fourViewMode != 0));
}

void DisplayToolbar::DisplaySwitched()
{
    ViewDisplay display = session.Displays()[size_t(viewIndex)];
    display.drawMode = faces->isChecked() ? 1 : 0;
    display.collision = collision->isChecked() ? 1 : 0;
    display.normals = normals->isChecked() ? 1 : 0;
    display.pivot = pivot->isChecked() ? 1 : 0;
    display.showSelection = showSelection->isChecked() ? 1 : 0;
    display.onionSkin = onionSkin->isChecked() ? 1 : 0;
    display.motionPath = motionPath->isChecked() ? 1 : 0;
    ReturnFocus();
    SetViewDisplayCommand(session, viewIndex, display);
}

void DisplayToolbar::TypeChosen(int type)
{
    ReturnFocus();
    SetViewTypeCommand(session, viewIndex, ViewType(type));
}

bool DisplayToolbar::eventFilter(QObject* watched, QEvent* event)
{
    auto* picture = qobject_cast<QLabel*>(watched);
    if (picture == nullptr) return QWidget::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::MouseButtonPress:
        if (static_cast<QMouseEvent*>(event)->button() != Qt::LeftButton) break;
        if (picture == zoom) BeginDrag(NavigationMode::Zoom);
        if (picture == pan) BeginDrag(NavigationMode::Pan);
        return true;
    case QEvent::MouseMove:
        // The cursor itself, not the event: a move queued before the cursor
        // was parked would count as a jump across the screen.
        if (dragging) navigation.DragTo({QCursor::pos().x(), QCursor::pos().y()});
        return true;
    case QEvent::MouseButtonRelease: {
        const auto* release = static_cast<QMouseEvent*>(event);
        if (release->button() != Qt::LeftButton) break;
        ReturnFocus();
        if (dragging)
            EndDrag();
        else if (picture == layout && layout->rect().contains(release->position().toPoint()))
            ToggleLayoutCommand(session, viewIndex);
        return true;
    }
    default: break;
    }
    return QWidget::eventFilter(watched, event);
}

void DisplayToolbar::BeginDrag(NavigationMode mode)
{
    const QPoint cursor = QCursor::pos();
    const QRect desktop = screen()->geometry();
    QCursor::setPos(desktop.left() + desktop.width() / 2, desktop.top() + desktop.height() / 2);
    // Where the cursor really is: some window systems do not let a program move it.
    const QPoint parked = QCursor::pos();
    navigation.BeginDrag(mode, viewIndex, {cursor.x(), cursor.y()}, {parked.x(), parked.y()});
    if (navigation.Mode() == NavigationMode::None) {
        QCursor::setPos(cursor);
        return;
    }
    dragging = true;
    QGuiApplication::setOverrideCursor(Qt::BlankCursor);
}

void DisplayToolbar::EndDrag()
{
    if (!dragging) return;
    dragging = false;
    QGuiApplication::restoreOverrideCursor();
    ScreenPoint start;
    if (navigation.EndDrag(start)) QCursor::setPos(start.x, start.y);
}

void DisplayToolbar::mousePressEvent(QMouseEvent* event)
{
    ReturnFocus();
    QWidget::mousePressEvent(event);
}

void DisplayToolbar::hideEvent(QHideEvent* event)
{
    // A drag cut short never leaves the cursor hidden.
    EndDrag();
    QWidget::hideEvent(event);
}

void DisplayToolbar::ReturnFocus()
{
    if (QWidget* form = parentWidget()) form->setFocus(Qt::OtherFocusReason);
}

}  // namespace m3d
