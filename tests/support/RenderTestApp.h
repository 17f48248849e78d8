#pragma once

#include "render/CRenderApp.h"
#include "support/ScriptedGraphicsDriver.h"

#include <chrono>
#include <map>
#include <string>
#include <vector>

namespace m3d {

// A clock that moves only when told, for exact frame intervals.
class ScriptedClock {
public:
    FrameTimer::TimePoint now{std::chrono::seconds(1000)};
    FrameTimer::Clock Function()
    {
        return [this] { return now; };
    }
    void AdvanceMilliseconds(int ms) { now += std::chrono::milliseconds(ms); }
};

struct ShownMessage {
    std::string text;
    std::string caption;
    MessageIcon icon;
};

class RecordingHost : public RenderAppHost {
public:
    void ShowMessage(const std::string& text, const std::string& caption, MessageIcon icon) override
    {
        messages.push_back({text, caption, icon});
        if (journal) journal->push_back("Message");
    }
    m3d::ClientRect GetClientRect(WindowHandle) override { return clientRect; }

    std::vector<ShownMessage> messages;
    m3d::ClientRect clientRect{0, 0, 800, 600};
    std::vector<std::string>* journal = nullptr;
};

// Notes every hook in the driver's journal, so hooks and device calls can be
// checked in one sequence; a hook named in failures answers that code.
class RecordingApp : public CRenderApp {
public:
    RecordingApp(RenderFrameworkState& state, RecordingHost& host, std::vector<std::string>& journal)
        : CRenderApp(state, host), journal(journal)
    {
        host.journal = &journal;
        windowTitle = "Marionettica3D";
        usesDepthBuffer = true;
        deviceWindow = reinterpret_cast<WindowHandle>(0x2001);
    }

    HResult AdjustDeviceWindow() override { return Note("AdjustDeviceWindow"); }
    HResult InitScene() override { return Note("InitScene"); }
    HResult CreateDeviceObjects() override { return Note("CreateDeviceObjects"); }
    HResult RestoreDeviceState() override { return Note("RestoreDeviceState"); }
    HResult AdvanceFrame() override { return Note("AdvanceFrame"); }
    HResult Render() override { return Note("Render"); }
    HResult InvalidateDeviceState() override { return Note("InvalidateDeviceState"); }
    HResult DestroyDeviceObjects() override { return Note("DestroyDeviceObjects"); }
    HResult ShutdownScene() override { return Note("ShutdownScene"); }

    std::map<std::string, HResult> failures;

private:
    HResult Note(const std::string& hook)
    {
        journal.push_back(hook);
        const auto it = failures.find(hook);
        return it == failures.end() ? S_OK : it->second;
    }
    std::vector<std::string>& journal;
};

}  // namespace m3d
