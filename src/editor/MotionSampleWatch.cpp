#include "editor/MotionSampleWatch.h"

namespace m3d {

MotionSampleWatch::MotionSampleWatch(EditorEvents& events)
{
    subscription = events.Subscribe([this](const EditorEvent& event) {
        if (std::holds_alternative<PoseChanged>(event)) {
            ++poses;
            return;
        }
        if (std::holds_alternative<MotionKeysChanged>(event) || std::holds_alternative<MotionListChanged>(event) ||
            std::holds_alternative<SelectionChanged>(event) || std::holds_alternative<TreeItemInserted>(event) ||
            std::holds_alternative<TreeItemRemoved>(event) || std::holds_alternative<TreeItemMoved>(event))
            ++changes;
    });
}

}  // namespace m3d
