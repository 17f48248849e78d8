#include "app/MotionPanel.h"

#include "app/CommandActions.h"
#include "app/CommandIds.h"
#include "app/ElidingComboBox.h"
#include "app/UpDownControl.h"
#include "editor/EditorSession.h"
#include "editor/FieldRules.h"

#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QScrollBar>

namespace {

// Ruler labels' left edges in dialog units.
constexpr int kRulerX[8] = {42, 71, 99, 128, 156, 185, 214, 242};

ScrollAction ScrollActionOf(int action)
{
    switch (action) {
    case QAbstractSlider::SliderSingleStepSub: return ScrollAction::LineBack;
    case QAbstractSlider::SliderSingleStepAdd: return ScrollAction::LineForward;
    case QAbstractSlider::SliderPageStepSub: return ScrollAction::PageBack;
    case QAbstractSlider::SliderPageStepAdd: return ScrollAction::PageForward;
    case QAbstractSlider::SliderMove: return ScrollAction::Track;
    case QAbstractSlider::SliderToMinimum: return ScrollAction::ToStart;
    case QAbstractSlider::SliderToMaximum: return ScrollAction::ToEnd;
    default: return ScrollAction::Other;
    }
}

QScrollBar* AddScrollBar(QWidget* parent, Qt::Orientation orientation, int id, const QString& name,
                         DialogUnitsRect rect)
{
    auto* bar = new QScrollBar(orientation, parent);
    SetControlId(bar, id);
    bar->setAccessibleName(name);
    bar->setPageStep(8);
    PlaceInDialogUnits(bar, rect);
    return bar;
}

void SetLabelText(QLabel* label, const QString& text)
{
    label->setText(text);
    label->setAccessibleName(text);
}

}  // namespace

MotionPanel::MotionPanel(EditorSession& owner, CommandActions& actions, QWidget* parent)
    : QWidget(parent), session(owner), actions(actions), timeline(owner.Timeline()), playback(owner.Playback())
{
    SetControlId(this, IDD_MOTION_PANEL);
    setAutoFillBackground(true);
    stepTimer.setSingleShot(true);
    connect(&stepTimer, &QTimer::timeout, this, &MotionPanel::RunStep);
    BuildControls();
    FillList();
    timeline.UpdateScrollRanges();
    ShowScrollBars();
    ShowLabels();
    subscription = session.Events().Subscribe([this](const EditorEvent& event) { SessionChanged(event); });
}

void MotionPanel::BuildControls()
{
    using C = EditorCommand;
    list = new ElidingComboBox(this);
    SetControlId(list, IDC_MOTION_LIST);
    list->setAccessibleName(tr("モーション一覧"));
    list->setMaxVisibleItems(20);
    PlaceInDialogUnits(list, {0, 0, 48, 14});
    actions.BindEnabled(list, C::SelectMotion);
    connect(list, &QComboBox::currentIndexChanged, this, [this](int index) {
        this->actions.Run(EditorCommand::SelectMotion, index);
        ReturnFocus();
    });

    AddCommandButton(IDC_MOTION_NEW, tr("新規"), {47, 0, 38, 14}, C::NewMotion);
    AddCommandButton(IDC_MOTION_DELETE, tr("削除"), {85, 0, 19, 14}, C::DeleteMotion);
    AddCommandButton(IDC_MOTION_RENAME, tr("名前変更"), {104, 0, 32, 14}, C::RenameMotion);
    currentLabel = new QLabel(this);
    SetControlId(currentLabel, IDC_MOTION_CURRENT_FRAME);
    PlaceInDialogUnits(currentLabel, {137, 3, 38, 8});
    lengthLabel = new QLabel(this);
    SetControlId(lengthLabel, IDC_MOTION_LENGTH_LABEL);
    PlaceInDialogUnits(lengthLabel, {178, 3, 38, 8});
    AddCommandButton(IDC_MOTION_CHANGE_LENGTH, tr("長さ変更"), {227, 0, 35, 14}, C::SetMotionLength);

    for (int j = 0; j < 8; ++j) {
        rulerLabels[size_t(j)] = new QLabel(this);
        SetControlId(rulerLabels[size_t(j)], IDC_MOTION_RULER_FIRST + j);
        rulerLabels[size_t(j)]->setAlignment(Qt::AlignCenter);
        PlaceInDialogUnits(rulerLabels[size_t(j)], {kRulerX[j], 15, 15, 8});
    }
    for (int r = 0; r < TIMELINE_ROWS; ++r) {
        rowLabels[size_t(r)] = new QLabel(this);
        SetControlId(rowLabels[size_t(r)], IDC_MOTION_ROW_NAME_FIRST + r);
        rowLabels[size_t(r)]->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        PlaceInDialogUnits(rowLabels[size_t(r)], {5, 26 + 10 * r, 40, 8});
    }
    rowsBar = AddScrollBar(this, Qt::Vertical, IDC_MOTION_ROWS_SCROLL, tr("表示するパーツ"),
                           {252, 25, 10, 80});
    connect(rowsBar, &QScrollBar::actionTriggered, this, &MotionPanel::ScrollRows);
    framesBar = AddScrollBar(this, Qt::Horizontal, IDC_MOTION_FRAMES_SCROLL, tr("表示するフレーム"),
                             {46, 106, 205, 11});
    connect(framesBar, &QScrollBar::actionTriggered, this, &MotionPanel::ScrollFrames);

    // Play and stop stay usable while playing; each does nothing when it cannot run.
    AddCommandButton(IDC_MOTION_PLAY, tr("再生"), {0, 118, 19, 14}, C::Play);
    AddCommandButton(IDC_MOTION_STOP, tr("停止"), {19, 118, 19, 14}, C::Stop);

    frameRate = new QLineEdit(QString::number(playback.FramesPerSecond()), this);
    SetControlId(frameRate, IDC_MOTION_FRAME_RATE);
    frameRate->setAccessibleName(tr("frame/sec"));
    PlaceInDialogUnits(frameRate, {45, 118, 15, 12});
    actions.BindEnabled(frameRate, C::FrameRate);
    auto* updown = new UpDownControl(MIN_FRAME_RATE, MAX_FRAME_RATE, this);
    SetControlId(updown, IDC_MOTION_FRAME_RATE_SPIN);
    updown->setAccessibleName(tr("frame/sec の増減"));
    PlaceInDialogUnits(updown, {60, 118, 10, 12});
    updown->SetBuddy(frameRate, playback.FramesPerSecond());
    actions.BindEnabled(updown, C::FrameRate);
    PlaceInDialogUnits(new QLabel(tr("frame/sec"), this), {71, 120, 36, 8});

    const std::tuple<int, QString, DialogUnitsRect, C> keyButtons[] = {
        {IDC_MOTION_SET_KEY, tr("Set"), {112, 118, 15, 14}, C::SetKey},
        {IDC_MOTION_DELETE_KEY, tr("Del"), {127, 118, 15, 14}, C::DeleteKey},
        {IDC_MOTION_SET_ALL_KEYS, tr("SetAll"), {155, 118, 23, 14}, C::SetAllKeys},
        {IDC_MOTION_DELETE_ALL_KEYS, tr("DelAll"), {178, 118, 23, 14}, C::DeleteAllKeys},
        {IDC_MOTION_COPY_KEYS, tr("Copy"), {214, 118, 23, 14}, C::CopyKeys},
        {IDC_MOTION_PASTE_KEYS, tr("Paste"), {237, 118, 23, 14}, C::PasteKeys},
    };
    for (const auto& [id, text, rect, command] : keyButtons) AddCommandButton(id, text, rect, command);
}

void MotionPanel::AddCommandButton(int id, const QString& text, DialogUnitsRect rect, EditorCommand command)
{
    QPushButton* button = AddButton(this, id, text, rect);
    // A pressed button leaves the keyboard focus where it was, with the main window.
    button->setFocusPolicy(Qt::NoFocus);
    actions.Bind(button, command);
    connect(button, &QPushButton::clicked, this, &MotionPanel::ReturnFocus);
}

void MotionPanel::ReturnFocus()
{
    // The keys then go to the main window again, not to the list: an arrow
    // key would otherwise choose another Motion.
    if (QWidget* form = parentWidget()) form->setFocus(Qt::OtherFocusReason);
}

void MotionPanel::SetFrameRate(int rate)
{
    playback.SetFramesPerSecond(rate);
    frameRate->setText(QString::number(playback.FramesPerSecond()));
}

bool MotionPanel::ReadFrameRate()
{
    int rate = playback.FramesPerSecond();
    const FieldCheck check = CheckIntegerField(frameRate->text().toStdString(), MIN_FRAME_RATE, MAX_FRAME_RATE, rate);
    if (!check.accepted) {
        ShowRefusedField(frameRate, check.message);
        return false;
    }
    playback.SetFramesPerSecond(rate);
    return true;
}

void MotionPanel::FillList()
{
    const QSignalBlocker block(list);
    list->clear();
    for (const Motion& motion : session.GetScene().motions) list->addItem(QString::fromStdString(motion.name));
    list->setCurrentIndex(session.CurrentMotion());
}

void MotionPanel::ShowLabels()
{
    SetLabelText(currentLabel, tr("現在:%1").arg(session.CurrentFrame()));
    const int motion = session.CurrentMotion();
    SetLabelText(lengthLabel,
                 motion < 0 ? QString() : tr("全体:%1").arg(session.GetScene().motions[motion].length));
    for (int j = 0; j < 8; ++j) SetLabelText(rulerLabels[size_t(j)], QString::number(10 * (timeline.ScrollTens() + j)));
    for (int r = 0; r < TIMELINE_ROWS; ++r) {
        const Part* part = session.GetScene().PartAt(timeline.FirstRow() + r);
        SetElidedText(rowLabels[size_t(r)], part ? QString::fromStdString(part->displayName) : QString());
    }
}

void MotionPanel::ShowScrollBars()
{
    const QSignalBlocker blockRows(rowsBar);
    const QSignalBlocker blockFrames(framesBar);
    rowsBar->setRange(0, timeline.MaxFirstRow());
    rowsBar->setValue(timeline.FirstRow());
    framesBar->setRange(0, timeline.MaxScrollTens());
    framesBar->setValue(timeline.ScrollTens());
}

void MotionPanel::ScrollFrames(int action)
{
    timeline.ScrollHorizontal(ScrollActionOf(action), framesBar->sliderPosition());
    framesBar->setSliderPosition(timeline.ScrollTens());
    ShowLabels();
    update();
}

void MotionPanel::ScrollRows(int action)
{
    timeline.ScrollVertical(ScrollActionOf(action), rowsBar->sliderPosition());
    rowsBar->setSliderPosition(timeline.FirstRow());
    ShowLabels();
    update();
}

void MotionPanel::FrameDrawn()
{
    if (session.IsPlaying()) ScheduleStep();
}

void MotionPanel::ScheduleStep()
{
    const int wait = playback.MillisecondsToStep();
    if (wait >= 0) stepTimer.start(wait);
}

void MotionPanel::RunStep()
{
    if (!playback.Step()) {
        ScheduleStep();
        return;
    }
    ShowLabels();
    ShowScrollBars();
    update();
    // Playback waits for the frame to be drawn (FrameDrawn); auto-scroll goes on by itself.
    if (!session.IsPlaying()) ScheduleStep();
}

void MotionPanel::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const uint32_t argb = session.Colours()[COLOUR_ANIM];
    const QColor anim((argb >> 16) & 0xFF, (argb >> 8) & 0xFF, argb & 0xFF);
    const QPen black(Qt::black, 1);
    painter.setPen(black);
    painter.drawRect(DialogUnitsToPixels({47, 24, 205, 82}).adjusted(0, 0, -1, -1));

    const int top = TIMELINE_TOP;
    const int selectedRow = session.CurrentPart() - timeline.FirstRow();
    if (session.CurrentPart() >= 0 && selectedRow >= 0 && selectedRow < TIMELINE_ROWS) {
        painter.setPen(QPen(anim, 1));
        painter.drawRect(7, top + 15 * selectedRow, 81 - 7 - 1, 16 - 1);
    }
    if (timeline.HasRange()) {
        int left = timeline.FrameX(timeline.RangeLow());
        int right = timeline.FrameX(timeline.RangeHigh());
        if (right >= 86 && left < 441) painter.fillRect(QRect(QPoint(std::max(left, 81), 36), QPoint(std::min(right, 441) - 1, 159)), anim);
    }
    painter.setPen(black);
    for (int j = 0; j < 8; ++j) painter.drawLine(86 + 50 * j, top, 86 + 50 * j, 159);
    painter.setPen(QPen(Qt::black, 1, Qt::DotLine));
    for (int j = 0; j < 7; ++j) painter.drawLine(111 + 50 * j, top, 111 + 50 * j, 159);
    painter.setPen(black);
    const Scene& scene = session.GetScene();
    const int motion = session.CurrentMotion();
    const int first = 10 * timeline.ScrollTens();
    for (int r = 0; r < TIMELINE_ROWS; ++r) {
        const int part = timeline.FirstRow() + r;
        if (part >= scene.PartCount()) break;
        painter.drawLine(83, 45 + 15 * r, 439, 45 + 15 * r);
        if (motion < 0 || part >= int(scene.motions[size_t(motion)].tracks.size())) continue;
        painter.setBrush(Qt::white);
        for (const KeyFrame& key : scene.motions[size_t(motion)].tracks[size_t(part)].keys) {
            if (key.frame < first || key.frame >= first + TIMELINE_VISIBLE_FRAMES) continue;
            painter.drawRect(84 + 5 * (key.frame - first), 43 + 15 * r, 4, 4);
        }
    }
    painter.setPen(QPen(anim, 1));
    const int x = timeline.FrameX(session.CurrentFrame());
    painter.drawLine(x, top, x, 163);
}

void MotionPanel::mousePressEvent(QMouseEvent* event)
{
    const QPoint p = event->position().toPoint();
    if (event->button() == Qt::LeftButton) timeline.LeftDown(p.x(), p.y());
    else if (event->button() == Qt::RightButton) timeline.RightDown(p.x(), p.y());
    update();
}

void MotionPanel::mouseDoubleClickEvent(QMouseEvent* event)
{
    const QPoint p = event->position().toPoint();
    if (event->button() == Qt::LeftButton) timeline.LeftDoubleClick(p.x(), p.y());
    update();
}

void MotionPanel::mouseMoveEvent(QMouseEvent* event)
{
    timeline.MouseMove(event->position().toPoint().x());
    if (timeline.AutoScroll() != 0 && !stepTimer.isActive()) ScheduleStep();
    update();
}

void MotionPanel::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton) timeline.LeftUp();
    else if (event->button() == Qt::RightButton) timeline.RightUp();
    update();
}

void MotionPanel::keyPressEvent(QKeyEvent* event)
{
    // Enter and Escape inside the panel do nothing.
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter || event->key() == Qt::Key_Escape) return;
    QWidget::keyPressEvent(event);
}

void MotionPanel::SessionChanged(const EditorEvent& event)
{
    const bool rangesChanged = std::holds_alternative<MotionListChanged>(event) ||
                               std::holds_alternative<SelectionChanged>(event) ||
                               std::holds_alternative<TreeItemInserted>(event) ||
                               std::holds_alternative<TreeItemRemoved>(event);
    if (std::holds_alternative<MotionListChanged>(event)) FillList();
    if (rangesChanged) timeline.UpdateScrollRanges();
    if (std::holds_alternative<PlayingChanged>(event)) ScheduleStep();
    ShowScrollBars();
    ShowLabels();
    update();
}

