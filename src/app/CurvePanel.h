#pragma once

#include "editor/CurvePanelState.h"
#include "editor/EditorEvents.h"

#include <QWidget>

class QLabel;
class QPainter;

namespace m3d {

class EditorSession;

// The curve panel ("カーブ"): the current Part's H, P, B, x, y, z over the
// current Motion, one curve a channel in its colour, with the keys marked,
// the current frame as a line and the ease segments' handles. The legend's
// check boxes show and hide curves, "フィット" fits everything, "正規化" puts
// each curve on its own scale. Its rules are CurvePanelState's; the widget
// paints and forwards the mouse. The form shows it while the session says so
// (View > Curves).
class CurvePanel : public QWidget {
    Q_OBJECT
public:
    CurvePanel(EditorSession& session, QWidget* parent);

    CurvePanelState& State() { return state; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void BuildControls();
    // The Part's name and the message in place of the curves.
    void ShowLabels();
    void PaintScales(QPainter& painter);
    void PaintCurves(QPainter& painter, const PartCurves& curves);
    void PaintHandles(QPainter& painter);
    void PaintLegendSamples(QPainter& painter);
    void ReturnFocus();
    void SessionChanged(const EditorEvent& event);

    EditorSession& session;
    CurvePanelState state;
    QLabel* partName = nullptr;
    QLabel* message = nullptr;
    EditorSubscription subscription;
};

}  // namespace m3d
