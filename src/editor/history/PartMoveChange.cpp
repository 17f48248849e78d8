#include "editor/history/PartMoveChange.h"

#include "editor/EditorSession.h"

namespace m3d {

void PartMoveChange::Toggle(EditorSession& session) { pending = session.GetScene().MovePart(pending); }

void PartMoveChange::ForgetDigests(MotionDigests& digests) const
{
    // pending takes the toggle just made back: its order gives, for every
    // index before the toggle, the index after it.
    if (pending.part < 0)
        digests.ForgetAll();
    else
        digests.TracksMoved(pending.order);
}

}  // namespace m3d
