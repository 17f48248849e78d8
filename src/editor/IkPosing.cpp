#include "editor/IkPosing.h"

#include "editor/EditorSession.h"
#include "ik/IkRequest.h"
#include "text/UiText.h"
#include "view/ConstrainedPose.h"

#include <algorithm>

namespace m3d {

namespace {

constexpr const char* kIkDragLabel = QT_TRANSLATE_NOOP("core", "IK");

// Part part's ancestor count steps up, or its topmost ancestor when the tree
// is not that deep; part itself for count 0.
int AncestorUp(const IkRig& rig, int part, int count)
{
    for (int step = 0; step < count && rig.parents[size_t(part)] >= 0; ++step) part = rig.parents[size_t(part)];
    return part;
}

}  // namespace

IkPosing::IkPosing(EditorSession& owner)
    : session(owner),
      subscription(session.Events().Subscribe([this](const EditorEvent& event) { SessionChanged(event); }))
{
}

void IkPosing::SetEnabled(bool on)
{
    if (on == enabled) return;
    if (!on && drag) ConfirmDrag();
    enabled = on;
    session.Events().Publish(PreferencesChanged{});
}

void IkPosing::SetChainLength(int length)
{
    length = std::clamp(length, 1, kMaxChainLength);
    if (length == chainLength) return;
    chainLength = length;
    if (drag) Solve();
    session.Events().Publish(PreferencesChanged{});
}

template <class Ids>
std::vector<int> IkPosing::IndicesOf(const Ids& ids) const
{
    const Scene& scene = session.GetScene();
    std::vector<int> indices;
    for (int i = 0; i < scene.PartCount(); ++i)
        if (std::find(ids.begin(), ids.end(), scene.Parts()[size_t(i)]->id) != ids.end()) indices.push_back(i);
    return indices;
}

bool IkPosing::IsPinned(int part) const
{
    const Part* shown = session.GetScene().PartAt(part);
    return shown && pins.count(shown->id) > 0;
}

void IkPosing::SetPinned(int part, bool pinned)
{
    const Part* shown = session.GetScene().PartAt(part);
    if (!shown) return;
    if (pinned)
        pins.insert(shown->id);
    else
        pins.erase(shown->id);
    session.Events().Publish(PreferencesChanged{});
}

std::vector<int> IkPosing::PinnedParts() const { return IndicesOf(pins); }

std::optional<Vec3> IkPosing::PoleOf(int part) const
{
    const Part* shown = session.GetScene().PartAt(part);
    if (!shown) return std::nullopt;
    const auto found = poles.find(shown->id);
    return found == poles.end() ? std::nullopt : std::optional<Vec3>(found->second);
}

void IkPosing::SetPole(int part, std::optional<Vec3> pole)
{
    const Part* shown = session.GetScene().PartAt(part);
    if (!shown) return;
    if (pole)
        poles[shown->id] = *pole;
    else
        poles.erase(shown->id);
}

std::optional<Vec3> IkPosing::SuggestedPole(int part) const
{
    const Scene& scene = session.GetScene();
    if (!scene.PartAt(part)) return std::nullopt;
    const IkRig rig = RigOf(scene);
    const int middle = rig.parents[size_t(part)];
    if (middle < 0 || rig.parents[size_t(middle)] < 0) return std::nullopt;
    const LocalPose pose = LocalPoseOf(scene);
    const Vec3 root = PivotIn(rig, pose, rig.parents[size_t(middle)]);
    const Vec3 knee = PivotIn(rig, pose, middle);
    const Vec3 end = PivotIn(rig, pose, part);
    const float reach = Length(knee - root) + Length(end - knee);
    const Vec3 line = end - root;
    const float lineLength = Length(line);
    Vec3 away = knee - root;
    if (lineLength > 0.0f) away = away - line * (Dot(away, line) / (lineLength * lineLength));
    const float side = Length(away);
    const Vec3 direction = side > reach * 1e-4f ? away * (1.0f / side) : Vec3{0.0f, 0.0f, 1.0f};
    return knee + direction * std::max(reach, 1.0f);
}

bool IkPosing::StartDrag(int view, int x, int y, int part)
{
    Scene& scene = session.GetScene();
    const Part* dragged = scene.PartAt(part);
    if (!enabled || session.IsPlaying() || !dragged || !dragged->mesh) return false;
    if (drag) ConfirmDrag();
    drag = Drag{part, view, x, y, x, y, RigOf(scene), LocalPoseOf(scene), SnapshotOf(scene)};
    session.Events().Publish(PoseDragChanged{true});
    return true;
}

void IkPosing::DragTo(int x, int y)
{
    if (!drag) return;
    drag->lastX = x;
    drag->lastY = y;
    Solve();
}

void IkPosing::Solve()
{
    const ViewState& views = session.Views();
    const Vec3 pivot = PivotIn(drag->rig, drag->start, drag->part);
    const Ray from = views.PixelToRay(drag->view, drag->x, drag->y);
    const Ray to = views.PixelToRay(drag->view, drag->lastX, drag->lastY);
    const Vec3 facing = from.direction * -1.0f;
    const std::optional<Vec3> start = MeetPlane(from, pivot, facing);
    const std::optional<Vec3> now = MeetPlane(to, pivot, facing);
    if (!start || !now) return;
    const Vec3 target = pivot + (*now - *start);

    IkRequest request;
    const int root = AncestorUp(drag->rig, drag->part, chainLength);
    if (root == drag->part)
        request.move = PivotMove{drag->part, target};
    else
        request.chain = ChainGoal{drag->part, root, target, PoleOf(drag->part)};
    request.pins = PinnedParts();
    request.pins.erase(std::remove(request.pins.begin(), request.pins.end(), drag->part), request.pins.end());
    request.mirrorPartners = session.TransformPanel().linkLR != 0;

    LocalPose pose = drag->start;
    SolveIk(drag->rig, pose, request);
    ApplyLocalPose(session.GetScene(), pose);
    session.ShowCurrentTransform();
}

void IkPosing::ConfirmDrag()
{
    if (!drag) return;
    const LocalPose now = LocalPoseOf(session.GetScene());
    lastMoved.clear();
    const size_t count = std::min(now.size(), drag->start.size());
    for (size_t i = 0; i < count; ++i)
        if (!SameLocalPose(now[i], drag->start[i])) lastMoved.push_back(session.GetScene().Parts()[i]->id);
    drag.reset();
    session.History().PushUndo(UiText("core", kIkDragLabel));
    session.Events().Publish(PoseDragChanged{false});
}

void IkPosing::CancelDrag()
{
    if (!drag) return;
    RestoreSnapshot(session.GetScene(), drag->snapshot);
    drag.reset();
    session.ShowCurrentTransform();
    session.Events().Publish(PoseDragChanged{false});
}

PathDrawing IkPosing::PinMarks() const
{
    constexpr uint32_t kPinColour = 0xFFFF40C0;  // opaque magenta, apart from the axes' colours
    constexpr float kPinDotSize = 9.0f;
    PathDots dots{kPinDotSize, {}};
    const Scene& scene = session.GetScene();
    for (const int part : PinnedParts()) {
        const Vec3 pivot = scene.WorldMatrixOf(part).Translation();
        dots.points.push_back({pivot.x, pivot.y, pivot.z, kPinColour});
    }
    PathDrawing drawing;
    if (!dots.points.empty()) drawing.dots.push_back(std::move(dots));
    return drawing;
}

std::vector<int> IkPosing::LastDragParts() const { return IndicesOf(lastMoved); }

void IkPosing::SessionChanged(const EditorEvent& event)
{
    const bool treeChanged = std::holds_alternative<TreeItemInserted>(event) ||
                             std::holds_alternative<TreeItemRemoved>(event) ||
                             std::holds_alternative<TreeItemMoved>(event);
    if (treeChanged) {
        lastMoved.clear();
        // The rig the drag solves on is gone.
        if (drag) {
            drag.reset();
            session.Events().Publish(PoseDragChanged{false});
        }
        return;
    }
    if (!drag) return;
    if (std::holds_alternative<CurrentFrameChanged>(event) || std::holds_alternative<MotionListChanged>(event) ||
        std::holds_alternative<SelectionChanged>(event) || std::holds_alternative<PlayingChanged>(event))
        ConfirmDrag();
}

}  // namespace m3d
