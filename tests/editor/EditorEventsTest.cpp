#include "editor/EditorEvents.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

using namespace m3d;

TEST(EditorEvents, EverySubscriberHearsEachEventInOrderUntilItLeaves)
{
    EditorEvents events;
    std::vector<std::string> heard;
    std::optional<EditorSubscription> second;
    EditorSubscription late;
    bool joined = false;
    EditorSubscription first = events.Subscribe([&](const EditorEvent& e) {
        OnEvent<CurrentFrameChanged>(e, [&](const CurrentFrameChanged& c) {
            heard.push_back("first " + std::to_string(c.frame));
            // Leaving during a publication: the second one is not called for it.
            if (c.frame == 2) second.reset();
        });
    });
    second = events.Subscribe([&](const EditorEvent& e) {
        OnEvent<CurrentFrameChanged>(e, [&](const CurrentFrameChanged& c) {
            heard.push_back("second " + std::to_string(c.frame));
            // Joining during a publication: heard from the next one on.
            if (!joined) late = events.Subscribe([&](const EditorEvent&) { heard.push_back("late"); });
            joined = true;
        });
    });
    events.Publish(CurrentFrameChanged{1});
    events.Publish(TitleChanged{"t"});
    events.Publish(CurrentFrameChanged{2});
    EXPECT_EQ(heard, (std::vector<std::string>{"first 1", "second 1", "late", "first 2", "late"}));
    EXPECT_EQ(events.SubscriberCount(), 2);

    // A moved subscription still unsubscribes once, when its last holder goes.
    {
        EditorSubscription moved = std::move(first);
        EXPECT_EQ(events.SubscriberCount(), 2);
    }
    EXPECT_EQ(events.SubscriberCount(), 1);
}
