// The cancel query answered from the engine's two events.
#include "framework/Handles.h"
#include "net/CancelRequest.h"

#include <gtest/gtest.h>

TEST(CancelRequest, AnswersFromTheEventsWithoutWaiting) {
    nvx::UniqueHandle set_event(::CreateEventW(nullptr, TRUE, TRUE, nullptr));
    nvx::UniqueHandle reset_event(::CreateEventW(nullptr, TRUE, FALSE, nullptr));
    struct Case {
        const char* name;
        HANDLE cancel_event;
        HANDLE resume_gate;
        bool cancel;
        bool pause;
    };
    const Case cases[] = {
        {"no events: never cancels or pauses", nullptr, nullptr, false, false},
        {"cancel signalled", set_event.get(), nullptr, true, false},
        {"cancel not signalled", reset_event.get(), nullptr, false, false},
        {"gate set: running", nullptr, set_event.get(), false, false},
        {"gate reset: paused", nullptr, reset_event.get(), false, true},
        {"both", set_event.get(), reset_event.get(), true, true},
    };
    for (const Case& c : cases) {
        CancelRequest request(c.cancel_event, c.resume_gate);
        EXPECT_EQ(request.IsCancelRequested(), c.cancel) << c.name;
        EXPECT_EQ(request.IsPauseRequested(), c.pause) << c.name;
    }
}

TEST(CancelRequest, FollowsTheEventsAsTheyChange) {
    nvx::UniqueHandle cancel_event(::CreateEventW(nullptr, TRUE, FALSE, nullptr));
    nvx::UniqueHandle gate(::CreateEventW(nullptr, TRUE, TRUE, nullptr));
    CancelRequest request(cancel_event.get(), gate.get());
    EXPECT_FALSE(request.IsPauseRequested());
    ::ResetEvent(gate.get());
    EXPECT_TRUE(request.IsPauseRequested());
    EXPECT_TRUE(request.IsPauseRequested()) << "testing must not consume the state";
    ::SetEvent(gate.get());
    EXPECT_FALSE(request.IsPauseRequested());
    ::SetEvent(cancel_event.get());
    EXPECT_TRUE(request.IsCancelRequested());
    EXPECT_TRUE(request.IsCancelRequested());
}
