#include "platform/WindowSystemCore.h"

#include <algorithm>
#include <atomic>
#include <cctype>
#include <cmath>
#include <utility>
#include <vector>

namespace platform {
namespace {

// Timer serials are unique in the process, so a late event of a stopped
// timer can never be taken for a new one.
std::atomic<uint64_t> gLastTimerSerial{0};

// Shorter intervals run at this one, as native timers do.
constexpr unsigned kMinTimerMs = 10;

struct ButtonRow {
    unsigned down, up, doubleClick;
    int virtualKey;
    unsigned flag;
};
constexpr ButtonRow kButtons[] = {
    {WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK, VK_LBUTTON, MK_LBUTTON},
    {WM_RBUTTONDOWN, WM_RBUTTONUP, WM_RBUTTONDBLCLK, VK_RBUTTON, MK_RBUTTON},
    {WM_MBUTTONDOWN, WM_MBUTTONUP, WM_MBUTTONDBLCLK, VK_MBUTTON, MK_MBUTTON},
};

// Keys whose down also types a control character.
struct KeyCharRow {
    int virtualKey;
    char16_t unit;
};
constexpr KeyCharRow kKeyChars[] = {{VK_BACK, 8}, {VK_TAB, 9}, {VK_RETURN, 13}, {VK_ESCAPE, 27}};

uintptr_t Arg(WindowId window) { return static_cast<uint32_t>(window); }

bool IsButtonDown(unsigned message)
{
    return std::any_of(std::begin(kButtons), std::end(kButtons),
                       [&](const ButtonRow& row) { return message == row.down || message == row.doubleClick; });
}

bool IsLetter(int key) { return key >= 'A' && key <= 'Z'; }
bool IsDigit(int key) { return key >= '0' && key <= '9'; }

// The WM_CHAR or WM_SYSCHAR that follows a key down (message WM_NULL: none).
// Keys held on one side of the keyboard: IsKeyDown reports the side's own
// code beside the shared one (0: that side has none).
struct SidedKey {
    int shared, left, right;
};
constexpr SidedKey kSidedKeys[] = {
    {VK_SHIFT, VK_LSHIFT, VK_RSHIFT},
    {VK_CONTROL, VK_LCONTROL, VK_RCONTROL},
    {VK_MENU, VK_LMENU, VK_RMENU},
    {VK_RETURN, 0, VK_SEPARATOR},
};

const SidedKey* SidedKeyOf(int key)
{
    for (const SidedKey& row : kSidedKeys) {
        if (row.shared == key)
            return &row;
    }
    return nullptr;
}

int SideCodeOf(int key, bool rightHand)
{
    const SidedKey* row = SidedKeyOf(key);
    return row == nullptr ? 0 : rightHand ? row->right : row->left;
}

std::pair<unsigned, char16_t> CharForKey(int key, bool ctrl, bool alt)
{
    if (alt && !ctrl && (IsLetter(key) || IsDigit(key)))
        return {WM_SYSCHAR, static_cast<char16_t>(IsLetter(key) ? key - 'A' + 'a' : key)};
    if (alt)
        return {WM_NULL, 0};
    if (ctrl)
        return IsLetter(key) ? std::pair{WM_CHAR, static_cast<char16_t>(key - 'A' + 1)} : std::pair{WM_NULL, char16_t{0}};
    for (const KeyCharRow& row : kKeyChars) {
        if (row.virtualKey == key)
            return {WM_CHAR, row.unit};
    }
    return {WM_NULL, 0};
}

Rect Normalised(Rect rect)
{
    rect.right = std::max(rect.right, rect.left);
    rect.bottom = std::max(rect.bottom, rect.top);
    return rect;
}

// Pixels cut from each side of a row of a rounded rectangle `height` high
// whose corners are ellipse quarters with radii rx, ry.
int RoundRectInset(int row, int height, double rx, double ry)
{
    const double centre = row + 0.5;
    double dy = 0;
    if (centre < ry)
        dy = ry - centre;
    else if (centre > height - ry)
        dy = centre - (height - ry);
    else
        return 0;
    const double t = dy / ry;
    const double dx = rx * (1 - std::sqrt(std::max(0.0, 1 - t * t)));
    return static_cast<int>(std::ceil(dx - 0.5));
}

}  // namespace

bool Region::Contains(int x, int y) const
{
    return std::any_of(rects.begin(), rects.end(), [&](const Rect& rect) { return rect.Contains(x, y); });
}

Region RoundRectRegion(const Rect& rect, int ellipseWidth, int ellipseHeight)
{
    Region region;
    const int width = rect.Width();
    const int height = rect.Height();
    if (width <= 0 || height <= 0)
        return region;
    const double rx = std::min(ellipseWidth, width) / 2.0;
    const double ry = std::min(ellipseHeight, height) / 2.0;
    if (rx <= 0 || ry <= 0) {
        region.rects.push_back(rect);
        return region;
    }
    for (int row = 0; row < height; ++row) {
        const int inset = RoundRectInset(row, height, rx, ry);
        const Rect line{rect.left + inset, rect.top + row, rect.right - inset, rect.top + row + 1};
        if (line.left >= line.right)
            continue;
        Rect* last = region.rects.empty() ? nullptr : &region.rects.back();
        if (last && last->left == line.left && last->right == line.right && last->bottom == line.top)
            last->bottom = line.bottom;
        else
            region.rects.push_back(line);
    }
    return region;
}

// ---- windows ----

WindowId WindowSystemCore::CreateWindow(const WindowOptions& options, MessageHandler handler)
{
    const WindowId id{++lastWindowId_};
    Window record;
    record.options = options;
    record.options.rect = Normalised(options.rect);
    record.handler = std::make_shared<MessageHandler>(std::move(handler));
    const WindowOptions& stored = windows_.emplace(id, std::move(record)).first->second.options;
    if (!NativeCreate(id, stored)) {
        windows_.erase(id);
        return WindowId::None;
    }
    if (SendMessage(id, WM_CREATE, 0, 0) == -1) {
        DestroyWindow(id);
        return WindowId::None;
    }
    const Rect rect = GetWindowRect(id);
    SendMessage(id, WM_SIZE, 0, MakeLParam(rect.Width(), rect.Height()));
    return IsWindow(id) ? id : WindowId::None;
}

void WindowSystemCore::DestroyWindow(WindowId window)
{
    Window* record = Find(window);
    if (!record || record->destroying)
        return;
    record->destroying = true;
    std::vector<WindowId> owned;
    for (const auto& [id, other] : windows_) {
        if (other.options.owner == window)
            owned.push_back(id);
    }
    for (WindowId id : owned)
        DestroyWindow(id);
    PassFocusFrom(window);
    if (capture_ == window)
        ReleaseCapture();
    if (tracking_.window == window)
        EndTracking();
    if (pointerWindow_ == window)
        pointerWindow_ = WindowId::None;
    if (lastMove_.window == window)
        lastMove_ = {};
    SendMessage(window, WM_DESTROY, 0, 0);
    NativeDestroy(window);
    SendMessage(window, WM_NCDESTROY, 0, 0);
    std::vector<uint64_t> serials;
    for (const auto& [serial, timer] : timers_) {
        if (timer.window == window)
            serials.push_back(serial);
    }
    for (uint64_t serial : serials)
        StopTimer(serial);
    DropQueued(window, 0);
    windows_.erase(window);
}

void WindowSystemCore::DestroyAllWindows()
{
    std::vector<WindowId> ids;
    for (const auto& entry : windows_)
        ids.push_back(entry.first);
    for (WindowId id : ids)
        DestroyWindow(id);
}

bool WindowSystemCore::IsWindow(WindowId window) const { return Find(window) != nullptr; }

void WindowSystemCore::ShowWindow(WindowId window, bool show, bool activate)
{
    Window* record = Find(window);
    if (!record)
        return;
    const bool takesFocus = show && activate && record->options.kind != WindowKind::Tooltip;
    if (show && !record->visible)
        record->dirty = true;
    record->visible = show;
    if (show && activate)
        record->minimized = false;
    NativeShow(window, show, takesFocus);
    if (takesFocus)
        SetFocus(window);
    else if (!show)
        PassFocusFrom(window);
}

void WindowSystemCore::MinimizeWindow(WindowId window)
{
    Window* record = Find(window);
    if (!record || !record->visible || record->minimized)
        return;
    record->minimized = true;
    NativeMinimize(window);
    PassFocusFrom(window);
}

bool WindowSystemCore::IsMinimized(WindowId window) const
{
    const Window* record = Find(window);
    return record && record->minimized;
}

void WindowSystemCore::OnMinimized(WindowId window, bool minimized)
{
    Window* record = Find(window);
    if (!record)
        return;
    record->minimized = minimized;
    if (!minimized)
        record->dirty = true;
}

bool WindowSystemCore::IsWindowVisible(WindowId window) const
{
    const Window* record = Find(window);
    return record && record->visible;
}

void WindowSystemCore::MoveWindow(WindowId window, const Rect& rect)
{
    Window* record = Find(window);
    if (!record)
        return;
    const Rect old = record->options.rect;
    record->options.rect = Normalised(rect);
    NativeMove(window, record->options.rect);
    ApplyResize(window, old);
}

Rect WindowSystemCore::GetWindowRect(WindowId window) const
{
    const Window* record = Find(window);
    return record ? record->options.rect : Rect{};
}

void WindowSystemCore::SetWindowRegion(WindowId window, std::optional<Region> region)
{
    Window* record = Find(window);
    if (!record)
        return;
    record->region = std::move(region);
    record->dirty = true;
    const Rect& rect = record->options.rect;
    NativeRegion(window, record->region ? &*record->region : nullptr, rect.Width(), rect.Height());
}

bool WindowSystemCore::SetWindowOpacity(WindowId window, uint8_t alpha)
{
    Window* record = Find(window);
    if (!record)
        return false;
    record->opacity = alpha;
    return NativeOpacity(window, alpha);
}

int WindowSystemCore::OpacityOf(WindowId window) const
{
    const Window* record = Find(window);
    return record ? record->opacity : -1;
}

void WindowSystemCore::Invalidate(WindowId window)
{
    if (Window* record = Find(window))
        record->dirty = true;
}

const WindowOptions* WindowSystemCore::OptionsOf(WindowId window) const
{
    const Window* record = Find(window);
    return record ? &record->options : nullptr;
}

const Region* WindowSystemCore::RegionOf(WindowId window) const
{
    const Window* record = Find(window);
    return record && record->region ? &*record->region : nullptr;
}

WindowSystemCore::Window* WindowSystemCore::Find(WindowId window)
{
    auto it = windows_.find(window);
    return it == windows_.end() ? nullptr : &it->second;
}

const WindowSystemCore::Window* WindowSystemCore::Find(WindowId window) const
{
    auto it = windows_.find(window);
    return it == windows_.end() ? nullptr : &it->second;
}

// Reacts to a rectangle that changed from `old`: new region mask and a paint
// for a new size, then WM_MOVE and WM_SIZE.
void WindowSystemCore::ApplyResize(WindowId window, const Rect& old)
{
    Window* record = Find(window);
    const Rect now = record->options.rect;
    const bool moved = now.left != old.left || now.top != old.top;
    const bool resized = now.Width() != old.Width() || now.Height() != old.Height();
    if (resized) {
        record->dirty = true;
        NativeRegion(window, record->region ? &*record->region : nullptr, now.Width(), now.Height());
    }
    if (moved)
        SendMessage(window, WM_MOVE, 0, MakeLParam(now.left, now.top));
    if (resized)
        SendMessage(window, WM_SIZE, 0, MakeLParam(now.Width(), now.Height()));
}

void WindowSystemCore::OnMoved(WindowId window, int x, int y)
{
    Window* record = Find(window);
    if (!record)
        return;
    const Rect old = record->options.rect;
    record->options.rect = {x, y, x + old.Width(), y + old.Height()};
    ApplyResize(window, old);
}

void WindowSystemCore::OnResized(WindowId window, int width, int height)
{
    Window* record = Find(window);
    if (!record)
        return;
    const Rect old = record->options.rect;
    record->options.rect = {old.left, old.top, old.left + std::max(width, 0), old.top + std::max(height, 0)};
    ApplyResize(window, old);
}

// ---- messages ----

intptr_t WindowSystemCore::Call(const Message& message)
{
    const Window* record = Find(message.window);
    if (!record || !*record->handler)
        return 0;
    // A copy keeps the handler alive when it destroys its own window.
    const std::shared_ptr<MessageHandler> handler = record->handler;
    const intptr_t result = (*handler)(message);
    if (message.message == WM_SETCURSOR && result == 0)
        SetCursor(Cursor::Arrow);
    return result;
}

intptr_t WindowSystemCore::SendMessage(WindowId window, unsigned message, uintptr_t wParam, intptr_t lParam)
{
    return Call({window, message, wParam, lParam, NowMs()});
}

intptr_t WindowSystemCore::DispatchMessage(const Message& message) { return Call(message); }

bool WindowSystemCore::PostMessage(WindowId window, unsigned message, uintptr_t wParam, intptr_t lParam)
{
    Enqueue({window, message, wParam, lParam, 0});
    return true;
}

void WindowSystemCore::Enqueue(const Message& message, uint64_t timerSerial)
{
    Queued queued{message, timerSerial};
    if (queued.message.time == 0)
        queued.message.time = NowMs();
    std::lock_guard lock(queueMutex_);
    queue_.push_back(queued);
}

bool WindowSystemCore::PopQueued(Message& message)
{
    for (;;) {
        Queued next;
        {
            std::lock_guard lock(queueMutex_);
            if (queue_.empty())
                return false;
            next = queue_.front();
            queue_.pop_front();
        }
        if (next.timerSerial != 0) {
            auto it = timers_.find(next.timerSerial);
            if (it == timers_.end())
                continue;
            it->second.waiting = false;
        }
        // Posted from another thread, possibly to a window gone since.
        if (next.message.window != WindowId::None && !IsWindow(next.message.window))
            continue;
        message = next.message;
        return true;
    }
}

void WindowSystemCore::DropQueued(WindowId window, uint64_t timerSerial)
{
    std::lock_guard lock(queueMutex_);
    std::erase_if(queue_, [&](const Queued& queued) {
        return (window != WindowId::None && queued.message.window == window) ||
               (timerSerial != 0 && queued.timerSerial == timerSerial);
    });
}

bool WindowSystemCore::NextPaint(Message& message)
{
    for (auto& [id, record] : windows_) {
        if (record.visible && record.dirty && !record.destroying) {
            record.dirty = false;
            message = {id, WM_PAINT, 0, 0, NowMs()};
            return true;
        }
    }
    return false;
}

bool WindowSystemCore::GetMessage(Message& message)
{
    for (;;) {
        if (PopQueued(message) || (PumpEvents(false) && PopQueued(message)))
            return true;
        if (quitPending_) {
            quitPending_ = false;
            message = {WindowId::None, WM_QUIT, static_cast<uintptr_t>(static_cast<intptr_t>(exitCode_)), 0, NowMs()};
            return false;
        }
        if (NextPaint(message))
            return true;
        if (!PumpEvents(true)) {
            message = {WindowId::None, WM_NULL, 0, 0, NowMs()};
            return false;
        }
    }
}

bool WindowSystemCore::PeekMessage(Message& message)
{
    return PopQueued(message) || (PumpEvents(false) && PopQueued(message)) || NextPaint(message);
}

void WindowSystemCore::PostQuitMessage(int exitCode)
{
    quitPending_ = true;
    exitCode_ = exitCode;
}

// ---- timers ----

bool WindowSystemCore::SetTimer(WindowId window, uintptr_t id, unsigned intervalMs)
{
    if (!IsWindow(window))
        return false;
    KillTimer(window, id);
    StartTimer(window, id, std::max(intervalMs, kMinTimerMs), false);
    return true;
}

bool WindowSystemCore::KillTimer(WindowId window, uintptr_t id)
{
    for (const auto& [serial, timer] : timers_) {
        if (!timer.hover && timer.window == window && timer.id == id) {
            StopTimer(serial);
            return true;
        }
    }
    return false;
}

uint64_t WindowSystemCore::StartTimer(WindowId window, uintptr_t id, unsigned intervalMs, bool hover)
{
    const uint64_t serial = ++gLastTimerSerial;
    timers_[serial] = {window, id, hover, false};
    StartNativeTimer(serial, intervalMs);
    return serial;
}

void WindowSystemCore::StopTimer(uint64_t serial)
{
    StopNativeTimer(serial);
    DropQueued(WindowId::None, serial);
    timers_.erase(serial);
}

void WindowSystemCore::OnTimer(uint64_t serial)
{
    auto it = timers_.find(serial);
    if (it == timers_.end() || it->second.waiting)
        return;
    if (!it->second.hover) {
        it->second.waiting = true;
        Enqueue({it->second.window, WM_TIMER, it->second.id, 0, 0}, serial);
        return;
    }
    const WindowId window = tracking_.window;
    StopTimer(serial);
    tracking_.hoverSerial = 0;
    const LastMove at = lastMove_.window == window ? lastMove_ : LastMove{};
    Enqueue({window, WM_MOUSEHOVER, at.flags, MakeLParam(at.x, at.y), 0});
}

// ---- mouse ----

void WindowSystemCore::TrackMouse(WindowId window, unsigned hoverMs)
{
    if (!IsWindow(window))
        return;
    EndTracking();
    tracking_ = {window, hoverMs, hoverMs ? StartTimer(window, 0, hoverMs, true) : 0};
}

void WindowSystemCore::RestartHover()
{
    if (tracking_.hoverSerial == 0)
        return;
    StopTimer(tracking_.hoverSerial);
    tracking_.hoverSerial = StartTimer(tracking_.window, 0, tracking_.hoverMs, true);
}

void WindowSystemCore::EndTracking()
{
    if (tracking_.hoverSerial != 0)
        StopTimer(tracking_.hoverSerial);
    tracking_ = {};
}

void WindowSystemCore::SetCapture(WindowId window)
{
    if (!IsWindow(window))
        return;
    capture_ = window;
    NativeCapture(true);
}

void WindowSystemCore::ReleaseCapture()
{
    if (capture_ == WindowId::None)
        return;
    capture_ = WindowId::None;
    NativeCapture(false);
}

void WindowSystemCore::TrackButtons(unsigned message)
{
    for (const ButtonRow& row : kButtons) {
        if (message == row.down || message == row.doubleClick)
            keysDown_.insert(row.virtualKey);
        else if (message == row.up)
            keysDown_.erase(row.virtualKey);
    }
}

unsigned WindowSystemCore::MouseFlagsAfter(unsigned message) const
{
    unsigned flags = 0;
    for (const ButtonRow& row : kButtons) {
        const bool held = message == row.down || message == row.doubleClick ||
                          (message != row.up && IsKeyDown(row.virtualKey));
        flags |= held ? row.flag : 0;
    }
    flags |= IsKeyDown(VK_SHIFT) ? MK_SHIFT : 0;
    flags |= IsKeyDown(VK_CONTROL) ? MK_CONTROL : 0;
    return flags;
}

void WindowSystemCore::OnMouse(WindowId window, unsigned message, int x, int y, unsigned flags)
{
    const Window* record = Find(window);
    if (!record)
        return;
    // Outside the region the pointer is over whatever lies below.
    if (capture_ == WindowId::None && record->region && !record->region->Contains(x, y))
        return;
    const bool takesFocus = record->options.kind != WindowKind::Tooltip;
    if (message == WM_MOUSEMOVE && pointerWindow_ != window) {
        if (pointerWindow_ != WindowId::None)
            OnMouseLeave(pointerWindow_);
        pointerWindow_ = window;
    }
    if (IsButtonDown(message) && takesFocus)
        SetFocus(window);
    TrackButtons(message);
    WindowId target = window;
    if (capture_ != WindowId::None && capture_ != window) {
        const Rect from = GetWindowRect(window);
        const Rect to = GetWindowRect(capture_);
        x += from.left - to.left;
        y += from.top - to.top;
        target = capture_;
    }
    if (message == WM_MOUSEMOVE) {
        if (capture_ == WindowId::None)
            Enqueue({target, WM_SETCURSOR, Arg(target), MakeLParam(HTCLIENT, WM_MOUSEMOVE), 0});
        lastMove_ = {target, x, y, flags};
        if (tracking_.window == target)
            RestartHover();
    }
    Enqueue({target, message, flags, MakeLParam(x, y), 0});
    if (message == WM_RBUTTONUP) {
        const Rect rect = GetWindowRect(target);
        Enqueue({target, WM_CONTEXTMENU, Arg(target), MakeLParam(rect.left + x, rect.top + y), 0});
    }
}

void WindowSystemCore::OnWheel(WindowId window, int x, int y, int delta, unsigned flags)
{
    if (!IsWindow(window))
        return;
    const WindowId target = capture_ != WindowId::None ? capture_ : window;
    const Rect rect = GetWindowRect(window);
    const uintptr_t wParam = (flags & 0xFFFF) | (static_cast<uintptr_t>(static_cast<uint16_t>(delta)) << 16);
    Enqueue({target, WM_MOUSEWHEEL, wParam, MakeLParam(rect.left + x, rect.top + y), 0});
}

void WindowSystemCore::OnMouseLeave(WindowId window)
{
    if (pointerWindow_ == window)
        pointerWindow_ = WindowId::None;
    if (tracking_.window != window || window == WindowId::None)
        return;
    EndTracking();
    Enqueue({window, WM_MOUSELEAVE, 0, 0, 0});
}

// ---- keyboard and focus ----

void WindowSystemCore::OnKey(WindowId window, int virtualKey, bool down, bool rightHand)
{
    const bool wasDown = IsKeyDown(virtualKey);
    const bool alt = virtualKey == VK_MENU || IsKeyDown(VK_MENU);
    const int sideCode = SideCodeOf(virtualKey, rightHand);
    if (down) {
        keysDown_.insert(virtualKey);
        if (sideCode != 0)
            keysDown_.insert(sideCode);
    } else {
        keysDown_.erase(sideCode);
        // The same key on the other side may still be held.
        const int otherSide = SideCodeOf(virtualKey, !rightHand);
        if (otherSide == 0 || !keysDown_.contains(otherSide))
            keysDown_.erase(virtualKey);
    }
    const bool ctrl = IsKeyDown(VK_CONTROL);
    const WindowId target = focus_ != WindowId::None ? focus_ : window;
    if (!IsWindow(target))
        return;
    const bool sys = (alt && !ctrl) || virtualKey == VK_F10;
    const unsigned message = down ? (sys ? WM_SYSKEYDOWN : WM_KEYDOWN) : (sys ? WM_SYSKEYUP : WM_KEYUP);
    const intptr_t lParam = 1 | (rightHand ? intptr_t{1} << 24 : 0) | (alt ? intptr_t{1} << 29 : 0) |
                            (wasDown ? intptr_t{1} << 30 : 0) | (down ? 0 : intptr_t{1} << 31);
    Enqueue({target, message, static_cast<uintptr_t>(virtualKey), lParam, 0});
    if (!down)
        return;
    const auto [charMessage, unit] = CharForKey(virtualKey, ctrl, alt);
    if (charMessage != WM_NULL)
        Enqueue({target, charMessage, unit, 1, 0});
}

void WindowSystemCore::OnComposition(WindowId window, const Composition& composition)
{
    const WindowId target = focus_ != WindowId::None ? focus_ : window;
    if (!IsWindow(target) || composition == composition_)
        return;
    composition_ = composition;
    Enqueue({target, WM_IME_COMPOSITION, 0, 0, 0});
}

void WindowSystemCore::OnText(WindowId window, std::u16string_view units)
{
    const WindowId target = focus_ != WindowId::None ? focus_ : window;
    if (!IsWindow(target))
        return;
    if (!composition_.text.empty())
        OnComposition(window, {});
    // Alt+letter or digit was a WM_SYSCHAR already, control characters come
    // from key downs (see OnKey).
    const bool alt = IsKeyDown(VK_MENU) && !IsKeyDown(VK_CONTROL);
    for (char16_t unit : units) {
        const bool fromKey = unit < 0x20 || unit == 0x7F || (alt && unit < 0x80 && std::isalnum(unit));
        if (!fromKey)
            Enqueue({target, WM_CHAR, unit, 1, 0});
    }
}

void WindowSystemCore::SetFocus(WindowId window)
{
    if (window == focus_)
        return;
    if (window != WindowId::None) {
        const Window* record = Find(window);
        if (!record || record->destroying || record->options.kind == WindowKind::Tooltip)
            return;
    }
    const WindowId old = focus_;
    focus_ = window;
    if (old != WindowId::None)
        SendMessage(old, WM_KILLFOCUS, Arg(window), 0);
    if (window != WindowId::None && focus_ == window)
        SendMessage(window, WM_SETFOCUS, Arg(old), 0);
}

// A window that is hidden or destroyed passes the focus to its owner.
void WindowSystemCore::PassFocusFrom(WindowId window)
{
    if (focus_ != window)
        return;
    const WindowId ownerId = Find(window)->options.owner;
    const Window* owner = Find(ownerId);
    SetFocus(owner && owner->visible && !owner->destroying ? ownerId : WindowId::None);
}

// The focus is on `window` or on a pop-up (of a pop-up …) it owns.
bool WindowSystemCore::FocusBelongsTo(WindowId window) const
{
    for (WindowId at = focus_; at != WindowId::None;) {
        if (at == window)
            return true;
        const Window* record = Find(at);
        if (!record || record->options.kind == WindowKind::Normal)
            return false;
        at = record->options.owner;
    }
    return false;
}

void WindowSystemCore::OnDesktopFocus(WindowId window, bool gained)
{
    if (!IsWindow(window))
        return;
    // Keys released while another program had the focus never reach us.
    if (!gained)
        std::erase_if(keysDown_, [](int key) { return key != VK_LBUTTON && key != VK_RBUTTON && key != VK_MBUTTON; });
    if (gained && !FocusBelongsTo(window))
        SetFocus(window);
    else if (!gained && FocusBelongsTo(window))
        SetFocus(WindowId::None);
}

}  // namespace platform
