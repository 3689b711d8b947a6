// Native windows, their messages, timers, cursor, message boxes and the
// message loop.
//
// The UI framework is written against window messages with the numbers and
// argument meanings of the Windows desktop, so that its message handling reads
// like the code it models. Two backends implement this interface on top of a
// common core (WindowSystemCore): SdlWindowSystem shows real windows through
// SDL2, HeadlessWindowSystem keeps windows offscreen and takes injected input
// and virtual time (tests, rendering without a display).
//
// Everything except PostMessage runs on the one user-interface thread.
//
// Our windows have no frame: the client area is the whole window, so a
// client point plus the window's screen origin is its screen point.
//
// Message arguments
//   mouse messages (WM_MOUSEMOVE, buttons, WM_MOUSEHOVER): lParam = x | y << 16
//     in client coordinates (signed 16-bit each, negative while captured
//     outside), wParam = MK_* flags after the event.
//   WM_MOUSEWHEEL: wParam = MK_* flags | delta << 16 (signed, 120 per notch,
//     positive away from the user), lParam = x | y << 16 in SCREEN coordinates.
//   WM_CONTEXTMENU (follows WM_RBUTTONUP): wParam = window, lParam = screen
//     x | y << 16.
//   WM_SETCURSOR (comes before each WM_MOUSEMOVE while nothing is captured):
//     wParam = window, lParam = HTCLIENT | WM_MOUSEMOVE << 16; a handler that
//     sets no cursor returns 0 and the arrow is shown.
//   WM_KEYDOWN/UP, WM_SYSKEYDOWN/UP: wParam = virtual-key code (VK_*, letters
//     and digits are their upper-case ASCII code); lParam = repeat count 1,
//     bit 24 the right-hand Shift, Ctrl or Alt or the keypad Enter, bit 29
//     Alt held, bit 30 key was already down, bit 31 key released. While such
//     a key is held, IsKeyDown also reports its own code (VK_LSHIFT ..
//     VK_RMENU; VK_SEPARATOR for the keypad Enter) beside the shared one.
//     "Sys" keys are those pressed with Alt (without Ctrl), and F10.
//   WM_CHAR: wParam = one UTF-16 unit of typed text (two messages for a
//     surrogate pair). Key downs of Back, Tab, Return and Escape are followed
//     by WM_CHAR 8, 9, 13, 27; Ctrl+letter by WM_CHAR 1..26.
//   WM_SYSCHAR: Alt+letter or digit, wParam = the lower-case character.
//   WM_IME_COMPOSITION: the input method's pending (not yet committed) text
//     changed; GetCompositionText reads it (empty: the composition ended).
//     wParam and lParam 0. Committed text follows as WM_CHAR.
//   WM_SETFOCUS / WM_KILLFOCUS: wParam = the window that lost / gains it.
//   WM_SIZE: wParam 0, lParam = width | height << 16.
//   WM_MOVE: wParam 0, lParam = screen x | y << 16 of the window.
//   WM_TIMER: wParam = timer id, lParam 0.
//   WM_QUIT: wParam = exit code.
//
// Delivery order of GetMessage: queued messages (posted, input, timers) in
// order; then WM_QUIT; then one WM_PAINT per invalidated visible window.
// A timer never has more than one WM_TIMER waiting.
//
// Keyboard focus: one of our windows (or none) has it. Showing a window with
// activation, SetFocus, or a button press in a window that is not a tooltip
// gives it the focus; a hidden or destroyed window passes it to its owner.
// WM_KILLFOCUS and WM_SETFOCUS are sent at once, not queued. Key and text
// messages go to the window with the focus. Pop-ups take our focus without
// the desktop's: their keys arrive through the owner, and they lose it when
// the owner is clicked or another program takes the focus (keys held then
// count as released).
#pragma once

#include "platform/painter.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace platform {

// Opaque window handle; WindowId::None is "no window".
enum class WindowId : uint32_t { None = 0 };

// clang-format off
inline constexpr unsigned WM_NULL          = 0x0000;
inline constexpr unsigned WM_CREATE        = 0x0001;  // sent by CreateWindow; return -1 to fail it
inline constexpr unsigned WM_DESTROY       = 0x0002;
inline constexpr unsigned WM_MOVE          = 0x0003;
inline constexpr unsigned WM_SIZE          = 0x0005;
inline constexpr unsigned WM_SETFOCUS      = 0x0007;
inline constexpr unsigned WM_KILLFOCUS     = 0x0008;
inline constexpr unsigned WM_PAINT         = 0x000F;
inline constexpr unsigned WM_CLOSE         = 0x0010;  // the user asks to close; the handler decides
inline constexpr unsigned WM_QUIT          = 0x0012;
inline constexpr unsigned WM_SETCURSOR     = 0x0020;
inline constexpr unsigned WM_CONTEXTMENU   = 0x007B;
inline constexpr unsigned WM_NCDESTROY     = 0x0082;  // the last message a window receives
inline constexpr unsigned WM_KEYDOWN       = 0x0100;
inline constexpr unsigned WM_KEYUP         = 0x0101;
inline constexpr unsigned WM_CHAR          = 0x0102;
inline constexpr unsigned WM_SYSKEYDOWN    = 0x0104;
inline constexpr unsigned WM_SYSKEYUP      = 0x0105;
inline constexpr unsigned WM_SYSCHAR       = 0x0106;
inline constexpr unsigned WM_IME_COMPOSITION = 0x010F;
inline constexpr unsigned WM_COMMAND       = 0x0111;  // wParam = command id (menus)
inline constexpr unsigned WM_TIMER         = 0x0113;
inline constexpr unsigned WM_MOUSEMOVE     = 0x0200;
inline constexpr unsigned WM_LBUTTONDOWN   = 0x0201;
inline constexpr unsigned WM_LBUTTONUP     = 0x0202;
inline constexpr unsigned WM_LBUTTONDBLCLK = 0x0203;
inline constexpr unsigned WM_RBUTTONDOWN   = 0x0204;
inline constexpr unsigned WM_RBUTTONUP     = 0x0205;
inline constexpr unsigned WM_RBUTTONDBLCLK = 0x0206;
inline constexpr unsigned WM_MBUTTONDOWN   = 0x0207;
inline constexpr unsigned WM_MBUTTONUP     = 0x0208;
inline constexpr unsigned WM_MBUTTONDBLCLK = 0x0209;
inline constexpr unsigned WM_MOUSEWHEEL    = 0x020A;
inline constexpr unsigned WM_XBUTTONDOWN   = 0x020B;
inline constexpr unsigned WM_XBUTTONUP     = 0x020C;
inline constexpr unsigned WM_MOUSEHOVER    = 0x02A1;
inline constexpr unsigned WM_MOUSELEAVE    = 0x02A3;
inline constexpr unsigned WM_USER          = 0x0400;
inline constexpr unsigned WM_APP           = 0x8000;

inline constexpr unsigned HTCLIENT = 1;

// Mouse message flags (wParam).
inline constexpr unsigned MK_LBUTTON = 0x0001;
inline constexpr unsigned MK_RBUTTON = 0x0002;
inline constexpr unsigned MK_SHIFT   = 0x0004;
inline constexpr unsigned MK_CONTROL = 0x0008;
inline constexpr unsigned MK_MBUTTON = 0x0010;

inline constexpr int WHEEL_DELTA = 120;

// The extra button of WM_XBUTTONDOWN/UP (high word of wParam).
inline constexpr unsigned XBUTTON1 = 1;  // back
inline constexpr unsigned XBUTTON2 = 2;  // forward

// Virtual-key codes (letters and digits: 'A'..'Z', '0'..'9').
inline constexpr int VK_LBUTTON = 0x01, VK_RBUTTON = 0x02, VK_MBUTTON = 0x04;
inline constexpr int VK_BACK = 0x08, VK_TAB = 0x09, VK_CLEAR = 0x0C, VK_RETURN = 0x0D;
inline constexpr int VK_SHIFT = 0x10, VK_CONTROL = 0x11, VK_MENU = 0x12, VK_PAUSE = 0x13, VK_CAPITAL = 0x14;
inline constexpr int VK_ESCAPE = 0x1B, VK_SPACE = 0x20, VK_PRIOR = 0x21, VK_NEXT = 0x22;
inline constexpr int VK_END = 0x23, VK_HOME = 0x24, VK_LEFT = 0x25, VK_UP = 0x26, VK_RIGHT = 0x27, VK_DOWN = 0x28;
inline constexpr int VK_SELECT = 0x29, VK_EXECUTE = 0x2B, VK_SNAPSHOT = 0x2C, VK_INSERT = 0x2D, VK_DELETE = 0x2E, VK_HELP = 0x2F;
inline constexpr int VK_LWIN = 0x5B, VK_RWIN = 0x5C, VK_APPS = 0x5D;
inline constexpr int VK_NUMPAD0 = 0x60, VK_MULTIPLY = 0x6A, VK_ADD = 0x6B, VK_SEPARATOR = 0x6C, VK_SUBTRACT = 0x6D;
inline constexpr int VK_DECIMAL = 0x6E, VK_DIVIDE = 0x6F, VK_F1 = 0x70, VK_F10 = 0x79, VK_F13 = 0x7C;
inline constexpr int VK_NUMLOCK = 0x90, VK_SCROLL = 0x91;
inline constexpr int VK_LSHIFT = 0xA0, VK_RSHIFT = 0xA1, VK_LCONTROL = 0xA2, VK_RCONTROL = 0xA3;
inline constexpr int VK_LMENU = 0xA4, VK_RMENU = 0xA5;
inline constexpr int VK_VOLUME_MUTE = 0xAD, VK_VOLUME_DOWN = 0xAE, VK_VOLUME_UP = 0xAF;
inline constexpr int VK_MEDIA_NEXT_TRACK = 0xB0, VK_MEDIA_PREV_TRACK = 0xB1, VK_MEDIA_STOP = 0xB2, VK_MEDIA_PLAY_PAUSE = 0xB3;
inline constexpr int VK_OEM_1 = 0xBA, VK_OEM_PLUS = 0xBB, VK_OEM_COMMA = 0xBC, VK_OEM_MINUS = 0xBD;
inline constexpr int VK_OEM_PERIOD = 0xBE, VK_OEM_2 = 0xBF, VK_OEM_3 = 0xC0;
inline constexpr int VK_OEM_4 = 0xDB, VK_OEM_5 = 0xDC, VK_OEM_6 = 0xDD, VK_OEM_7 = 0xDE;

// Message boxes: flags and answers.
inline constexpr unsigned MB_OK = 0x00, MB_OKCANCEL = 0x01;
inline constexpr unsigned MB_ICONERROR = 0x10, MB_ICONQUESTION = 0x20, MB_ICONWARNING = 0x30, MB_ICONINFORMATION = 0x40;
inline constexpr unsigned MB_SYSTEMMODAL = 0x1000;  // above every window of the desktop
inline constexpr int IDOK = 1, IDCANCEL = 2;
// clang-format on

// Packing of two signed 16-bit coordinates into lParam, and back.
inline constexpr intptr_t MakeLParam(int low, int high)
{
    return static_cast<intptr_t>((static_cast<uint32_t>(low) & 0xFFFF) | (static_cast<uint32_t>(high) & 0xFFFF) << 16);
}
inline constexpr int LowSigned(intptr_t value) { return static_cast<int16_t>(value & 0xFFFF); }
inline constexpr int HighSigned(intptr_t value) { return static_cast<int16_t>((value >> 16) & 0xFFFF); }

struct Rect {
    int left = 0;
    int top = 0;
    int right = 0;  // exclusive
    int bottom = 0;  // exclusive
    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    bool Contains(int x, int y) const { return x >= left && x < right && y >= top && y < bottom; }
    friend bool operator==(const Rect&, const Rect&) = default;
};

// A window region in client coordinates: the union of its rectangles. Only
// the pixels inside it are shown and receive the mouse.
struct Region {
    std::vector<Rect> rects;
    bool Contains(int x, int y) const;
};

// A rectangle with corners rounded by an ellipse of the given width and
// height; a pixel is inside when its centre is.
Region RoundRectRegion(const Rect& rect, int ellipseWidth, int ellipseHeight);

struct Message {
    WindowId window = WindowId::None;
    unsigned message = WM_NULL;
    uintptr_t wParam = 0;
    intptr_t lParam = 0;
    uint64_t time = 0;  // milliseconds, monotonic
};

using MessageHandler = std::function<intptr_t(const Message&)>;

enum class WindowKind {
    Normal,  // an ordinary top-level window
    Popup,   // a menu or drop-down list: no task-bar entry, does not take the desktop's focus
    Tooltip,  // like a pop-up, and never takes the focus at all
};

struct WindowOptions {
    std::string title;  // UTF-8
    Rect rect;  // screen coordinates
    WindowId owner = WindowId::None;  // stays above its owner and is destroyed with it
    WindowKind kind = WindowKind::Normal;
    bool toolWindow = false;  // no task-bar entry
    bool topmost = false;  // above all normal windows
};

// The input method's pending text (UTF-8) and where its cursor stands in it,
// counted in characters (code points) from the start.
struct Composition {
    std::string text;
    int cursor = 0;
    friend bool operator==(const Composition&, const Composition&) = default;
};

enum class Cursor { Arrow, Hand, IBeam, Wait, SizeWE, SizeNS, SizeNWSE, SizeNESW, SizeAll, No };

class WindowSystem {
public:
    virtual ~WindowSystem() = default;

    // Creates a hidden window with its handler, then sends it WM_CREATE and
    // WM_SIZE. None when the platform refuses it or WM_CREATE returns -1.
    virtual WindowId CreateWindow(const WindowOptions& options, MessageHandler handler) = 0;
    // Destroys owned windows first, then sends WM_DESTROY and WM_NCDESTROY;
    // messages still queued for the window are dropped.
    virtual void DestroyWindow(WindowId window) = 0;
    virtual bool IsWindow(WindowId window) const = 0;

    // Hides; or shows, giving it the focus when `activate`.
    virtual void ShowWindow(WindowId window, bool show, bool activate) = 0;
    virtual bool IsWindowVisible(WindowId window) const = 0;
    // Iconifies the window to the desktop's task bar. It still counts as
    // visible; the user restores it, or ShowWindow with `activate` does.
    virtual void MinimizeWindow(WindowId window) = 0;
    virtual bool IsMinimized(WindowId window) const = 0;
    // Moves and sizes (screen coordinates); a new position sends WM_MOVE and a
    // new size WM_SIZE, at once.
    virtual void MoveWindow(WindowId window, const Rect& rect) = 0;
    virtual Rect GetWindowRect(WindowId window) const = 0;
    // nullopt: the whole rectangle. Kept when the window is resized.
    virtual void SetWindowRegion(WindowId window, std::optional<Region> region) = 0;
    // The window's opacity, 0 (transparent) to 255 (opaque). False when the
    // window does not exist or the desktop cannot show it (the window stays
    // opaque then).
    virtual bool SetWindowOpacity(WindowId window, uint8_t alpha) = 0;
    // The usable area (without panels and task bars) of the monitor that shows
    // the window, or of the primary monitor for None.
    virtual Rect GetWorkArea(WindowId window) const = 0;

    // The window will get a WM_PAINT; it answers by calling Present.
    virtual void Invalidate(WindowId window) = 0;
    // Shows a frame: `stride` bytes per row of premultiplied ARGB pixels
    // (0xAARRGGBB in native byte order, as a Cairo ARGB32 surface).
    virtual void Present(WindowId window, const uint32_t* pixels, int width, int height, int stride) = 0;
    // A surface of that size to draw a frame on, in the layout Present takes.
    virtual std::unique_ptr<Painter> CreatePainter(int width, int height) = 0;

    // Calls the window's handler now; 0 when the window does not exist.
    virtual intptr_t SendMessage(WindowId window, unsigned message, uintptr_t wParam, intptr_t lParam) = 0;
    // Queues a message; safe from any thread. A message for None is returned
    // by GetMessage and dispatched to nobody; one for a window that is gone
    // by then is dropped.
    virtual bool PostMessage(WindowId window, unsigned message, uintptr_t wParam, intptr_t lParam) = 0;
    // Waits for the next message. False for WM_QUIT, and in a headless system
    // when nothing is left to deliver (message WM_NULL).
    virtual bool GetMessage(Message& message) = 0;
    // Takes the next message without waiting: queued messages and native
    // events already waiting, then one WM_PAINT of an invalidated window.
    // False when nothing is waiting. Never takes WM_QUIT, which stays
    // pending for GetMessage.
    virtual bool PeekMessage(Message& message) = 0;
    // Calls the handler of the message's window; 0 when there is none.
    virtual intptr_t DispatchMessage(const Message& message) = 0;
    virtual void PostQuitMessage(int exitCode) = 0;

    // Starts or restarts (same window and id) a repeating WM_TIMER; intervals
    // under 10 ms run at 10 ms.
    virtual bool SetTimer(WindowId window, uintptr_t id, unsigned intervalMs) = 0;
    // Also drops the timer's WM_TIMER if one is waiting.
    virtual bool KillTimer(WindowId window, uintptr_t id) = 0;

    // Asks for one WM_MOUSEHOVER when the pointer rests `hoverMs` in the
    // window (0: none) and one WM_MOUSELEAVE when it leaves it. The hover
    // ends hover tracking, the leave ends both.
    virtual void TrackMouse(WindowId window, unsigned hoverMs) = 0;
    // All mouse messages go to the capturing window, wherever the pointer is.
    virtual void SetCapture(WindowId window) = 0;
    virtual void ReleaseCapture() = 0;
    virtual WindowId GetCapture() const = 0;

    virtual void SetFocus(WindowId window) = 0;
    virtual WindowId GetFocus() const = 0;
    // Whether a key or mouse button (VK_*) is held; VK_SHIFT, VK_CONTROL and
    // VK_MENU stand for either of the two keys.
    virtual bool IsKeyDown(int virtualKey) const = 0;
    // Typed text arrives as WM_CHAR while text input is on. `caret` (client
    // coordinates) is where an input method shows its candidates.
    virtual void StartTextInput(WindowId window, const Rect& caret) = 0;
    virtual void StopTextInput() = 0;
    // The composition the last WM_IME_COMPOSITION announced; empty text when
    // none is pending.
    virtual Composition GetCompositionText() const = 0;

    // The desktop's clipboard as UTF-8 text. Set returns false when the
    // desktop refused it; Get returns "" when it holds no text.
    virtual bool SetClipboardText(const std::string& text) = 0;
    virtual std::string GetClipboardText() = 0;

    virtual void SetCursor(Cursor cursor) = 0;
    // The program's icon for the windows made from now on (the desktop shows
    // it in the task bar and the window switcher): straight (not
    // premultiplied) ARGB pixels, row by row. Backends without icons ignore it.
    virtual void SetProgramIcon(int /*width*/, int /*height*/, std::vector<uint32_t> /*argb*/) {}
    // Modal; MB_OK or MB_OKCANCEL plus an icon. Returns IDOK or IDCANCEL.
    virtual int MessageBox(WindowId owner, const std::string& text, const std::string& caption, unsigned flags) = 0;
};

}  // namespace platform
