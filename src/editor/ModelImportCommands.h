#pragma once

#include "anim/ModelImport.h"
#include "io/Outcome.h"

#include <optional>
#include <string>
#include <vector>

namespace m3d {

class EditorSession;
class UserPrompt;

// How a model file is brought in: its lengths times scale (finite, positive),
// its animations sampled at framesPerSecond (kMinFrameRate ... kMaxFrameRate);
// images outside the model's folder read only when outsideImagesAllowed
// (KeepImagesInModelFolder).
struct ModelImportOptions {
    float scale = 1.0f;
    int framesPerSecond = kDefaultImportFrameRate;
    bool outsideImagesAllowed = false;
    // Each Motion starts at its animation's earliest key (AnimationChoice).
    bool fromFirstKey = true;
    // Per animation of the file, whether it becomes a Motion; unset: the ones
    // ImportableAnimations offers.
    std::optional<std::vector<bool>> animations;
};

// "モデルを読み込む": reads the model file at path (another program's format,
// in the reader process) and adds its Parts and Motions to the open project
// as one undo step (ImportModel); the last new Motion becomes current at
// frame 0 and the views are framed on the whole model. A project of unknown
// length unit takes the model's (its file's unit over the scale) when the
// file has one. When the file cannot be read nothing changes and the failure
// names the file and the reason.
Expected<ModelImport> ImportModelCommand(EditorSession& session, const std::string& path,
                                         const ModelImportOptions& options);

// The same for model, read from path by ReadForeignModelInChild (and not yet
// brought into the editor's space): what the window and the command line do
// when they ask about its animations (ImportableAnimations) first.
Expected<ModelImport> ImportReadModelCommand(EditorSession& session, const std::string& path, ForeignModel model,
                                             const ModelImportOptions& options);

// The same into a new document: the file is read first (a failure changes
// nothing and asks nothing); then, after the question of NewProject about
// unsaved work (No: nothing changes, a Cancellation), the scene is cleared
// and the model imported as the new untitled document's first undo step.
Expected<ModelImport> OpenModelCommand(EditorSession& session, const std::string& path,
                                       const ModelImportOptions& options, UserPrompt& prompt);

// Tells the person, as a note captioned "モデルの読み込み", what import left
// behind (a heading, then a line for each thing); nothing when it left nothing.
void ShowModelImportNotes(const ModelImport& import, UserPrompt& prompt);

}  // namespace m3d
