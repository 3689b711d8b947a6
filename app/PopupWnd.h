// The window behaviour every popup of the program shares: a tool window owned
// by the window of the control that opened it, built from its layout into its
// own manager, centred over its owner, with rounded corners, dragged by the
// layout's caption area, and freed when its window is gone. A popup decides
// nothing itself: it tells its owner control the answer as an asynchronous
// notification to the owner's manager. Every shown popup is listed until its
// window is gone, so that all of them can be cancelled at once.
#pragma once

#include "app/CaptionDrag.h"
#include "ui/NotifyMessage.h"
#include "ui/WindowUIManager.h"
#include "ui/WindowWnd.h"

#include <span>
#include <string_view>
#include <vector>

namespace SkinUI {
class CControlUI;
}

namespace NeritApp {

class CPopupWnd : public SkinUI::CWindowWnd, public SkinUI::INotifyUI, public SkinUI::IMessageFilterUI {
public:
    CPopupWnd(unsigned layout, int kind);
    ~CPopupWnd() override;

    // Opens the popup for `owner` (may be null: a popup without owner answers
    // nobody). `position` is accepted for the callers' sake; the popup is
    // centred over the owner's window, or the work area without one. False
    // when the window cannot be made; the object is then still the caller's,
    // otherwise it frees itself when its window is gone.
    bool Show(SkinUI::CControlUI* owner, SkinUI::UIPoint position = {});

    // Cancels every open popup as if the user had: each answers its owner
    // with its cancel answer and its window is destroyed at once. The newest
    // go first: a notice opened over another popup answers before the popup
    // it belongs to is destroyed.
    static void CloseAll();
    static int OpenCount();

    int GetKind() const { return m_kind; }
    SkinUI::CControlUI* GetOwner() const { return m_owner; }
    SkinUI::CWindowUIManager& GetManager() { return m_manager; }

    std::u16string_view GetWindowClassName() const override { return u"PopupWnd"; }
    intptr_t HandleMessage(unsigned message, uintptr_t wParam, intptr_t lParam) override;
    void OnFinalMessage(platform::WindowId window) override;
    // The manager's pre-translate filter: key downs go to OnKeyDown.
    bool MessageFilter(unsigned message, uintptr_t wParam, intptr_t lParam, intptr_t& result) override;
    // "click" notifications go to OnClick.
    void Notify(SkinUI::NotifyMessage& message) override;

protected:
    // After the window is shown: choose what the kind shows.
    virtual void OnShown() {}
    // Whether the popup keeps the main window blocked while it is open.
    virtual bool BlocksMainWindow() const { return true; }
    // True when the key was taken.
    virtual bool OnKeyDown(int virtualKey)
    {
        (void)virtualKey;
        return false;
    }
    virtual void OnClick(SkinUI::CControlUI& sender) { (void)sender; }
    // What the popup answers when it is cancelled; empty sends nothing.
    virtual std::u16string_view CancelAnswer() const { return {}; }

    // Lets the main window go, sends `answer` to the owner and closes.
    void Answer(std::u16string_view answer);
    // The notification to the owner's manager, queued, the owner as sender;
    // an empty type sends nothing.
    void SendToOwner(std::u16string_view type);
    // Shows the label named `visible` and hides the other `labels`; labels
    // the layout lacks are skipped.
    void ShowOnly(std::span<const std::u16string_view> labels, std::u16string_view visible);
    // Whether `control` is the control of that name in this popup.
    bool Is(const SkinUI::CControlUI& control, std::u16string_view name) const;

private:
    static std::vector<CPopupWnd*>& Registry();
    static bool IsListed(const CPopupWnd* popup);
    void Unlist();
    // Answers the cancel answer and destroys the window now; `this` may be
    // gone afterwards.
    void Cancel();
    bool OnCreate();
    void ApplyRegion(int width, int height);
    void ReleaseBlock();

    unsigned m_layout;
    int m_kind;
    SkinUI::CControlUI* m_owner = nullptr;
    SkinUI::CWindowUIManager m_manager;
    CaptionDrag m_drag{m_manager};
    platform::WindowId m_blocking = platform::WindowId::None;  // kept in the popup-open state
    bool m_answered = false;
    bool m_ownsItself = false;  // once shown: freed with its window
};

}  // namespace NeritApp
