#pragma once

#include "app/DialogControls.h"
#include "editor/CommandState.h"
#include "editor/EditorEvents.h"
#include "editor/MotionTimeline.h"
#include "editor/PlaybackController.h"

#include <QElapsedTimer>
#include <QTimer>
#include <QWidget>

#include <array>
#include <functional>
#include <utility>
#include <vector>

class ElidingComboBox;
class QLabel;
class QLineEdit;
class QScrollBar;
class EditorSession;

// The motion panel (template 209): the Motion list and its commands, the
// timeline of eight Parts over 71 frames, the key buttons, play and stop and
// the frame rate. Its rules are the MotionTimeline's; it paints and forwards.
class MotionPanel : public QWidget {
    Q_OBJECT
public:
    MotionPanel(EditorSession& session, QWidget* parent);

    const MotionTimeline& Timeline() const { return timeline; }
    const PlaybackController& Playback() const { return playback; }
    // A frame was drawn: the next playback step waits for its deadline.
    void FrameDrawn();
    // The frame rate as loaded from the settings (kept within 1 ... 120).
    void SetFrameRate(int rate);
    int FrameRate() const { return playback.FramesPerSecond(); }

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void BuildControls();
    // Gives the keyboard focus back to the main window after a command.
    void ReturnFocus();
    // A button enabled when command can run, running run when pressed.
    void AddCommandButton(int id, const QString& text, DialogUnitsRect rect, EditorCommand command,
                          const std::function<void()>& run);
    void NewMotion();
    void DeleteMotion();
    void RenameMotion();
    void ChangeLength();
    void Play();
    void Stop();
    void RunKeyCommand(bool (MotionTimeline::*command)());
    void FillList();
    void ShowLabels();
    void ShowScrollBars();
    void RefreshEnabled();
    void ScrollFrames(int action);
    void ScrollRows(int action);
    // Reads the frame rate field: false (the field is shown refused) when it
    // holds no integer in 1 ... 120.
    bool ReadFrameRate();
    void ScheduleStep();
    void RunStep();
    void SessionChanged(const EditorEvent& event);

    EditorSession& session;
    MotionTimeline timeline;
    QElapsedTimer clock;
    PlaybackController playback;
    QTimer stepTimer;
    ElidingComboBox* list = nullptr;
    QLabel* currentLabel = nullptr;
    QLabel* lengthLabel = nullptr;
    std::array<QLabel*, 8> rulerLabels{};
    std::array<QLabel*, TIMELINE_ROWS> rowLabels{};
    QScrollBar* rowsBar = nullptr;
    QScrollBar* framesBar = nullptr;
    QLineEdit* frameRate = nullptr;
    std::vector<std::pair<QWidget*, EditorCommand>> commandControls;
    EditorSubscription subscription;
};
