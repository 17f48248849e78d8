#pragma once

#include <string>

namespace m3d {

class EditorSession;

// Going to another frame shows the current Motion's pose there. That is no
// edit and no undo step, unless it throws away a pose that no key holds: then
// one step (named after the way of going) brings that pose back.

// Whether the pose on screen holds edits that no key of the current Motion
// keeps: some Part's pose differs from the Motion's at the current frame by
// more than float noise. False without a current Motion.
bool PoseHasUnkeyedEdits(const EditorSession& session);

// Ends going to another frame (a frame key, a click or scrub on the timeline,
// a playback), the pose there shown. unkeyedEditsBefore: what
// PoseHasUnkeyedEdits said before the first frame change; then the pose
// thrown away is an undo step named label (a run of frame keys joins one
// step); else nothing is recorded and the history takes the pose shown as
// its present one.
void EndFrameChange(EditorSession& session, bool unkeyedEditsBefore, const std::string& label);

}  // namespace m3d
