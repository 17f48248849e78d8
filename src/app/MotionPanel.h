#pragma once

#include "app/DialogControls.h"
#include "editor/EditorCommand.h"
#include "editor/EditorEvents.h"
#include "editor/MotionTimeline.h"
#include "editor/PlaybackController.h"

#include <QTimer>
#include <QWidget>

#include <array>
#include <functional>
#include <utility>
#include <vector>

class CommandActions;
class ElidingComboBox;
class QLabel;
class QLineEdit;
class QScrollBar;
class EditorSession;

// The motion panel (template 209): the Motion list and its commands, the
// timeline of eight Parts over 71 frames, the key buttons, play and stop and
// the frame rate. Its rules are the session's MotionTimeline and playback; it
// paints, forwards the mouse and runs its buttons' actions.
class MotionPanel : public QWidget {
    Q_OBJECT
public:
    MotionPanel(EditorSession& session, CommandActions& actions, QWidget* parent);

    // A frame was drawn: the next playback step waits for its deadline.
    void FrameDrawn();
    // The frame rate as loaded from the settings (kept within 1 ... 120).
    void SetFrameRate(int rate);
    // Reads the frame rate field into playback: false (the field is shown
    // refused) when it holds no integer in 1 ... 120.
    bool ReadFrameRate();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void BuildControls();
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
    std::array<QLabel*, 8> rulerLabels{};
    std::array<QLabel*, TIMELINE_ROWS> rowLabels{};
    QScrollBar* rowsBar = nullptr;
    QScrollBar* framesBar = nullptr;
    QLineEdit* frameRate = nullptr;
    EditorSubscription subscription;
};
