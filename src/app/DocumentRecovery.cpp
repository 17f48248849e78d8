#include "app/DocumentRecovery.h"

#include "app/RecoveryDialog.h"
#include "editor/RecoveryCommands.h"
#include "scene/UserPrompt.h"
#include "text/UiText.h"

#include <QApplication>

#include <cstdio>
#include <ctime>

namespace m3d {

namespace {
// How often the document is looked at: a snapshot is at most this late.
constexpr int kTickMilliseconds = 1000;
}  // namespace

DocumentRecovery::DocumentRecovery(EditorSession& session, const std::string& folderPath, QObject* parent)
    : QObject(parent), session(session)
{
    if (folderPath.empty()) return;
    folder = std::make_unique<RecoveryFolder>(folderPath);
    autosave = std::make_unique<Autosave>(session, *folder);
    timer.setInterval(kTickMilliseconds);
    connect(&timer, &QTimer::timeout, this, &DocumentRecovery::OnTick);
}

DocumentRecovery::~DocumentRecovery() = default;

void DocumentRecovery::Start(double intervalMinutes)
{
    if (!folder) return;
    if (const Outcome locked = folder->Lock(); !locked) {
        std::fprintf(stderr, "marionettica3d: %s\n", locked.Message().c_str());
        return;
    }
    folder->RemoveExpired(std::time(nullptr));
    autosave->SetIntervalMinutes(intervalMinutes);
    timer.start();
}

void DocumentRecovery::OnTick()
{
    // A question on screen may be in the middle of a command: the document
    // is copied once the command is over.
    if (QApplication::activeModalWidget()) return;
    autosave->Tick(Autosave::Clock::now());
    // A failure is told once, not every interval.
    if (std::string problem = autosave->TakeProblem(); !problem.empty() && problem != lastProblem) {
        std::fprintf(stderr, "marionettica3d: %s\n", problem.c_str());
        lastProblem = std::move(problem);
    }
}

void DocumentRecovery::OfferAtStart(UserPrompt& prompt, QWidget* parent)
{
    if (folder && !folder->List().empty()) ShowDialog(prompt, parent);
}

void DocumentRecovery::ShowDialog(UserPrompt& prompt, QWidget* parent)
{
    const std::vector<RecoverableSnapshot> snapshots = folder ? folder->List() : std::vector<RecoverableSnapshot>();
    if (snapshots.empty()) {
        prompt.ShowMessage(UiText("core", "復元できるデータはありません。"), UiText("core", "復元"));
        return;
    }
    const std::optional<RecoveryChoice> choice = AskRecovery(snapshots, parent);
    if (!choice) return;
    if (choice->discard)
        folder->RemoveDocument(choice->documentId);
    else
        RestoreSnapshotCommand(session, prompt, *folder, choice->id, autosave.get());
}

void DocumentRecovery::EndCleanly()
{
    if (!folder) return;
    timer.stop();
    autosave->EndCleanly();
    folder->Unlock();
}

}  // namespace m3d
