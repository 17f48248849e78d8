#pragma once

#include "editor/CurvePanelState.h"
#include "editor/EditorEvents.h"

#include <QWidget>

class QLabel;
class QLineEdit;
class QPainter;

namespace m3d {

class EditorSession;

// The curve panel ("カーブ"): the current Part's H, P, B, x, y, z over the
// current Motion, one curve a channel in its colour, with the keys marked,
// the current frame as a line and the ease segments' handles. The legend's
// check boxes show and hide curves, "フィット" fits everything, "正規化" puts
// each curve on its own scale, "値" shows and takes the value of the key
// points picked, with their Bezier keys' handles. A right click (or the
// keys C, A, N, B, V and H while the panel has the focus) gives the picked
// keys a handle type or levels their handles. Its rules are
// CurvePanelState's; the widget paints and forwards the mouse and keys. The form shows it while the session says so
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
    void keyPressEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void BuildControls();
    // The Part's name and the message in place of the curves.
    void ShowLabels();
    void PaintScales(QPainter& painter);
    void PaintCurves(QPainter& painter, const PartCurves& curves);
    void PaintHandles(QPainter& painter);
    void PaintLegendSamples(QPainter& painter);
    void PaintSelectionBox(QPainter& painter);
    // The value field shows the value of the points picked (empty when none
    // is picked or they differ), unless it is being typed in.
    void ShowSelectedValue();
    void TakeTypedValue();
    void ShowKeyMenu(const QPoint& at);
    void GiveInterpolation(const KeyInterpolation& interpolation);
    void ReturnFocus();
    void SessionChanged(const EditorEvent& event);

    EditorSession& session;
    CurvePanelState state;
    QLabel* partName = nullptr;
    QLabel* message = nullptr;
    QLineEdit* valueField = nullptr;
    EditorSubscription subscription;
};

}  // namespace m3d
