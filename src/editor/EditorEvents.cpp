#include "editor/EditorEvents.h"

#include <algorithm>

namespace m3d {

EditorSubscription::EditorSubscription(EditorSubscription&& other) noexcept : alive(std::move(other.alive)) {}

EditorSubscription& EditorSubscription::operator=(EditorSubscription&& other) noexcept
{
    if (this != &other) {
        Reset();
        alive = std::move(other.alive);
    }
    return *this;
}

EditorSubscription::~EditorSubscription() { Reset(); }

void EditorSubscription::Reset()
{
    if (std::shared_ptr<bool> flag = alive.lock()) *flag = false;
    alive.reset();
}

EditorSubscription EditorEvents::Subscribe(Handler handler)
{
    auto flag = std::make_shared<bool>(true);
    entries.push_back({flag, std::make_shared<Handler>(std::move(handler))});
    return EditorSubscription(flag);
}

void EditorEvents::Publish(const EditorEvent& event)
{
    entries.erase(std::remove_if(entries.begin(), entries.end(), [](const Entry& e) { return !*e.alive; }),
                  entries.end());
    // A copy, so that handlers may subscribe and unsubscribe while we go; the
    // flag is read again before each call.
    const std::vector<Entry> listeners = entries;
    for (const Entry& entry : listeners)
        if (*entry.alive) (*entry.handler)(event);
}

int EditorEvents::SubscriberCount() const
{
    return static_cast<int>(std::count_if(entries.begin(), entries.end(), [](const Entry& e) { return *e.alive; }));
}

}  // namespace m3d
