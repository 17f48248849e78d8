#include "app/CurvePanel.h"

#include "app/CommandIds.h"
#include "app/DialogControls.h"
#include "app/KeyMarkerPainting.h"
#include "editor/EditorSession.h"
#include "editor/FieldRules.h"
#include "view/WindowLayout.h"

#include <QCheckBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>

namespace m3d {

namespace {

// The legend and the buttons fill a column this wide on the left (dialog
// units); the value scale's numbers take kValueLabelsWidth pixels right of it.
constexpr int kColumnUnits = 52;
constexpr int kValueLabelsWidth = 46;
// Room above the plot, right of it, and below it for the frame numbers.
constexpr int kTopMargin = 6, kRightMargin = 8, kBottomMargin = 18;
// The scales' lines are at least this many pixels apart.
constexpr int kValueLinePixels = 28, kFrameLinePixels = 40;
// Half the size of a key's marker on a curve, and of a handle.
constexpr int kKeyMarkerHalf = 3, kHandleHalf = 3;

QColor ColourOf(uint32_t argb) { return QColor::fromRgba(argb); }

// A place on the plot as a whole pixel; places far outside (at the closest
// zoom, far from what is shown) stay far outside rather than wrapping round.
int ToPixel(double place) { return int(std::lround(std::clamp(place, -1e6, 1e6))); }

// A check box of the legend: channel c's row and column; a sample of its
// line follows it, kSampleUnits long.
DialogUnitsRect LegendBox(int c) { return {2 + 25 * (c / 3), 14 + 11 * (c % 3), 16, 10}; }
constexpr int kSampleUnits = 7;

// Numbers of a scale with as many decimals as its step needs.
QString ScaleNumber(double value, double step)
{
    const int decimals = std::clamp(int(-std::floor(std::log10(step) + 1e-9)), 0, 6);
    return QString::number(std::fabs(value) < step * 1e-6 ? 0.0 : value, 'f', decimals);
}

}  // namespace

CurvePanel::CurvePanel(EditorSession& owner, QWidget* parent) : QWidget(parent), session(owner), state(owner)
{
    SetControlId(this, IDD_CURVE_PANEL);
    setAccessibleName(tr("カーブ"));
    setAutoFillBackground(true);
    BuildControls();
    ShowLabels();
    subscription = session.Events().Subscribe([this](const EditorEvent& event) { SessionChanged(event); });
}

void CurvePanel::BuildControls()
{
    partName = new QLabel(this);
    SetControlId(partName, IDC_CURVE_PART_NAME);
    PlaceInDialogUnits(partName, {2, 2, kColumnUnits - 4, 8});
    for (int c = 0; c < kCurveChannelCount; ++c) {
        const CurveStyle style = CurveStyleOf(CurveChannel(c));
        auto* box = new QCheckBox(QString::fromLatin1(style.letter), this);
        SetControlId(box, IDC_CURVE_CHANNEL_FIRST + c);
        box->setAccessibleName(c < 3 ? tr("回転 %1 のカーブ").arg(style.letter)
                                     : tr("移動 %1 のカーブ").arg(style.letter));
        box->setChecked(true);
        box->setFocusPolicy(Qt::NoFocus);
        QPalette palette = box->palette();
        palette.setColor(QPalette::WindowText, ColourOf(style.colour));
        palette.setColor(QPalette::ButtonText, ColourOf(style.colour));
        box->setPalette(palette);
        PlaceInDialogUnits(box, LegendBox(c));
        connect(box, &QCheckBox::toggled, this, [this, c](bool checked) {
            state.SetChannelShown(CurveChannel(c), checked);
            ReturnFocus();
            update();
        });
    }
    QPushButton* fit = AddButton(this, IDC_CURVE_FIT, tr("フィット"), {2, 50, kColumnUnits - 6, 14});
    fit->setToolTip(tr("すべてのフレームと値を表示します（ダブルクリックでも）"));
    fit->setFocusPolicy(Qt::NoFocus);
    connect(fit, &QPushButton::clicked, this, [this] {
        state.Fit();
        ReturnFocus();
        update();
    });
    auto* normalise = new QCheckBox(tr("正規化"), this);
    SetControlId(normalise, IDC_CURVE_NORMALISE);
    normalise->setAccessibleName(tr("正規化"));
    normalise->setToolTip(tr("各カーブをそれぞれの最小値から最大値までの高さで表示します"));
    normalise->setFocusPolicy(Qt::NoFocus);
    PlaceInDialogUnits(normalise, {2, 67, kColumnUnits - 4, 10});
    connect(normalise, &QCheckBox::toggled, this, [this](bool checked) {
        state.SetNormalised(checked);
        ReturnFocus();
        update();
    });
    auto* valueLabel = new QLabel(tr("値"), this);
    SetControlId(valueLabel, IDC_CURVE_VALUE_LABEL);
    PlaceInDialogUnits(valueLabel, {2, 82, 18, 8});
    valueField = new QLineEdit(this);
    SetControlId(valueField, IDC_CURVE_VALUE);
    valueField->setAccessibleName(tr("選んだキーの値"));
    valueField->setToolTip(tr("選んだキーの値。入力して Enter で設定します"));
    PlaceInDialogUnits(valueField, {21, 80, kColumnUnits - 25, 12});
    connect(valueField, &QLineEdit::returnPressed, this, &CurvePanel::TakeTypedValue);
    message = new QLabel(this);
    SetControlId(message, IDC_CURVE_MESSAGE);
    message->setAlignment(Qt::AlignCenter);
}

void CurvePanel::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    const int left = DialogUnitsToPixelsX(kColumnUnits) + kValueLabelsWidth;
    state.SetPlotArea({left, kTopMargin, std::max(left + 2, width() - kRightMargin),
                       std::max(kTopMargin + 2, height() - kBottomMargin)});
    const PixelRect& area = state.Plot().Area();
    message->setGeometry(area.left, area.top, area.Width(), area.Height());
    ShowLabels();
}

void CurvePanel::ShowLabels()
{
    const int part = session.CurrentPart();
    const Part* shown = session.CurrentMotion() >= 0 ? session.GetScene().PartAt(part) : nullptr;
    SetElidedText(partName, shown ? QString::fromStdString(shown->displayName) : QString());
    const QString text = QString::fromStdString(state.EmptyText());
    message->setText(text);
    message->setAccessibleName(text);
    message->setVisible(!text.isEmpty());
}

void CurvePanel::SessionChanged(const EditorEvent& event)
{
    if (std::holds_alternative<SelectionChanged>(event) || std::holds_alternative<MotionListChanged>(event) ||
        std::holds_alternative<TreeItemRenamed>(event) || std::holds_alternative<TreeItemRemoved>(event) ||
        std::holds_alternative<TreeItemInserted>(event))
        ShowLabels();
    if (isVisible()) update();
}

void CurvePanel::ShowSelectedValue()
{
    if (valueField->hasFocus()) return;
    const std::optional<double> value = state.SelectedValue();
    SetFieldText(valueField, value ? QString::fromStdString(TransformFieldText(float(*value))) : QString());
    valueField->setEnabled(!state.Selection().empty());
}

void CurvePanel::TakeTypedValue()
{
    float value = 0.0f;
    const FieldCheck check = CheckFloatField(valueField->text().toStdString(), -float(CurvePlot::kMaxValueSpan),
                                             float(CurvePlot::kMaxValueSpan), value);
    if (!check.accepted) {
        ShowRefusedField(valueField, check.message);
        return;
    }
    state.SetSelectedValue(value);
    setFocus(Qt::OtherFocusReason);
    ShowSelectedValue();
    update();
}

void CurvePanel::GiveInterpolation(const KeyInterpolation& interpolation)
{
    state.SetSelectedInterpolation(interpolation);
    update();
}

void CurvePanel::ShowKeyMenu(const QPoint& at)
{
    QMenu menu(this);
    const bool picked = !state.Selection().empty();
    const std::pair<QString, KeyInterpolation> choices[] = {
        {tr("自動クランプ（&C）"), KeyInterpolation::AutoClamped()},
        {tr("自動（&A）"), KeyInterpolation::Bezier(TangentMode::Auto)},
        {tr("整列（&N）"), KeyInterpolation::Bezier(TangentMode::Aligned)},
        {tr("フリー（&B）"), KeyInterpolation::Bezier(TangentMode::Free)},
        {tr("ベクトル（&V）"), KeyInterpolation::Bezier(TangentMode::Vector)},
        {tr("リニア（&L）"), KeyInterpolation::Linear()},
        {tr("ステップ（&T）"), KeyInterpolation::Step()},
    };
    for (size_t i = 0; i < std::size(choices); ++i) {
        if (i == 5) menu.addSeparator();
        QAction* action = menu.addAction(choices[i].first);
        action->setEnabled(picked);
        const KeyInterpolation interpolation = choices[i].second;
        connect(action, &QAction::triggered, this, [this, interpolation] { GiveInterpolation(interpolation); });
    }
    menu.addSeparator();
    QAction* flatten = menu.addAction(tr("ハンドルを水平に（&H）"));
    flatten->setEnabled(picked);
    connect(flatten, &QAction::triggered, this, [this] {
        state.FlattenSelected();
        update();
    });
    menu.exec(mapToGlobal(at));
}

void CurvePanel::keyPressEvent(QKeyEvent* event)
{
    if (event->modifiers() == Qt::NoModifier && !state.Selection().empty()) {
        switch (event->key()) {
        case Qt::Key_C: GiveInterpolation(KeyInterpolation::AutoClamped()); return;
        case Qt::Key_A: GiveInterpolation(KeyInterpolation::Bezier(TangentMode::Auto)); return;
        case Qt::Key_V: GiveInterpolation(KeyInterpolation::Bezier(TangentMode::Vector)); return;
        case Qt::Key_N: GiveInterpolation(KeyInterpolation::Bezier(TangentMode::Aligned)); return;
        case Qt::Key_B: GiveInterpolation(KeyInterpolation::Bezier(TangentMode::Free)); return;
        case Qt::Key_H:
            state.FlattenSelected();
            update();
            return;
        default: break;
        }
    }
    QWidget::keyPressEvent(event);
}

void CurvePanel::ReturnFocus()
{
    if (QWidget* form = parentWidget()) form->setFocus(Qt::OtherFocusReason);
}

void CurvePanel::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    PaintLegendSamples(painter);
    const PixelRect& a = state.Plot().Area();
    const QRect area(a.left, a.top, a.Width(), a.Height());
    painter.fillRect(area, Qt::white);
    const PartCurves* curves = state.Curves();
    if (curves) {
        PaintScales(painter);
        PaintCurves(painter, *curves);
        PaintHandles(painter);
        PaintSelectionBox(painter);
    }
    ShowSelectedValue();
    painter.setClipping(false);
    painter.setPen(QPen(Qt::black, 1));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(area.adjusted(-1, -1, 0, 0));
}

void CurvePanel::PaintLegendSamples(QPainter& painter)
{
    for (int c = 0; c < kCurveChannelCount; ++c) {
        const CurveStyle style = CurveStyleOf(CurveChannel(c));
        const QRect box = DialogUnitsToPixels(LegendBox(c));
        const int y = box.center().y();
        painter.setPen(QPen(ColourOf(style.colour), 2, style.dashed ? Qt::DashLine : Qt::SolidLine));
        const DialogUnitsRect units = LegendBox(c);
        painter.drawLine(box.right() + 2, y, DialogUnitsToPixelsX(units.x + units.width + kSampleUnits), y);
    }
}

void CurvePanel::PaintScales(QPainter& painter)
{
    const CurvePlot& plot = state.Plot();
    const PixelRect& a = plot.Area();
    const int length = session.GetScene().MotionAt(session.CurrentMotion()).length;
    // Frames outside the Motion are shaded.
    const int zeroX = ToPixel(plot.XOf(0)), endX = ToPixel(plot.XOf(length));
    const QColor outside(228, 228, 228);
    if (zeroX > a.left) painter.fillRect(QRect(QPoint(a.left, a.top), QPoint(zeroX - 1, a.bottom - 1)), outside);
    if (endX < a.right - 1)
        painter.fillRect(QRect(QPoint(endX + 1, a.top), QPoint(a.right - 1, a.bottom - 1)), outside);

    const QPen line(QColor(210, 210, 210), 1), text(Qt::black, 1);
    // In the normalised view each curve has its own scale: the numbers are
    // shares of its range, 0 % at its lowest, 100 % at its highest.
    const bool shares = state.Normalised();
    const double valueStep = TickStep(plot.ValueHigh() - plot.ValueLow(), std::max(a.Height(), 1), kValueLinePixels);
    // Counted in whole steps, so that no addition is lost far from 0.
    for (auto k = static_cast<long long>(std::ceil(plot.ValueLow() / valueStep)); k * valueStep <= plot.ValueHigh();
         ++k) {
        const double v = double(k) * valueStep;
        const int y = ToPixel(plot.YOf(v));
        painter.setPen(line);
        painter.drawLine(a.left, y, a.right - 1, y);
        painter.setPen(text);
        painter.drawText(
            QRect(a.left - kValueLabelsWidth, y - 6, kValueLabelsWidth - 4, 12), Qt::AlignRight | Qt::AlignVCenter,
            shares ? ScaleNumber(v * 100.0, valueStep * 100.0) + QStringLiteral(" %") : ScaleNumber(v, valueStep));
    }
    const double frameStep =
        TickStep(plot.FrameHigh() - plot.FrameLow(), std::max(a.Width(), 1), kFrameLinePixels, 1.0);
    for (auto k = static_cast<long long>(std::ceil(plot.FrameLow() / frameStep)); k * frameStep <= plot.FrameHigh();
         ++k) {
        const double f = double(k) * frameStep;
        const int x = ToPixel(plot.XOf(f));
        painter.setPen(line);
        painter.drawLine(x, a.top, x, a.bottom - 1);
        painter.setPen(text);
        painter.drawText(QRect(x - 30, a.bottom + 2, 60, 12), Qt::AlignCenter, ScaleNumber(f, frameStep));
    }
}

void CurvePanel::PaintCurves(QPainter& painter, const PartCurves& curves)
{
    const CurvePlot& plot = state.Plot();
    const PixelRect& a = plot.Area();
    painter.setClipRect(QRect(a.left, a.top, a.Width(), a.Height()));
    // The current frame in the timeline's colour, under the curves, which stay readable across it.
    const uint32_t anim = session.Colours()[ColourIndex::Anim];
    painter.setPen(QPen(ColourOf(anim | 0xFF000000u), 2));
    const int x = ToPixel(plot.XOf(session.CurrentFrame()));
    painter.drawLine(x, a.top, x, a.bottom - 1);
    const int first = std::clamp(int(std::floor(plot.FrameLow())), 0, curves.length);
    const int last = std::clamp(int(std::ceil(plot.FrameHigh())), 0, curves.length);
    QPolygonF points;
    for (int c = 0; c < kCurveChannelCount; ++c) {
        if (!state.ChannelShown(CurveChannel(c))) continue;
        const CurveStyle style = CurveStyleOf(CurveChannel(c));
        points.clear();
        for (int f = first; f <= last; ++f) points << QPointF(plot.XOf(f), plot.YOf(curves.Value(CurveChannel(c), f)));
        // A one-pixel pen: wider antialiased strokes cost several times the whole paint.
        painter.setPen(QPen(ColourOf(style.colour), 1, style.dashed ? Qt::DashLine : Qt::SolidLine));
        painter.setRenderHint(QPainter::Antialiasing, true);
        painter.drawPolyline(points);
        painter.setRenderHint(QPainter::Antialiasing, false);
        for (const KeyFrame& key : curves.keys) {
            if (key.frame < first || key.frame > last) continue;
            // A point picked is filled and a size bigger, ringed in black.
            const bool picked = state.Selected({key.frame, CurveChannel(c)});
            const KeyMarkerPolygons marker = KeyMarkerPolygonsOf(
                KeyMarkerShapeOf(key.interpolation.Kind()), ToPixel(plot.XOf(key.frame)),
                ToPixel(plot.YOf(curves.Value(CurveChannel(c), key.frame))), kKeyMarkerHalf + (picked ? 1 : 0));
            painter.setPen(QPen(picked ? QColor(Qt::black) : ColourOf(style.colour), 1));
            PaintKeyMarker(painter, marker, QBrush(picked ? ColourOf(style.colour) : QColor(Qt::white)),
                           QBrush(ColourOf(style.colour)));
        }
    }
    painter.setBrush(Qt::NoBrush);
}

void CurvePanel::PaintHandles(QPainter& painter)
{
    const CurvePlot& plot = state.Plot();
    const std::optional<EaseHandle> dragged = state.DraggedHandle();
    painter.setRenderHint(QPainter::Antialiasing, true);
    for (const EaseHandle& h : state.Handles()) {
        const bool active =
            dragged && dragged->key == h.key && dragged->which == h.which && dragged->channel == h.channel;
        const QColor colour = ColourOf(CurveStyleOf(h.channel).colour);
        const QPointF at(plot.XOf(h.frame), plot.YOf(h.value));
        painter.setPen(QPen(colour, 1, Qt::DotLine));
        painter.drawLine(QPointF(plot.XOf(h.anchorFrame), plot.YOf(h.anchorValue)), at);
        painter.setPen(QPen(colour, 1));
        painter.setBrush(active ? QBrush(colour) : QBrush(Qt::white));
        painter.drawEllipse(at, kHandleHalf + (active ? 1 : 0), kHandleHalf + (active ? 1 : 0));
    }
    // The picked Bezier keys' handles: squares on lines through the key.
    const std::optional<TangentHandleRef> tangent = state.DraggedTangent();
    for (const TangentHandle& h : state.TangentHandles()) {
        const bool active = tangent && tangent->frame == h.ref.frame && tangent->channel == h.ref.channel &&
                            tangent->side == h.ref.side;
        const QColor colour = ColourOf(CurveStyleOf(h.ref.channel).colour);
        const QPointF at(plot.XOf(h.frame), plot.YOf(h.value));
        painter.setPen(QPen(colour, 1));
        painter.drawLine(QPointF(plot.XOf(h.anchorFrame), plot.YOf(h.anchorValue)), at);
        painter.setPen(QPen(Qt::black, 1));
        painter.setBrush(active ? QBrush(Qt::black) : QBrush(colour));
        painter.drawRect(QRectF(at.x() - kHandleHalf, at.y() - kHandleHalf, 2 * kHandleHalf, 2 * kHandleHalf));
    }
    painter.setBrush(Qt::NoBrush);
    painter.setRenderHint(QPainter::Antialiasing, false);
}

void CurvePanel::PaintSelectionBox(QPainter& painter)
{
    const std::optional<PixelRect> box = state.SelectionBox();
    if (!box) return;
    painter.setPen(QPen(Qt::black, 1, Qt::DashLine));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(QRect(box->left, box->top, box->Width() - 1, box->Height() - 1));
}

void CurvePanel::mousePressEvent(QMouseEvent* event)
{
    const QPoint p = event->position().toPoint();
    if (event->button() == Qt::LeftButton)
        state.LeftDown(p.x(), p.y(), event->modifiers().testFlag(Qt::ShiftModifier));
    else if (event->button() == Qt::MiddleButton || event->button() == Qt::RightButton)
        state.PanDown(p.x(), p.y());
    // With key points picked the panel keeps the keys, for their handle
    // types; the frame commands are the window's shortcuts all the same.
    // Otherwise the keys go to the main window.
    if (state.Selection().empty())
        ReturnFocus();
    else
        setFocus(Qt::MouseFocusReason);
    update();
}

void CurvePanel::mouseDoubleClickEvent(QMouseEvent* event)
{
    const QPoint p = event->position().toPoint();
    if (event->button() == Qt::LeftButton) state.DoubleClick(p.x(), p.y());
    update();
}

void CurvePanel::mouseMoveEvent(QMouseEvent* event)
{
    const QPoint p = event->position().toPoint();
    state.MouseMove(p.x(), p.y(), event->modifiers().testFlag(Qt::ShiftModifier));
    update();
}

void CurvePanel::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton) {
        state.LeftUp();
        if (!state.Selection().empty()) setFocus(Qt::MouseFocusReason);
    } else if (event->button() == Qt::MiddleButton || event->button() == Qt::RightButton) {
        // A right click that did not pan opens the keys' menu.
        if (state.PanUp() && event->button() == Qt::RightButton) ShowKeyMenu(event->position().toPoint());
    }
    update();
}

void CurvePanel::wheelEvent(QWheelEvent* event)
{
    const QPoint p = event->position().toPoint();
    const int notches = event->angleDelta().y() / 120;
    if (notches == 0 || !state.Plot().Area().Contains(p.x(), p.y())) {
        event->ignore();
        return;
    }
    state.Wheel(p.x(), p.y(), notches, event->modifiers().testFlag(Qt::ControlModifier));
    event->accept();
    update();
}

}  // namespace m3d
