#pragma once

#include "editor/EditorEvents.h"
#include "editor/history/PoseChange.h"
#include "ik/IkRig.h"
#include "view/ViewRenderer.h"

#include <cstdint>
#include <map>
#include <optional>
#include <set>
#include <vector>

namespace m3d {

class EditorSession;

// Posing by the end of a chain in the views: the IK switch (remembered in
// the settings), the chain length a drag turns, the pinned Parts, each
// Part's pole, the IK drag under way and the Parts the last one moved.
//
// While the switch is on, a drag of a Part moves its pivot in the plane
// through it facing the view, and the chain of ChainLength() Parts above it
// turns to follow (the exact two-joint solution for two, bending toward the
// dragged Part's pole when it has one); a Part without a parent moves
// itself. The pinned Parts hold their pivots after every step; with the
// transform panel's "左右連動" on, the partner chain follows mirrored in X.
// Every step solves afresh from the pose at the press, so a pointer back at
// its start puts every Part back. Pins and poles follow the Parts (they are
// kept by Part id) and last for the session. Must not outlive the session.
class IkPosing {
public:
    static constexpr int kDefaultChainLength = 2;
    static constexpr int kMaxChainLength = 16;

    explicit IkPosing(EditorSession& session);
    IkPosing(const IkPosing&) = delete;
    IkPosing& operator=(const IkPosing&) = delete;

    // The IK switch; a change is reported with PreferencesChanged.
    bool Enabled() const { return enabled; }
    void SetEnabled(bool on);
    // How many Parts above the dragged one turn, 1 ... kMaxChainLength
    // (clamped); a change during a drag re-solves it at the last pointer and
    // is reported with PreferencesChanged.
    int ChainLength() const { return chainLength; }
    void SetChainLength(int length);

    // Whether Part part (an index) is pinned; false for no Part.
    bool IsPinned(int part) const;
    // Pins or frees Part part; nothing for an index of no Part.
    void SetPinned(int part, bool pinned);
    // The pinned Parts' indices, ascending.
    std::vector<int> PinnedParts() const;
    // The point (world coordinates) a two-Part chain ending at Part part
    // bends toward; nothing when it keeps its present bend side.
    std::optional<Vec3> PoleOf(int part) const;
    void SetPole(int part, std::optional<Vec3> pole);
    // A pole in front of the middle joint of the chain ending at Part part:
    // the middle pivot pushed away from the root-end line by the chain's
    // length (straight ahead, +Z, when the chain is straight); nothing
    // without two Parts above part.
    std::optional<Vec3> SuggestedPole(int part) const;

    bool Dragging() const { return drag.has_value(); }
    // Starts an IK drag of Part part (one with a mesh) from pixel (x, y) of
    // view; false, and nothing starts, while the switch is off, while playing
    // or for no such Part.
    bool StartDrag(int view, int x, int y, int part);
    // Solves the drag for the pointer at (x, y).
    void DragTo(int x, int y);
    // Ends the drag: one undo step ("IK") when the pose changed; the Parts it
    // moved become the ones KeyLastDrag keys.
    void ConfirmDrag();
    // Ends the drag: the pose goes back bit for bit; no undo step.
    void CancelDrag();

    // A dot at every pinned Part's pivot, for the views.
    PathDrawing PinMarks() const;

    // The Parts the last confirmed IK drag moved (indices, ascending); empty
    // when there was none or a Part was added, removed or moved in the tree
    // since.
    std::vector<int> LastDragParts() const;

private:
    struct Drag {
        int part;
        int view;
        int x, y;
        int lastX, lastY;
        IkRig rig;
        LocalPose start;
        PoseSnapshot snapshot;  // for Cancel
    };
    void Solve();
    void SessionChanged(const EditorEvent& event);
    // The indices, ascending, of the Parts whose ids are among ids.
    template <class Ids>
    std::vector<int> IndicesOf(const Ids& ids) const;

    EditorSession& session;
    bool enabled = false;
    int chainLength = kDefaultChainLength;
    std::set<uint64_t> pins;
    std::map<uint64_t, Vec3> poles;
    std::vector<uint64_t> lastMoved;
    std::optional<Drag> drag;
    EditorSubscription subscription;
};

}  // namespace m3d
