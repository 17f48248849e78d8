#include "app/MotionPanel.h"

#include "anim/MotionLoop.h"
#include "anim/PoseEvaluation.h"

#include "app/CommandActions.h"
#include "app/CommandIds.h"
#include "app/ElidingComboBox.h"
#include "app/KeyMarkerPainting.h"
#include "app/UpDownControl.h"
#include "editor/EditorSession.h"
#include "editor/FieldRules.h"

#include <QCheckBox>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QScrollBar>
#include <QWheelEvent>

namespace m3d {

namespace {

// The designed size in pixels (263 x 132 dialog units); a larger panel shows
// more of the timeline.
constexpr int kDesignedWidth = 460, kDesignedHeight = 198;

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

QScrollBar* AddScrollBar(QWidget* parent, Qt::Orientation orientation, int id, const QString& name)
{
    auto* bar = new QScrollBar(orientation, parent);
    SetControlId(bar, id);
    bar->setAccessibleName(name);
    bar->setPageStep(8);
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
    Place(list, {0, 0, 48, 14}, Anchor::Fixed);
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
    Place(currentLabel, {137, 3, 38, 8}, Anchor::Fixed);
    lengthLabel = new QLabel(this);
    SetControlId(lengthLabel, IDC_MOTION_LENGTH_LABEL);
    Place(lengthLabel, {178, 3, 38, 8}, Anchor::Fixed);
    AddCommandButton(IDC_MOTION_CHANGE_LENGTH, tr("長さ変更"), {227, 0, 35, 14}, C::SetMotionLength);

    rowsBar = AddScrollBar(this, Qt::Vertical, IDC_MOTION_ROWS_SCROLL, tr("表示するパーツ"));
    Place(rowsBar, {252, 25, 10, 80}, Anchor::RightAndTaller);
    connect(rowsBar, &QScrollBar::actionTriggered, this, &MotionPanel::ScrollRows);
    framesBar = AddScrollBar(this, Qt::Horizontal, IDC_MOTION_FRAMES_SCROLL, tr("表示するフレーム"));
    Place(framesBar, {46, 106, 205, 11}, Anchor::WiderAndBottom);
    connect(framesBar, &QScrollBar::actionTriggered, this, &MotionPanel::ScrollFrames);

    // The rate achieved, over the rows' names; real-time playback just above play and the rate.
    achievedRate = new QLabel(this);
    SetControlId(achievedRate, IDC_MOTION_ACHIEVED_RATE);
    achievedRate->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    Place(achievedRate, {0, 15, 40, 8}, Anchor::Fixed);
    loop = new QCheckBox(tr("ループ"), this);
    SetControlId(loop, IDC_MOTION_LOOP);
    loop->setToolTip(tr("最後のフレームを最初のフレームにつなげて繰り返します"));
    loop->setFocusPolicy(Qt::NoFocus);
    Place(loop, {1, 14, 44, 10}, Anchor::Fixed);
    actions.BindEnabled(loop, C::ToggleMotionLoop);
    connect(loop, &QCheckBox::clicked, this, [this] {
        this->actions.Run(EditorCommand::ToggleMotionLoop);
        ReturnFocus();
    });
    realTime = new QCheckBox(tr("実時間"), this);
    SetControlId(realTime, IDC_MOTION_REAL_TIME);
    realTime->setChecked(playback.RealTime());
    realTime->setFocusPolicy(Qt::NoFocus);
    Place(realTime, {1, 106, 44, 11}, Anchor::Bottom);
    actions.BindEnabled(realTime, C::RealTimePlayback);
    connect(realTime, &QCheckBox::clicked, this, [this](bool checked) {
        this->actions.Run(EditorCommand::RealTimePlayback, checked);
        ReturnFocus();
    });

    // Play and stop stay usable while playing; each does nothing when it cannot run.
    AddCommandButton(IDC_MOTION_PLAY, tr("再生"), {0, 118, 19, 14}, C::Play);
    AddCommandButton(IDC_MOTION_STOP, tr("停止"), {19, 118, 19, 14}, C::Stop);

    frameRate = new QLineEdit(QString::number(playback.FramesPerSecond()), this);
    SetControlId(frameRate, IDC_MOTION_FRAME_RATE);
    frameRate->setAccessibleName(tr("frame/sec"));
    Place(frameRate, {45, 118, 15, 12}, Anchor::Bottom);
    actions.BindEnabled(frameRate, C::FrameRate);
    auto* updown = new UpDownControl(kMinFrameRate, kMaxFrameRate, this);
    SetControlId(updown, IDC_MOTION_FRAME_RATE_SPIN);
    updown->setAccessibleName(tr("frame/sec の増減"));
    Place(updown, {60, 118, 10, 12}, Anchor::Bottom);
    updown->SetBuddy(frameRate, playback.FramesPerSecond());
    actions.BindEnabled(updown, C::FrameRate);
    Place(new QLabel(tr("frame/sec"), this), {71, 120, 36, 8}, Anchor::Bottom);

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

void MotionPanel::Place(QWidget* control, DialogUnitsRect rect, Anchor anchor)
{
    placed.push_back({control, rect, anchor});
    PlaceInDialogUnits(control, rect);
}

void MotionPanel::PlaceControls()
{
    const int wider = std::max(0, width() - kDesignedWidth), taller = std::max(0, height() - kDesignedHeight);
    for (const PlacedControl& p : placed) {
        QRect r = DialogUnitsToPixels(p.rect);
        switch (p.anchor) {
        case Anchor::Fixed: break;
        case Anchor::Bottom: r.translate(0, taller); break;
        case Anchor::RightAndTaller:
            r.translate(wider, 0);
            r.setHeight(r.height() + taller);
            break;
        case Anchor::WiderAndBottom:
            r.translate(0, taller);
            r.setWidth(r.width() + wider);
            break;
        }
        p.control->setGeometry(r);
    }
}

void MotionPanel::AddCommandButton(int id, const QString& text, DialogUnitsRect rect, EditorCommand command)
{
    QPushButton* button = AddButton(this, id, text, rect);
    placed.push_back({button, rect, rect.y == 0 ? Anchor::Fixed : Anchor::Bottom});
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

void MotionPanel::ShowPlaybackSettings()
{
    frameRate->setText(QString::number(playback.FramesPerSecond()));
    realTime->setChecked(playback.RealTime());
}

bool MotionPanel::ReadFrameRate()
{
    int rate = playback.FramesPerSecond();
    const FieldCheck check = CheckIntegerField(frameRate->text().toStdString(), kMinFrameRate, kMaxFrameRate, rate);
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
    for (const Motion& motion : session.GetScene().Motions()) list->addItem(QString::fromStdString(motion.name));
    list->setCurrentIndex(session.CurrentMotion());
}

void MotionPanel::ShowLabels()
{
    SetLabelText(currentLabel, tr("現在:%1").arg(session.CurrentFrame()));
    const int motion = session.CurrentMotion();
    SetLabelText(lengthLabel, motion < 0 ? QString() : tr("全体:%1").arg(session.GetScene().Motions()[motion].length));
    ShowRuler();
    ShowRowNames();
    ShowAchievedRate();
}

QLabel* MotionPanel::LabelAt(std::vector<QLabel*>& labels, size_t index, int firstId, int moreFirstId)
{
    while (labels.size() <= index) {
        auto* label = new QLabel(this);
        const int k = int(labels.size());
        SetControlId(label, k < 8 ? firstId + k : moreFirstId + k - 8);
        label->show();
        labels.push_back(label);
    }
    return labels[index];
}

void MotionPanel::ShowRuler()
{
    // A number over every line of the ruler: 8 at the designed size and zoom.
    const TimelineGeometry& geometry = timeline.Geometry();
    const int step = geometry.RulerStep();
    const int first = timeline.FirstFrame(), last = first + geometry.VisibleFrames() - 1;
    size_t shown = 0;
    for (int frame = (first + step - 1) / step * step; frame <= last; frame += step, ++shown) {
        QLabel* label = LabelAt(rulerLabels, shown, IDC_MOTION_RULER_FIRST, IDC_MOTION_RULER_MORE_FIRST);
        label->setAlignment(Qt::AlignCenter);
        PlaceInDialogUnits(label, {TimelineGeometry::RulerLabelLeftUnits(timeline.FrameX(frame)), 15, 15, 8});
        SetLabelText(label, QString::number(frame));
        label->show();
    }
    for (size_t k = shown; k < rulerLabels.size(); ++k) rulerLabels[k]->hide();
}

void MotionPanel::ShowRowNames()
{
    const int rows = timeline.Geometry().Rows();
    for (int r = 0; r < rows; ++r) {
        QLabel* label = LabelAt(rowLabels, size_t(r), IDC_MOTION_ROW_NAME_FIRST, IDC_MOTION_ROW_NAME_MORE_FIRST);
        label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        PlaceInDialogUnits(label, {5, 26 + 10 * r, 40, 8});
        const Part* part = session.GetScene().PartAt(timeline.FirstRow() + r);
        SetElidedText(label, part ? QString::fromStdString(part->displayName) : QString());
        label->show();
    }
    for (size_t k = size_t(rows); k < rowLabels.size(); ++k) rowLabels[k]->hide();
}

void MotionPanel::ShowAchievedRate()
{
    const double rate = playback.AchievedFramesPerSecond();
    SetLabelText(achievedRate, session.IsPlaying() && rate > 0 ? tr("%1 fps").arg(rate, 0, 'f', 1) : QString());
    const int motion = session.CurrentMotion();
    loop->setVisible(!session.IsPlaying());
    loop->setChecked(motion >= 0 && session.GetScene().MotionAt(motion).loop);
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
    const TimelineGeometry& g = timeline.Geometry();
    const uint32_t argb = session.Colours()[ColourIndex::Anim];
    const QColor anim((argb >> 16) & 0xFF, (argb >> 8) & 0xFF, argb & 0xFF);
    const QPen black(Qt::black, 1);
    const int wider = g.Right() - TimelineGeometry().Right();
    const int taller = g.Bottom() - TimelineGeometry().Bottom();
    painter.setPen(black);
    painter.drawRect(DialogUnitsToPixels({47, 24, 205, 82}).adjusted(0, 0, wider - 1, taller - 1));

    const int top = g.Top(), bottom = g.Bottom();
    const int selectedRow = session.CurrentPart() - timeline.FirstRow();
    if (session.CurrentPart() >= 0 && selectedRow >= 0 && selectedRow < g.Rows()) {
        painter.setPen(QPen(anim, 1));
        painter.drawRect(7, top + 15 * selectedRow, 81 - 7 - 1, 16 - 1);
    }
    if (timeline.HasRange()) {
        int left = timeline.FrameX(timeline.RangeLow());
        int right = timeline.FrameX(timeline.RangeHigh());
        if (const auto drag = timeline.DraggedKeys()) {
            left += drag->offset * g.framePixels;
            right += drag->offset * g.framePixels;
        }
        if (right >= g.FrameX(0, 0) && left < g.Right() + 3)
            painter.fillRect(
                QRect(QPoint(std::max(left, 81), 36), QPoint(std::min(right, g.Right() + 3) - 1, bottom + 2)), anim);
    }
    // Frames after the Motion's last one, shaded.
    if (const std::optional<int> past = timeline.PastLengthX())
        painter.fillRect(QRect(QPoint(*past, top), QPoint(g.Right(), bottom + 2)), QColor(0, 0, 0, 28));
    // The ruler's lines, and dotted ones half-way between them.
    const int step = g.RulerStep();
    const int first = timeline.FirstFrame(), last = first + g.VisibleFrames() - 1;
    for (int frame = (first + step - 1) / step * step; frame <= last; frame += step) {
        painter.setPen(black);
        painter.drawLine(timeline.FrameX(frame), top, timeline.FrameX(frame), bottom + 2);
        if (step % 2 != 0 || frame + step / 2 > last) continue;
        painter.setPen(QPen(Qt::black, 1, Qt::DotLine));
        painter.drawLine(timeline.FrameX(frame + step / 2), top, timeline.FrameX(frame + step / 2), bottom + 2);
    }
    PaintKeys(painter);
    painter.setPen(QPen(anim, 1));
    const int x = timeline.FrameX(session.CurrentFrame());
    painter.drawLine(x, top, x, bottom + 6);
}

void MotionPanel::PaintKeys(QPainter& painter)
{
    const TimelineGeometry& g = timeline.Geometry();
    const Scene& scene = session.GetScene();
    const int motion = session.CurrentMotion();
    const int first = timeline.FirstFrame(), last = first + g.VisibleFrames() - 1;
    const auto drag = timeline.DraggedKeys();
    painter.setPen(QPen(Qt::black, 1));
    for (int r = 0; r < g.Rows(); ++r) {
        const int part = timeline.FirstRow() + r;
        if (part >= scene.PartCount()) break;
        painter.drawLine(83, 45 + 15 * r, g.Right() + 1, 45 + 15 * r);
        if (motion < 0 || part >= int(scene.Motions()[size_t(motion)].tracks.size())) continue;
        const MotionTrack& track = scene.Motions()[size_t(motion)].tracks[size_t(part)];
        // Keys being dragged are drawn where they would land, filled.
        const bool dragged = drag && part >= drag->block.firstPart && part <= drag->block.lastPart;
        const MotionTrack shown =
            dragged ? TrackWithKeysMoved(track, drag->block.firstFrame, drag->block.lastFrame, drag->offset) : track;
        for (const KeyFrame& key : shown.keys) {
            if (key.frame < first || key.frame > last) continue;
            const bool moving = dragged && key.frame - drag->offset >= std::max(1, drag->block.firstFrame) &&
                                key.frame - drag->offset <= drag->block.lastFrame &&
                                track.FindKey(key.frame - drag->offset) >= 0;
            // The marker's shape tells the interpolation of the segment after the key.
            const KeyMarkerPolygons marker = KeyMarkerPolygonsOf(KeyMarkerShapeOf(key.interpolation.Kind()),
                                                                 timeline.FrameX(key.frame), 45 + 15 * r, 2);
            PaintKeyMarker(painter, marker, moving ? QBrush(Qt::black) : QBrush(Qt::white), QBrush(Qt::black));
        }
        // A loop's next cycles, past its end, repeat its keys in grey.
        const Motion& shownMotion = scene.MotionAt(motion);
        const std::vector<int32_t> repeated = RepeatedKeyFrames(track, LoopLengthOf(shownMotion), first, last);
        if (repeated.empty()) continue;
        painter.setPen(QPen(Qt::darkGray, 1));
        for (const int32_t frame : repeated) {
            const KeyFrame& key = track.keys[size_t(track.FindKey((frame - 1) % shownMotion.length + 1))];
            PaintKeyMarker(
                painter,
                KeyMarkerPolygonsOf(KeyMarkerShapeOf(key.interpolation.Kind()), timeline.FrameX(frame), 45 + 15 * r, 2),
                QBrush(Qt::white), QBrush(Qt::darkGray));
        }
        painter.setPen(QPen(Qt::black, 1));
    }
}

void MotionPanel::mousePressEvent(QMouseEvent* event)
{
    const QPoint p = event->position().toPoint();
    if (event->button() == Qt::LeftButton)
        timeline.LeftDown(p.x(), p.y());
    else if (event->button() == Qt::RightButton)
        timeline.RightDown(p.x(), p.y());
    // The keys go to the main window, so that the arrows step from the frame picked.
    ReturnFocus();
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
    if (event->button() == Qt::LeftButton)
        timeline.LeftUp();
    else if (event->button() == Qt::RightButton)
        timeline.RightUp();
    update();
}

void MotionPanel::wheelEvent(QWheelEvent* event)
{
    // Ctrl+wheel over the timeline zooms its frame axis, a step a notch.
    const QPoint p = event->position().toPoint();
    const int notches = event->angleDelta().y() / 120;
    if (!(event->modifiers() & Qt::ControlModifier) || !timeline.InTimelineArea(p.x(), p.y()) || notches == 0) {
        event->ignore();
        return;
    }
    if (timeline.ZoomAt(p.x(), notches)) {
        ShowScrollBars();
        ShowLabels();
        update();
    }
    event->accept();
}

void MotionPanel::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    timeline.SetPanelGrowth(width() - kDesignedWidth, (height() - kDesignedHeight) / TimelineGeometry::kRowHeight);
    PlaceControls();
    ShowScrollBars();
    ShowLabels();
}

void MotionPanel::keyPressEvent(QKeyEvent* event)
{
    // Enter and Escape inside the panel do nothing.
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter || event->key() == Qt::Key_Escape) return;
    QWidget::keyPressEvent(event);
}

void MotionPanel::SessionChanged(const EditorEvent& event)
{
    const bool rangesChanged =
        std::holds_alternative<MotionListChanged>(event) || std::holds_alternative<SelectionChanged>(event) ||
        std::holds_alternative<TreeItemInserted>(event) || std::holds_alternative<TreeItemRemoved>(event);
    if (std::holds_alternative<MotionListChanged>(event)) FillList();
    if (rangesChanged) timeline.UpdateScrollRanges();
    if (std::holds_alternative<PlayingChanged>(event)) ScheduleStep();
    if (std::holds_alternative<PlaybackSettingsChanged>(event)) ShowPlaybackSettings();
    ShowScrollBars();
    ShowLabels();
    update();
}

}  // namespace m3d
