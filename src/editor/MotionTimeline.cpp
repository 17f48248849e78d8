#include "editor/MotionTimeline.h"

#include "anim/MotionOperations.h"
#include "anim/PoseEvaluation.h"
#include "editor/EditorSession.h"
#include "editor/history/DocumentEdit.h"
#include "text/UiText.h"

#include <algorithm>

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
    return motion < 0 ? 0 : session.GetScene().motions[motion].length;
}

int MotionTimeline::RangeLow() const
{
    return hasRange ? std::min(rangeStart, rangeEnd) : session.CurrentFrame();
}

int MotionTimeline::RangeHigh() const
{
    return hasRange ? std::max(rangeStart, rangeEnd) : session.CurrentFrame();
}

int MotionTimeline::MaxScrollTens() const
{
    return std::max(0, (CurrentLength() - 61) / 10);
}

int MotionTimeline::MaxFirstRow() const
{
    return std::max(0, session.GetScene().PartCount() - TIMELINE_ROWS);
}

int MotionTimeline::FrameX(int frame) const
{
    return TIMELINE_FRAME0_X + TIMELINE_PIXELS_PER_FRAME * (frame - 10 * scrollTens);
}

int MotionTimeline::FrameAtX(int x) const
{
    return (x - TIMELINE_LEFT) / TIMELINE_PIXELS_PER_FRAME + 10 * scrollTens;
}

bool MotionTimeline::InTimelineArea(int x, int y)
{
    return x >= TIMELINE_LEFT && x <= TIMELINE_RIGHT && y >= TIMELINE_TOP && y <= TIMELINE_BOTTOM;
}

int MotionTimeline::RowAt(int x, int y)
{
    if (x < TIMELINE_BAND_LEFT || x > TIMELINE_BAND_RIGHT || y < TIMELINE_TOP) return -1;
    // Bands share their edge lines; a shared line belongs to the upper row.
    const int row = y == TIMELINE_TOP ? 0 : (y - TIMELINE_TOP - 1) / TIMELINE_ROW_HEIGHT;
    return row < TIMELINE_ROWS ? row : -1;
}

void MotionTimeline::UpdateScrollRanges()
{
    const int selected = session.CurrentPart();
    if (selected >= firstRow + TIMELINE_ROWS) firstRow = selected - (TIMELINE_ROWS - 1);
    else if (selected >= 0 && selected < firstRow) firstRow = selected;
    firstRow = std::clamp(firstRow, 0, MaxFirstRow());
    scrollTens = std::clamp(scrollTens, 0, MaxScrollTens());
}

void MotionTimeline::ResetToStart()
{
    scrollTens = 0;
    hasRange = false;
    session.SetCurrentFrame(0);
    UpdateScrollRanges();
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
    session.SetCurrentFrame(std::clamp(session.CurrentFrame(), first, first + TIMELINE_VISIBLE_FRAMES - 1));
}

void MotionTimeline::ScrollVertical(ScrollAction action, int thumb)
{
    firstRow = std::clamp(Scrolled(firstRow, action, thumb, 1, 3, MaxFirstRow()), 0, MaxFirstRow());
    const int selected = session.CurrentPart();
    if (selected < 0) return;
    session.SelectPart(std::clamp(selected, firstRow, firstRow + TIMELINE_ROWS - 1));
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

void MotionTimeline::LeftDown(int x, int y)
{
    hasRange = false;
    const bool inArea = InTimelineArea(x, y);
    leftDragging = leftDragging || inArea;
    PressAt(x, y, inArea);
    if (inArea) session.ShowCurrentTransform();
}

void MotionTimeline::RightDown(int x, int y)
{
    hasRange = false;
    const bool inArea = InTimelineArea(x, y);
    rightDragging = rightDragging || inArea;
    PressAt(x, y, inArea);
    if (!inArea) return;
    EvaluatePose(session.GetScene(), session.CurrentMotion(), session.CurrentFrame());
    session.ShowCurrentTransform();
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
    const int last = first + TIMELINE_VISIBLE_FRAMES - 1;
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
    if (rightDragging) EvaluatePose(session.GetScene(), session.CurrentMotion(), session.CurrentFrame());
    session.ShowCurrentTransform();
}

void MotionTimeline::LeftUp()
{
    leftDragging = false;
    if (rangeDragging) {
        rangeDragging = false;
        if (session.CurrentMotion() >= 0) session.SetCurrentFrame(std::min(session.CurrentFrame(), CurrentLength()));
        rangeEnd = session.CurrentFrame();
    }
    autoScroll = 0;
}

void MotionTimeline::RightUp()
{
    if (rightDragging) session.History().PushUndo(UiText("core", "タイムラインのポーズ"));
    rightDragging = false;
    autoScroll = 0;
}

bool MotionTimeline::SetKeyHere()
{
    if (session.CurrentMotion() < 0 || session.CurrentFrame() > CurrentLength()) return false;
    DocumentEdit edit(session, EditorCommand::SetKey);
    edit.WatchTrack(session.CurrentMotion(), session.CurrentPart());
    return ReportKeys(session, SetKey(session.GetScene(), session.CurrentMotion(), session.CurrentPart(),
                                      session.CurrentFrame()));
}

bool MotionTimeline::SetAllKeys()
{
    const int motion = session.CurrentMotion();
    if (motion < 0 || session.CurrentFrame() > CurrentLength()) return false;
    DocumentEdit edit(session, EditorCommand::SetAllKeys);
    edit.WatchMotion(motion);
    bool changed = false;
    for (int part = 0; part < session.GetScene().PartCount(); ++part)
        changed = SetKey(session.GetScene(), motion, part, session.CurrentFrame()) || changed;
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

bool MotionTimeline::CopyKeys()
{
    const int motion = session.CurrentMotion();
    if (motion < 0) return false;
    const std::vector<MotionTrack>& tracks = session.GetScene().motions[motion].tracks;
    const size_t parts = tracks.size();
    clipboard.slots.assign(RangeHigh() - RangeLow() + 1, {std::vector<bool>(parts), std::vector<Matrix4>(parts)});
    for (size_t s = 0; s < clipboard.slots.size(); ++s) {
        for (size_t k = 0; k < parts; ++k) {
            const int key = tracks[k].FindKey(RangeLow() + static_cast<int>(s));
            if (key < 0) continue;
            clipboard.slots[s].hasKey[k] = true;
            clipboard.slots[s].matrices[k] = tracks[k].keys[key].matrix;
        }
    }
    hasRange = false;
    return true;
}

bool MotionTimeline::PasteKeys()
{
    const int motion = session.CurrentMotion();
    if (motion < 0 || clipboard.slots.empty()) return false;
    Scene& scene = session.GetScene();
    DocumentEdit edit(session, EditorCommand::PasteKeys);
    edit.WatchMotion(motion);
    // Parts added since the copy keep their keys; removed ones have no track to paste into.
    const int parts = std::min(static_cast<int>(clipboard.slots[0].hasKey.size()), scene.PartCount());
    const int start = session.CurrentFrame();
    bool changed = false;
    for (int s = 0; s < static_cast<int>(clipboard.slots.size()) && start + s <= CurrentLength(); ++s) {
        const KeyClipboard::Slot& slot = clipboard.slots[s];
        for (int part = 0; part < parts; ++part) {
            if (slot.hasKey[part]) changed = SetKeyMatrix(scene, motion, part, start + s, slot.matrices[part]) || changed;
            else changed = DeleteKey(scene, motion, part, start + s) || changed;
        }
    }
    return ReportKeys(session, changed);
}
