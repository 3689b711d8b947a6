#include "ui/ButtonUI.h"
#include "ui/ControlTimers.h"
#include "ui/NotifyCenter.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

#include <string>
#include <vector>

namespace SkinUI {
namespace {

struct Recorder final : INotifyUI {
    Recorder(std::string name, std::vector<std::string>& log) : name(std::move(name)), log(log) {}
    void Notify(NotifyMessage& message) override
    {
        log.push_back(name + ":" + std::string(message.type.begin(), message.type.end()) + "@"
                      + std::to_string(message.timestamp));
    }
    std::string name;
    std::vector<std::string>& log;
};

struct Swallow final : IMessageFilterUI {
    bool MessageFilter(unsigned message, uintptr_t, intptr_t, intptr_t& result) override
    {
        seen.push_back(message);
        result = 7;
        return message == 42;
    }
    std::vector<unsigned> seen;
};

NotifyMessage Message(std::u16string type, CControlUI* sender)
{
    NotifyMessage message;
    message.type = std::move(type);
    message.sender = sender;
    return message;
}

TEST(NotifyCenter, NotifiersInOrderQueueFirstAndForgottenSenders)
{
    uint64_t now = 100;
    CNotifyCenter center([&] { return now; });
    std::vector<std::string> log;
    Recorder a("A", log), b("B", log);
    center.AddNotifier(&a);
    center.AddNotifier(&b);
    center.AddNotifier(&a);  // once only
    CButtonUI button;
    std::vector<std::string> own;
    center.Send(Message(u"click", &button), false, [&](NotifyMessage& m) { own.push_back("own@" + std::to_string(m.timestamp)); });
    EXPECT_EQ(log, (std::vector<std::string>{"A:click@100", "B:click@100"}));
    EXPECT_EQ(own, (std::vector<std::string>{"own@100"}));

    // Queued notifications go out before a filter sees the next message.
    log.clear();
    center.SetMousePoint({3, 4});
    center.Send(Message(u"selectchanged", &button), true);
    center.Send(Message(u"timer", &button), true);
    center.ForgetSender(&button);
    now = 200;
    Swallow filter;
    center.AddMessageFilter(&filter);
    center.DeliverQueued(nullptr);
    intptr_t result = 0;
    EXPECT_TRUE(center.Filter(42, 0, 0, result));
    EXPECT_EQ(result, 7);
    EXPECT_FALSE(center.Filter(43, 0, 0, result));
    EXPECT_EQ(log, (std::vector<std::string>{"A:selectchanged@100", "B:selectchanged@100", "A:timer@100",
                                             "B:timer@100"}));
    EXPECT_EQ(center.QueuedCount(), 0u);
}

TEST(ControlTimers, NativeIdsModulo255AndRestartReusesTheId)
{
    std::vector<std::pair<unsigned, unsigned>> started;
    std::vector<unsigned> stopped;
    CControlTimers timers({[&](unsigned id, unsigned ms) {
                               started.emplace_back(id, ms);
                               return true;
                           },
                           [&](unsigned id) { stopped.push_back(id); }});
    CButtonUI a, b;
    EXPECT_TRUE(timers.Set(&a, 1, 50));
    EXPECT_FALSE(timers.Set(&a, 1, 80));  // runs already: left alone
    EXPECT_TRUE(timers.Set(&b, 1, 60));
    EXPECT_EQ(timers.NativeId(&b, 1), 1);
    EXPECT_TRUE(timers.Kill(&a, 1));
    EXPECT_FALSE(timers.Kill(&a, 1));
    unsigned id = 0;
    EXPECT_EQ(timers.Owner(0, id), nullptr);  // killed
    EXPECT_TRUE(timers.Set(&a, 1, 90));
    EXPECT_EQ(started.back(), (std::pair<unsigned, unsigned>{0, 90}));  // the same native id
    EXPECT_EQ(timers.Owner(0, id), &a);
    EXPECT_EQ(id, 1u);

    timers.Forget(&a);
    EXPECT_EQ(timers.NativeId(&a, 1), -1);
}

// Past 255 timers the counter wraps; it must never hand out the id of a
// running timer, nor the ids the windows run their own timers under.
TEST(ControlTimers, WrappedCounterSkipsIdsInUse)
{
    std::vector<unsigned> running;
    CControlTimers timers({[&](unsigned id, unsigned) {
                               running.push_back(id);
                               return true;
                           },
                           [&](unsigned id) { std::erase(running, id); }});
    std::vector<std::unique_ptr<CButtonUI>> many;
    for (int i = 0; i < 300; ++i)
        many.push_back(std::make_unique<CButtonUI>());
    // Distinct timers that are killed again leave their ids free.
    for (int i = 0; i < 250; ++i) {
        ASSERT_TRUE(timers.Set(many[static_cast<size_t>(i)].get(), 1, 10));
        ASSERT_TRUE(timers.Kill(many[static_cast<size_t>(i)].get(), 1));
    }
    ASSERT_TRUE(timers.Set(many[0].get(), 2, 10));
    ASSERT_TRUE(timers.Set(many[1].get(), 2, 10));
    int set = 2;
    for (size_t i = 2; i < many.size(); ++i)
        set += timers.Set(many[i].get(), 2, 10) ? 1 : 0;
    EXPECT_EQ(set, 253);  // 255 ids less the windows' own two
    std::vector<unsigned> sorted = running;
    std::sort(sorted.begin(), sorted.end());
    EXPECT_EQ(std::adjacent_find(sorted.begin(), sorted.end()), sorted.end()) << "two timers share a native id";
    EXPECT_EQ(std::count(sorted.begin(), sorted.end(), 13u), 0);
    EXPECT_EQ(std::count(sorted.begin(), sorted.end(), 14u), 0);

    // A killed timer's id goes to the next new one.
    const int freed = timers.NativeId(many[100].get(), 2);
    ASSERT_TRUE(timers.Kill(many[100].get(), 2));
    ASSERT_TRUE(timers.Set(many[299].get(), 3, 10));
    EXPECT_EQ(timers.NativeId(many[299].get(), 3), freed);
    unsigned id = 0;
    EXPECT_EQ(timers.Owner(static_cast<unsigned>(freed), id), many[299].get());
}

}  // namespace
}  // namespace SkinUI
