#pragma once

#include "editor/EditorEvent.h"

#include <functional>
#include <memory>
#include <vector>

namespace m3d {

class EditorEvents;

// A subscriber's hold on its handler: the handler receives events until the
// subscription is destroyed or reset. Movable, not copyable. It must not
// outlive the EditorEvents it came from (destroying it later is harmless).
class EditorSubscription {
public:
    EditorSubscription() = default;
    EditorSubscription(EditorSubscription&& other) noexcept;
    EditorSubscription& operator=(EditorSubscription&& other) noexcept;
    EditorSubscription(const EditorSubscription&) = delete;
    EditorSubscription& operator=(const EditorSubscription&) = delete;
    ~EditorSubscription();
    // Stops the handler; it is not called again, not even by a publication
    // under way.
    void Reset();

private:
    friend class EditorEvents;
    explicit EditorSubscription(std::weak_ptr<bool> alive) : alive(std::move(alive)) {}
    std::weak_ptr<bool> alive;
};

// Delivers the session's change events to any number of subscribers, in the
// order they subscribed. A handler may publish, subscribe or unsubscribe
// (itself or others) while it runs: a subscriber added during a publication
// hears from the next one.
class EditorEvents {
public:
    using Handler = std::function<void(const EditorEvent&)>;

    [[nodiscard]] EditorSubscription Subscribe(Handler handler);
    void Publish(const EditorEvent& event);
    // Subscribers still listening.
    int SubscriberCount() const;

private:
    struct Entry {
        std::shared_ptr<bool> alive;
        std::shared_ptr<Handler> handler;
    };
    std::vector<Entry> entries;
};

// Calls f(event) when event holds an Event; for handlers that want one kind.
template <typename Event, typename F>
void OnEvent(const EditorEvent& event, F&& f)
{
    if (const Event* e = std::get_if<Event>(&event)) f(*e);
}

}  // namespace m3d
