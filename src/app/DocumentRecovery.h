#pragma once

#include "editor/Autosave.h"
#include "editor/RecoveryFolder.h"

#include <QObject>
#include <QTimer>

#include <memory>
#include <string>

class QWidget;

namespace m3d {

class EditorSession;
class UserPrompt;

// The window's side of crash recovery: the session lock, a snapshot of the
// document every interval while it has unsaved changes (Autosave, asked
// once a second), the offer of what earlier runs left at start and the
// "復元…" dialog. A program without a recovery folder does none of it.
class DocumentRecovery : public QObject {
    Q_OBJECT
public:
    // folder: where snapshots go ("" for none). session outlives this.
    DocumentRecovery(EditorSession& session, const std::string& folder, QObject* parent = nullptr);
    ~DocumentRecovery() override;

    // Takes the session lock, tidies the folder and starts the snapshots,
    // minutes apart (0: none). A folder that cannot be used is named on stderr.
    void Start(double intervalMinutes);
    // When earlier runs left snapshots, shows the dialog (ShowDialog).
    void OfferAtStart(UserPrompt& prompt, QWidget* parent);
    // "復元…": the recoverable snapshots with Restore, Later and Discard;
    // when there are none, a message says so.
    void ShowDialog(UserPrompt& prompt, QWidget* parent);
    // The program ends cleanly: the document's snapshots and the lock go.
    void EndCleanly();

    // For tests: the autosave, or null without a folder.
    Autosave* Snapshots() { return autosave.get(); }

private:
    void OnTick();

    EditorSession& session;
    std::unique_ptr<RecoveryFolder> folder;
    std::unique_ptr<Autosave> autosave;
    QTimer timer;
    std::string lastProblem;
};

}  // namespace m3d
