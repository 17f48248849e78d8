#include "cli/OffscreenForCommand.h"

#include "cli/ProjectLoading.h"

namespace m3d {

OffscreenForCommand::~OffscreenForCommand()
{
    target.reset();
    if (context) device.ReleaseResources();
}

std::unique_ptr<OffscreenForCommand> MakeOffscreenForCommand(const std::string& output, int width, int height)
{
    auto offscreen = std::make_unique<OffscreenForCommand>();
    Expected<std::unique_ptr<EglContext>> context = EglContext::Create();
    if (!context) {
        PrintFailure(output + ": " + context.Message());
        return nullptr;
    }
    offscreen->context = std::move(*context);
    if (Outcome initialized = offscreen->device.Initialize(); !initialized) {
        PrintFailure(output + ": " + initialized.Message());
        return nullptr;
    }
    Expected<std::unique_ptr<OffscreenTarget>> target = OffscreenTarget::Create(width, height);
    if (!target) {
        PrintFailure(output + ": " + target.Message());
        return nullptr;
    }
    offscreen->target = std::move(*target);
    return offscreen;
}

}  // namespace m3d
