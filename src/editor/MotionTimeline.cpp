#include "editor/MotionTimeline.h"

#include "anim/MotionOperations.h"
#include "anim/PoseEvaluation.h"
#include "editor/EditorSession.h"
#include "editor/FrameNavigation.h"
#include "editor/history/DocumentEdit.h"
#include "scene/PoseComposition.h"
#include "text/UiText.h"

#include <algorithm>
#include <cstdlib>
#include <numeric>
#include <unordered_map>

namespace m3d {

namespace {

// The keys of a Motion changed: the panel redraws its tracks.
bool ReportKeys(EditorSession& session, bool changed)
{
    if (changed) session.Events().Publish(MotionKeysChanged{session.CurrentMotion()});
    return changed;
}

}  // namespace

int MotionTimeline::CurrentLength() const
{
    const int motion = session.CurrentMotion();
    return motion < 0 ? 0 : session.GetScene().Motions()[motion].length;
}

int MotionTimeline::RangeLow() const { return hasRange ? std::min(rangeStart, rangeEnd) : session.CurrentFrame(); }

int MotionTimeline::RangeHigh() const { return hasRange ? std::max(rangeStart, rangeEnd) : session.CurrentFrame(); }

int MotionTimeline::MaxScrollTens() const
{
    // The last frame is the last visible one, or earlier: (length - 61) / 10 at 71 frames.
    return std::max(0, (CurrentLength() - geometry.VisibleFrames() + 10) / 10);
}

int MotionTimeline::MaxFirstRow() const { return std::max(0, session.GetScene().PartCount() - geometry.Rows()); }

int MotionTimeline::PlayJumpTens() const { return std::max(1, (geometry.VisibleFrames() - 31) / 10); }

void MotionTimeline::SetPanelGrowth(int extraWidth, int extraRows)
{
    geometry.extraWidth = std::max(0, extraWidth);
    geometry.extraRows = std::max(0, extraRows);
    UpdateScrollRanges();
}

void MotionTimeline::SetFramePixels(int pixels)
{
    geometry.framePixels = std::clamp(pixels, TimelineGeometry::kMinFramePixels, TimelineGeometry::kMaxFramePixels);
    UpdateScrollRanges();
}

bool MotionTimeline::ZoomAt(int x, int steps)
{
    const int pixels =
        std::clamp(geometry.framePixels + steps, TimelineGeometry::kMinFramePixels, TimelineGeometry::kMaxFramePixels);
    if (pixels == geometry.framePixels) return false;
    const int anchor = FrameAtX(x);
    geometry.framePixels = pixels;
    // The first visible frame stays a multiple of ten: the one nearest to
    // keeping the anchor frame under x.
    const int first = anchor - (x - TimelineGeometry::Left()) / pixels;
    scrollTens = std::clamp((first + 5) / 10, 0, MaxScrollTens());
    return true;
}

void MotionTimeline::UpdateScrollRanges()
{
    const int rows = geometry.Rows();
    const int selected = session.CurrentPart();
    if (selected >= firstRow + rows)
        firstRow = selected - (rows - 1);
    else if (selected >= 0 && selected < firstRow)
        firstRow = selected;
    firstRow = std::clamp(firstRow, 0, MaxFirstRow());
    scrollTens = std::clamp(scrollTens, 0, MaxScrollTens());
}

std::optional<int> MotionTimeline::PastLengthX() const
{
    if (session.CurrentMotion() < 0) return std::nullopt;
    const int afterLast = CurrentLength() + 1;
    if (afterLast > FirstFrame() + geometry.VisibleFrames() - 1) return std::nullopt;
    return std::max(geometry.Left(), FrameX(afterLast) - geometry.framePixels / 2);
}

void MotionTimeline::ResetToStart()
{
    scrollTens = 0;
    hasRange = false;
    session.SetCurrentFrame(0);
    UpdateScrollRanges();
}

void MotionTimeline::ScrollToShow(int frame)
{
    const int visible = geometry.VisibleFrames();
    if (frame >= FirstFrame() && frame < FirstFrame() + visible) return;
    const int tens = frame < FirstFrame() ? frame / 10 : (frame - visible + 10) / 10;
    scrollTens = std::clamp(tens, 0, MaxScrollTens());
}

namespace {

int Scrolled(int position, ScrollAction action, int thumb, int line, int page, int end)
{
    switch (action) {
    case ScrollAction::LineBack: return position - line;
    case ScrollAction::LineForward: return position + line;
    case ScrollAction::PageBack: return position - page;
    case ScrollAction::PageForward: return position + page;
    case ScrollAction::Track: return thumb;
    case ScrollAction::ToStart: return 0;
    case ScrollAction::ToEnd: return end;
    case ScrollAction::Other: break;
    }
    return position;
}

}  // namespace

void MotionTimeline::ScrollHorizontal(ScrollAction action, int thumb)
{
    if (session.IsPlaying()) session.SetPlaying(false);
    if (session.CurrentMotion() < 0) return;
    scrollTens = std::clamp(Scrolled(scrollTens, action, thumb, 1, 1, CurrentLength()), 0, MaxScrollTens());
    const int first = 10 * scrollTens;
    session.SetCurrentFrame(std::clamp(session.CurrentFrame(), first, first + geometry.VisibleFrames() - 1));
}

void MotionTimeline::ScrollVertical(ScrollAction action, int thumb)
{
    firstRow = std::clamp(Scrolled(firstRow, action, thumb, 1, 3, MaxFirstRow()), 0, MaxFirstRow());
    const int selected = session.CurrentPart();
    if (selected < 0) return;
    session.SelectPart(std::clamp(selected, firstRow, firstRow + geometry.Rows() - 1));
}

int MotionTimeline::ClampedFrameAtX(int x) const
{
    const int frame = FrameAtX(x);
    return session.CurrentMotion() < 0 ? frame : std::min(frame, CurrentLength());
}

void MotionTimeline::PressAt(int x, int y, bool inArea)
{
    if (inArea) session.SetCurrentFrame(ClampedFrameAtX(x));
    const int row = RowAt(x, y);
    if (row >= 0 && firstRow + row < session.GetScene().PartCount()) session.SelectPart(firstRow + row);
}

std::optional<MotionTimeline::KeyDrag> MotionTimeline::KeysUnder(int x, int y) const
{
    const int motion = session.CurrentMotion();
    if (session.IsPlaying() || motion < 0 || !InTimelineArea(x, y)) return std::nullopt;
    const Motion& keys = session.GetScene().Motions()[motion];
    const int frame = FrameAtX(x);
    if (hasRange && frame >= RangeLow() && frame <= RangeHigh()) {
        const KeyBlock block{0, session.GetScene().PartCount() - 1, RangeLow(), RangeHigh()};
        if (!BlockHoldsKeys(keys, block)) return std::nullopt;
        return KeyDrag{block, 0, true, false};
    }
    const int row = RowAt(x, y);
    const int part = firstRow + row;
    if (row < 0 || part >= static_cast<int>(keys.tracks.size())) return std::nullopt;
    // The marker is 5 x 5 pixels around the key's line, just above the track line.
    const int markerTop = 43 + TimelineGeometry::kRowHeight * row;
    if (y < markerTop - 1 || y > markerTop + 5) return std::nullopt;
    int picked = -1;
    for (const KeyFrame& key : keys.tracks[part].keys) {
        const int distance = std::abs(FrameX(key.frame) - x);
        if (distance <= 2 && (picked < 0 || distance < std::abs(FrameX(picked) - x))) picked = key.frame;
    }
    if (picked <= 0) return std::nullopt;  // none, or the frame-0 key, which stays
    return KeyDrag{KeyBlock{part, part, picked, picked}, 0, false, false};
}

void MotionTimeline::LeftDown(int x, int y)
{
    keyDrag = KeysUnder(x, y);
    if (!keyDrag || !keyDrag->inRange) hasRange = false;
    const bool inArea = InTimelineArea(x, y);
    if (inArea) StartShowingFrames();
    leftDragging = leftDragging || inArea;
    PressAt(x, y, inArea);
    if (keyDrag) keyDrag->pressFrame = session.CurrentFrame();
    if (inArea) ShowPoseHere();
}

void MotionTimeline::StartShowingFrames()
{
    if (!showingFrames) unkeyedEditsBeforeShowing = PoseHasUnkeyedEdits(session);
    showingFrames = true;
}

void MotionTimeline::ShowPoseHere()
{
    if (session.CurrentMotion() >= 0 && !session.IsPlaying())
        EvaluatePose(session.GetScene(), session.CurrentMotion(), session.CurrentFrame());
    session.ShowCurrentTransform();
}

void MotionTimeline::StopShowingFrames()
{
    if (!showingFrames) return;
    showingFrames = false;
    EndFrameChange(session, unkeyedEditsBeforeShowing, UiText("core", "タイムラインのポーズ"));
}

int MotionTimeline::KeyDragOffset() const
{
    const int motion = session.CurrentMotion();
    if (!keyDrag || motion < 0) return 0;
    return KeyOffsetWithin(session.GetScene().Motions()[motion], keyDrag->block,
                           session.CurrentFrame() - keyDrag->pressFrame);
}

std::optional<MotionTimeline::KeyDragView> MotionTimeline::DraggedKeys() const
{
    if (!keyDrag || session.CurrentMotion() < 0) return std::nullopt;
    return KeyDragView{keyDrag->block, KeyDragOffset()};
}

void MotionTimeline::DropKeys()
{
    const KeyDrag drag = *keyDrag;
    const int offset = session.IsPlaying() ? 0 : KeyDragOffset();
    keyDrag.reset();
    if (offset == 0) {
        // Released where it was pressed: the ordinary click's range reset.
        if (!drag.moved) hasRange = false;
        return;
    }
    const int motion = session.CurrentMotion();
    {
        DocumentEdit edit(session, UiText("core", "キーの移動"));
        for (int part = drag.block.firstPart; part <= drag.block.lastPart; ++part) edit.WatchTrack(motion, part);
        ReportKeys(session, MoveKeys(session.GetScene().MutableMotions()[motion], drag.block, offset));
    }
    if (drag.inRange) {
        rangeStart += offset;
        rangeEnd += offset;
    }
    session.SetCurrentFrame(drag.pressFrame + offset);
}

void MotionTimeline::RightDown(int x, int y)
{
    hasRange = false;
    const bool inArea = InTimelineArea(x, y);
    if (inArea) StartShowingFrames();
    rightDragging = rightDragging || inArea;
    PressAt(x, y, inArea);
    if (inArea) ShowPoseHere();
}

void MotionTimeline::LeftDoubleClick(int x, int y)
{
    if (!InTimelineArea(x, y)) return;
    rangeDragging = true;
    hasRange = true;
    session.SetCurrentFrame(ClampedFrameAtX(x));
    session.ShowCurrentTransform();
    rangeStart = rangeEnd = session.CurrentFrame();
}

void MotionTimeline::MouseMove(int x)
{
    if (session.IsPlaying() || !Dragging()) return;
    const int f = FrameAtX(x);
    const int first = 10 * scrollTens;
    const int last = first + geometry.VisibleFrames() - 1;
    const bool hasMotion = session.CurrentMotion() >= 0;
    int frame = f;
    autoScroll = 0;
    if (f < first) {
        autoScroll = (f - first) / 10 - 1;
        frame = first;
    } else if (f > last && hasMotion && f <= CurrentLength()) {
        autoScroll = (f - last) / 10 + 1;
        frame = last;
    } else if (f > last && !hasMotion) {
        frame = last;
    }
    if (hasMotion) frame = std::min(frame, CurrentLength());
    session.SetCurrentFrame(frame);
    if (rangeDragging) rangeEnd = session.CurrentFrame();
    if (keyDrag && session.CurrentFrame() != keyDrag->pressFrame) keyDrag->moved = true;
    // A drag that moves keys or chooses a range keeps the pose it started with.
    if (rightDragging || (leftDragging && !keyDrag && !rangeDragging))
        ShowPoseHere();
    else
        session.ShowCurrentTransform();
}

void MotionTimeline::LeftUp()
{
    leftDragging = false;
    // Before the keys move: their step holds keys only, not the frames shown.
    if (!rightDragging) StopShowingFrames();
    if (keyDrag) DropKeys();
    if (rangeDragging) {
        rangeDragging = false;
        if (session.CurrentMotion() >= 0) session.SetCurrentFrame(std::min(session.CurrentFrame(), CurrentLength()));
        rangeEnd = session.CurrentFrame();
    }
    autoScroll = 0;
}

void MotionTimeline::RightUp()
{
    rightDragging = false;
    if (!leftDragging) StopShowingFrames();
    autoScroll = 0;
}

bool MotionTimeline::SetKeyHere()
{
    if (session.CurrentMotion() < 0 || session.CurrentFrame() > CurrentLength()) return false;
    DocumentEdit edit(session, EditorCommand::SetKey);
    edit.WatchTrack(session.CurrentMotion(), session.CurrentPart());
    return ReportKeys(session, SetKey(session.GetScene(), session.CurrentMotion(), session.CurrentPart(),
                                      session.CurrentFrame(), newKeyInterpolation));
}

bool MotionTimeline::SetAllKeys()
{
    std::vector<int> parts(size_t(std::max(0, session.GetScene().PartCount())));
    std::iota(parts.begin(), parts.end(), 0);
    return SetKeysOf(parts, EditorCommand::SetAllKeys);
}

bool MotionTimeline::SetKeysOf(const std::vector<int>& parts, EditorCommand command)
{
    const int motion = session.CurrentMotion();
    if (motion < 0 || session.CurrentFrame() > CurrentLength() || parts.empty()) return false;
    DocumentEdit edit(session, command);
    edit.WatchMotion(motion);
    bool changed = false;
    for (const int part : parts)
        if (session.GetScene().PartAt(part))
            changed = SetKey(session.GetScene(), motion, part, session.CurrentFrame(), newKeyInterpolation) || changed;
    return ReportKeys(session, changed);
}

bool MotionTimeline::DeleteKeysOf(EditorCommand command, int firstPart, int lastPart)
{
    const int motion = session.CurrentMotion();
    if (motion < 0 || firstPart < 0) return false;
    DocumentEdit edit(session, command);
    for (int part = firstPart; part <= lastPart; ++part) edit.WatchTrack(motion, part);
    bool changed = false;
    for (int part = firstPart; part <= lastPart; ++part)
        for (int frame = std::max(1, RangeLow()); frame <= RangeHigh(); ++frame)
            changed = DeleteKey(session.GetScene(), motion, part, frame) || changed;
    return ReportKeys(session, changed);
}

bool MotionTimeline::DeleteKeys()
{
    return DeleteKeysOf(EditorCommand::DeleteKey, session.CurrentPart(), session.CurrentPart());
}

bool MotionTimeline::DeleteAllKeys()
{
    return DeleteKeysOf(EditorCommand::DeleteAllKeys, 0, session.GetScene().PartCount() - 1);
}

bool MotionTimeline::SetInterpolation(const KeyInterpolation& interpolation)
{
    const int motion = session.CurrentMotion();
    if (motion < 0) return false;
    Scene& scene = session.GetScene();
    const int current = session.CurrentPart();
    const int firstPart = current >= 0 ? current : 0;
    const int lastPart = current >= 0 ? current : scene.PartCount() - 1;
    DocumentEdit edit(session, EditorCommand::InterpolationLinear);
    for (int part = firstPart; part <= lastPart; ++part) edit.WatchTrack(motion, part);
    bool changed = false;
    for (int part = firstPart; part <= lastPart; ++part) {
        for (const KeyFrame& key : scene.MotionAt(motion).tracks[size_t(part)].keys) {
            if (key.frame < RangeLow() || key.frame > RangeHigh()) continue;
            changed = SetKeyInterpolation(scene, motion, part, key.frame, interpolation) || changed;
        }
    }
    return ReportKeys(session, changed);
}

void MotionTimeline::SetNewKeyInterpolation(const KeyInterpolation& asked)
{
    const KeyInterpolation interpolation =
        asked.Kind() == InterpolationKind::Smooth ? KeyInterpolation::AutoClamped() : asked;
    if (interpolation == newKeyInterpolation) return;
    newKeyInterpolation = interpolation;
    session.Events().Publish(PreferencesChanged{});
}

bool MotionTimeline::CopyKeys()
{
    const int motion = session.CurrentMotion();
    if (motion < 0) return false;
    const Scene& scene = session.GetScene();
    const Motion& copied = scene.Motions()[motion];
    clipboard.frames = RangeHigh() - RangeLow() + 1;
    clipboard.parts.assign(size_t(scene.PartCount()), {});
    for (int p = 0; p < scene.PartCount(); ++p) {
        const Part& part = *scene.Parts()[p];
        const Part* parent = scene.PartAt(part.parentIndex);
        clipboard.parts[p] = {part.id, parent ? parent->id : 0, std::vector<std::optional<KeyFrame>>(clipboard.frames),
                              std::vector<Matrix4>(clipboard.frames)};
    }
    for (int s = 0; s < clipboard.frames; ++s) {
        const int frame = RangeLow() + s;
        std::vector<Matrix4> worlds;  // worked out for the first frame with a key only
        for (int p = 0; p < scene.PartCount(); ++p) {
            const int key = copied.tracks[p].FindKey(frame);
            if (key < 0) continue;
            if (worlds.empty()) worlds = WorldPoseAt(scene, copied, frame);
            const Matrix4& matrix = copied.tracks[p].keys[key].matrix;
            const int parent = scene.Parts()[p]->parentIndex;
            clipboard.parts[p].keys[s] = copied.tracks[p].keys[key];
            clipboard.parts[p].worlds[s] = parent >= 0 ? matrix * worlds[size_t(parent)] : matrix;
        }
    }
    hasRange = false;
    return true;
}

bool MotionTimeline::PasteKeys()
{
    const int motion = session.CurrentMotion();
    if (motion < 0 || clipboard.frames == 0) return false;
    Scene& scene = session.GetScene();
    std::unordered_map<uint64_t, int> indexOf;
    for (int p = 0; p < scene.PartCount(); ++p) indexOf[scene.Parts()[p]->id] = p;
    // Parts taken out since the copy are skipped; Parts added since keep their keys.
    std::vector<std::pair<int, const KeyClipboard::CopiedPart*>> targets;
    for (const KeyClipboard::CopiedPart& copied : clipboard.parts)
        if (const auto found = indexOf.find(copied.part); found != indexOf.end())
            targets.emplace_back(found->second, &copied);
    // Parents first: a re-parented Part's keys are placed under its parent's pasted pose.
    std::sort(targets.begin(), targets.end(), [](const auto& a, const auto& b) { return a.first < b.first; });

    DocumentEdit edit(session, EditorCommand::PasteKeys);
    edit.WatchMotion(motion);
    const int start = session.CurrentFrame();
    bool changed = false;
    for (int s = 0; s < clipboard.frames && start + s <= CurrentLength(); ++s) {
        for (const auto& [part, copied] : targets) {
            const std::optional<KeyFrame>& key = copied->keys[s];
            if (!key) {
                changed = DeleteKey(scene, motion, part, start + s) || changed;
                continue;
            }
            const int parentIndex = scene.Parts()[part]->parentIndex;
            const Part* parent = scene.PartAt(parentIndex);
            Matrix4 matrix = key->matrix;
            if ((parent ? parent->id : 0) != copied->parent) {
                // The parent as it stands at this frame, its own pasted key included.
                const Matrix4 parentWorld =
                    parent ? WorldPoseAt(scene, scene.MotionAt(motion), start + s)[size_t(parentIndex)] : Matrix4();
                matrix = LocalFromWorld(copied->worlds[s], parent ? &parentWorld : nullptr);
            }
            changed = SetKeyMatrix(scene, motion, part, start + s, matrix, key->interpolation) || changed;
            changed = SetKeyInterpolation(scene, motion, part, start + s, key->interpolation) || changed;
        }
    }
    return ReportKeys(session, changed);
}

}  // namespace m3d
