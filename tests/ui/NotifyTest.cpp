#include "LayoutWindowFixture.h"
#include "ui/ButtonUI.h"
#include "ui/ControlTimers.h"
#include "ui/NotifyCenter.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
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

// Catches key and character messages before the window's controls see them.
struct KeyCatcher final : IMessageFilterUI {
    bool MessageFilter(unsigned message, uintptr_t wParam, intptr_t, intptr_t&) override
    {
        using namespace platform;
        if (message != WM_KEYDOWN && message != WM_SYSKEYDOWN && message != WM_CHAR && message != WM_SYSCHAR)
            return false;
        seen.emplace_back(message, wParam);
        if (onKey)
            onKey();
        return handled;
    }
    std::vector<std::pair<unsigned, uintptr_t>> seen;
    std::function<void()> onKey;
    bool handled = true;
};

struct Clicks final : INotifyUI {
    void Notify(NotifyMessage& message) override
    {
        if (message.type == u"click" && message.sender != nullptr)
            names.push_back(message.sender->GetName());
    }
    std::vector<std::u16string> names;
};

class PopupKeyFilterTest : public LayoutWindowFixture {
protected:
    Clicks clicks;
    KeyCatcher catcher;

    void SetUp() override
    {
        LayoutWindowFixture::SetUp();
        ASSERT_NE(window.Create(platform::WindowId::None, "popup", WindowStyle::kPopup, 0, 0, 0, 200, 100),
                  platform::WindowId::None);
        window.manager.Init(&system, window.GetHWND());
        CLayoutBuilder builder;
        ASSERT_TRUE(window.manager.AttachDialog(builder.CreateDetached(
            u"<Window><VerticalLayout><Edit name=\"edit\" height=\"30\"/>"
            u"<Button name=\"ok\" text=\"OK\" shortcut=\"O\" height=\"30\"/>"
            u"<Button name=\"other\" height=\"30\"/></VerticalLayout></Window>",
            nullptr, &window.manager)));
        window.manager.AddNotifier(&clicks);
        window.ShowWindow();
        system.SetFocus(window.GetHWND());
        Loop();
        window.manager.AddPreMessageFilter(&catcher);
    }
    // The program's message loop, pre-translation included.
    void Loop() { CWindowUIManager::MessageLoop(system); }
    void Press(int vk)
    {
        system.InjectKey(window.GetHWND(), vk, true);
        system.InjectKey(window.GetHWND(), vk, false);
        Loop();
    }
    CControlUI* Find(std::u16string_view name) { return window.manager.FindControl(name); }
};

TEST_F(PopupKeyFilterTest, AHandlingFilterKeepsKeysAndTextFromTheControls)
{
    using namespace platform;
    window.manager.SetFocus(Find(u"ok"));
    Press(VK_SPACE);
    Press(VK_RETURN);
    Press(VK_TAB);
    system.InjectKey(window.GetHWND(), VK_MENU, true);
    Press('O');
    system.InjectKey(window.GetHWND(), VK_MENU, false);
    Loop();
    EXPECT_TRUE(clicks.names.empty());
    EXPECT_EQ(window.manager.GetFocus(), Find(u"ok"));
    const auto& seen = catcher.seen;
    auto saw = [&](unsigned message, uintptr_t wParam) {
        return std::find(seen.begin(), seen.end(), std::make_pair(message, wParam)) != seen.end();
    };
    EXPECT_TRUE(saw(WM_KEYDOWN, VK_SPACE));
    EXPECT_TRUE(saw(WM_KEYDOWN, VK_TAB));
    EXPECT_TRUE(saw(WM_SYSKEYDOWN, 'O'));
    EXPECT_TRUE(saw(WM_SYSCHAR, u'o') || saw(WM_SYSCHAR, u'O'));

    // Text typed into a focused edit is swallowed as well.
    window.manager.SetFocus(Find(u"edit"));
    ASSERT_EQ(window.manager.GetFocus(), Find(u"edit"));
    system.InjectText(window.GetHWND(), u"ab");
    Press('C');
    EXPECT_TRUE(Find(u"edit")->GetText().empty());
    EXPECT_TRUE(saw(WM_CHAR, u'a'));

    // Without the filter the same keys reach the controls.
    window.manager.RemovePreMessageFilter(&catcher);
    window.manager.SetFocus(Find(u"ok"));
    Press(VK_SPACE);
    Press(VK_TAB);
    EXPECT_EQ(clicks.names, (std::vector<std::u16string>{u"ok"}));
    EXPECT_EQ(window.manager.GetFocus(), Find(u"other"));
}

TEST_F(PopupKeyFilterTest, FiltersRemovedWhileAKeyIsFilteredAreNotCalledAgain)
{
    using namespace platform;
    KeyCatcher later;
    catcher.handled = false;
    catcher.onKey = [&] {
        window.manager.RemovePreMessageFilter(&catcher);
        window.manager.RemovePreMessageFilter(&later);
    };
    window.manager.AddPreMessageFilter(&later);
    window.manager.SetFocus(Find(u"ok"));
    Press(VK_SPACE);
    EXPECT_EQ(catcher.seen.size(), 1u);
    EXPECT_TRUE(later.seen.empty());
    EXPECT_EQ(clicks.names, (std::vector<std::u16string>{u"ok"}));  // not handled: the key went on
}

// A pop-up that is its own filter and closes itself on Escape from inside
// the filter, as the key pop-up's buttons do; it frees itself at the end.
class ClosingPopup final : public CWindowWnd, public IMessageFilterUI {
public:
    explicit ClosingPopup(bool& gone) : m_gone(gone) {}
    std::u16string_view GetWindowClassName() const override { return u"ClosingPopup"; }
    intptr_t HandleMessage(unsigned message, uintptr_t wParam, intptr_t lParam) override
    {
        intptr_t result = 0;
        return manager.MessageHandler(message, wParam, lParam, result) ? result : 0;
    }
    bool MessageFilter(unsigned message, uintptr_t wParam, intptr_t, intptr_t&) override
    {
        if (message != platform::WM_KEYDOWN)
            return false;
        if (wParam == platform::VK_ESCAPE) {
            manager.RemovePreMessageFilter(this);
            System()->DestroyWindow(GetHWND());
            return false;  // passed on: the loop goes on with a closed window
        }
        return true;
    }
    void OnFinalMessage(platform::WindowId) override
    {
        m_gone = true;
        delete this;
    }
    CWindowUIManager manager;

private:
    bool& m_gone;
};

TEST_F(PopupKeyFilterTest, AFilterMayCloseItsOwnPopupWhileFilteringAKey)
{
    bool gone = false;
    auto* popup = new ClosingPopup(gone);
    const platform::WindowId id =
        popup->Create(window.GetHWND(), "keys", WindowStyle::kPopup, 0, 10, 10, 100, 50);
    ASSERT_NE(id, platform::WindowId::None);
    popup->manager.Init(&system, id);
    CLayoutBuilder builder;
    ASSERT_TRUE(popup->manager.AttachDialog(builder.CreateDetached(
        u"<Window><Button name=\"ok\" shortcut=\"K\"/></Window>", nullptr, &popup->manager)));
    popup->manager.AddPreMessageFilter(popup);
    KeyCatcher after;
    after.handled = false;
    popup->manager.AddPreMessageFilter(&after);
    popup->ShowWindow();
    Loop();
    ASSERT_EQ(system.GetFocus(), id);
    Press('A');
    EXPECT_FALSE(gone);
    Press(platform::VK_ESCAPE);
    EXPECT_TRUE(gone);
    EXPECT_FALSE(system.IsWindow(id));
    EXPECT_EQ(system.GetFocus(), window.GetHWND());
}

}  // namespace
}  // namespace SkinUI
