#pragma once

#include "anim/ModelImport.h"
#include "io/Outcome.h"

#include <string>

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
};

// "モデルを読み込む": reads the model file at path (another program's format,
// in the reader process) and adds its Parts and Motions to the open project
// as one undo step (ImportModel); the last new Motion becomes current at
// frame 0 and the views are framed on the whole model. When the file cannot
// be read nothing changes and the failure names the file and the reason.
Expected<ModelImport> ImportModelCommand(EditorSession& session, const std::string& path,
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
