#pragma once

#include "app/DialogControls.h"
#include "editor/EditorCommand.h"
#include "editor/EditorEvents.h"
#include "editor/MotionTimeline.h"
#include "editor/PlaybackController.h"

#include <QTimer>
#include <QWidget>

#include <functional>
#include <utility>
#include <vector>

class QCheckBox;
class QLabel;
class QLineEdit;
class QScrollBar;

namespace m3d {

class CommandActions;
class ElidingComboBox;
class EditorSession;

// The motion panel (template 209): the Motion list and its commands, the
// timeline of eight Parts over 71 frames (more of both when the panel is made
// larger or the frame axis is zoomed), the key buttons, play and stop, the
// frame rate, real-time playback and the rate achieved while playing. Its
// rules are the session's MotionTimeline and playback; it paints, forwards
// the mouse and runs its buttons' actions.
class MotionPanel : public QWidget {
    Q_OBJECT
public:
    MotionPanel(EditorSession& session, CommandActions& actions, QWidget* parent);

    // A frame was drawn: the next playback step waits for its deadline.
    void FrameDrawn();
    // Reads the frame rate field into the session's playback: false (the
    // field is shown refused) when it holds no integer in 1 ... 120.
    bool ReadFrameRate();

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
    // How a control follows the panel when it is made larger than designed.
    enum class Anchor { Fixed, Bottom, RightAndTaller, WiderAndBottom };
    struct PlacedControl {
        QWidget* control;
        DialogUnitsRect rect;  // as designed
        Anchor anchor;
    };

    void BuildControls();
    // Places control at rect as designed, and where anchor says when larger.
    void Place(QWidget* control, DialogUnitsRect rect, Anchor anchor);
    void PlaceControls();
    // Label index of a list made as needed (the ruler's numbers, the rows'
    // names): the first ids number the designed ones, moreFirstId the others.
    QLabel* LabelAt(std::vector<QLabel*>& labels, size_t index, int firstId, int moreFirstId);
    void ShowRuler();
    void ShowRowNames();
    void ShowAchievedRate();
    // The frame rate field and the real-time check box from the session's playback.
    void ShowPlaybackSettings();
    void PaintKeys(QPainter& painter);
    // A button that runs command's action and is enabled with it.
    void AddCommandButton(int id, const QString& text, DialogUnitsRect rect, EditorCommand command);
    // Gives the keyboard focus back to the main window after a command.
    void ReturnFocus();
    void FillList();
    void ShowLabels();
    void ShowScrollBars();
    void ScrollFrames(int action);
    void ScrollRows(int action);
    void ScheduleStep();
    void RunStep();
    void SessionChanged(const EditorEvent& event);

    EditorSession& session;
    CommandActions& actions;
    MotionTimeline& timeline;
    PlaybackController& playback;
    QTimer stepTimer;
    ElidingComboBox* list = nullptr;
    QLabel* currentLabel = nullptr;
    QLabel* lengthLabel = nullptr;
    std::vector<QLabel*> rulerLabels;
    std::vector<QLabel*> rowLabels;
    QScrollBar* rowsBar = nullptr;
    QScrollBar* framesBar = nullptr;
    QLineEdit* frameRate = nullptr;
    QCheckBox* realTime = nullptr;
    // The current Motion's loop switch, where the achieved rate shows while playing.
    QCheckBox* loop = nullptr;
    QLabel* achievedRate = nullptr;
    std::vector<PlacedControl> placed;
    EditorSubscription subscription;
};

}  // namespace m3d
