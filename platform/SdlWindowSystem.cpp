#include "platform/SdlWindowSystem.h"

#include "platform/CairoPainter.h"
#include "platform/Utf16.h"
#include "platform/X11ErrorFilter.h"

#include <SDL.h>
#include <SDL_shape.h>

#include <algorithm>
#include <cstdio>
#include <atomic>
#include <cmath>
#include <cstdlib>
#include <iterator>
#include <mutex>
#include <optional>
#include <unordered_set>

namespace platform {
namespace {

// ---- tables ----

// SDL events and the message each becomes; `sub` is the mouse button or the
// window event.
struct EventRow {
    uint32_t type;
    int sub;
    unsigned message;
};
constexpr EventRow kEvents[] = {
    {SDL_MOUSEMOTION, 0, WM_MOUSEMOVE},
    {SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT, WM_LBUTTONDOWN},
    {SDL_MOUSEBUTTONUP, SDL_BUTTON_LEFT, WM_LBUTTONUP},
    {SDL_MOUSEBUTTONDOWN, SDL_BUTTON_RIGHT, WM_RBUTTONDOWN},
    {SDL_MOUSEBUTTONUP, SDL_BUTTON_RIGHT, WM_RBUTTONUP},
    {SDL_MOUSEBUTTONDOWN, SDL_BUTTON_MIDDLE, WM_MBUTTONDOWN},
    {SDL_MOUSEBUTTONUP, SDL_BUTTON_MIDDLE, WM_MBUTTONUP},
    {SDL_MOUSEBUTTONDOWN, SDL_BUTTON_X1, WM_XBUTTONDOWN},
    {SDL_MOUSEBUTTONUP, SDL_BUTTON_X1, WM_XBUTTONUP},
    {SDL_MOUSEBUTTONDOWN, SDL_BUTTON_X2, WM_XBUTTONDOWN},
    {SDL_MOUSEBUTTONUP, SDL_BUTTON_X2, WM_XBUTTONUP},
    {SDL_MOUSEWHEEL, 0, WM_MOUSEWHEEL},
    {SDL_KEYDOWN, 0, WM_KEYDOWN},
    {SDL_KEYUP, 0, WM_KEYUP},
    {SDL_TEXTINPUT, 0, WM_CHAR},
    {SDL_TEXTEDITING, 0, WM_IME_COMPOSITION},
    {SDL_WINDOWEVENT, SDL_WINDOWEVENT_EXPOSED, WM_PAINT},
    {SDL_WINDOWEVENT, SDL_WINDOWEVENT_MOVED, WM_MOVE},
    {SDL_WINDOWEVENT, SDL_WINDOWEVENT_SIZE_CHANGED, WM_SIZE},
    {SDL_WINDOWEVENT, SDL_WINDOWEVENT_FOCUS_GAINED, WM_SETFOCUS},
    {SDL_WINDOWEVENT, SDL_WINDOWEVENT_FOCUS_LOST, WM_KILLFOCUS},
    {SDL_WINDOWEVENT, SDL_WINDOWEVENT_LEAVE, WM_MOUSELEAVE},
    {SDL_WINDOWEVENT, SDL_WINDOWEVENT_CLOSE, WM_CLOSE},
};

// Ranges of SDL key codes and the virtual key of the first of each.
struct KeyRow {
    SDL_Keycode first, last;
    int virtualKey;
};
constexpr KeyRow kKeys[] = {
    {SDLK_a, SDLK_z, 'A'},
    {SDLK_0, SDLK_9, '0'},
    {SDLK_F1, SDLK_F12, VK_F1},
    {SDLK_F13, SDLK_F24, VK_F13},
    {SDLK_KP_1, SDLK_KP_9, VK_NUMPAD0 + 1},
    {SDLK_KP_0, SDLK_KP_0, VK_NUMPAD0},
    {SDLK_KP_PERIOD, SDLK_KP_PERIOD, VK_DECIMAL},
    {SDLK_KP_DIVIDE, SDLK_KP_DIVIDE, VK_DIVIDE},
    {SDLK_KP_MULTIPLY, SDLK_KP_MULTIPLY, VK_MULTIPLY},
    {SDLK_KP_MINUS, SDLK_KP_MINUS, VK_SUBTRACT},
    {SDLK_KP_PLUS, SDLK_KP_PLUS, VK_ADD},
    {SDLK_KP_ENTER, SDLK_KP_ENTER, VK_RETURN},
    {SDLK_BACKSPACE, SDLK_BACKSPACE, VK_BACK},
    {SDLK_TAB, SDLK_TAB, VK_TAB},
    {SDLK_CLEAR, SDLK_CLEAR, VK_CLEAR},
    {SDLK_RETURN, SDLK_RETURN, VK_RETURN},
    {SDLK_LSHIFT, SDLK_LSHIFT, VK_SHIFT},
    {SDLK_RSHIFT, SDLK_RSHIFT, VK_SHIFT},
    {SDLK_LCTRL, SDLK_LCTRL, VK_CONTROL},
    {SDLK_RCTRL, SDLK_RCTRL, VK_CONTROL},
    {SDLK_LALT, SDLK_LALT, VK_MENU},
    {SDLK_RALT, SDLK_RALT, VK_MENU},
    {SDLK_PAUSE, SDLK_PAUSE, VK_PAUSE},
    {SDLK_CAPSLOCK, SDLK_CAPSLOCK, VK_CAPITAL},
    {SDLK_ESCAPE, SDLK_ESCAPE, VK_ESCAPE},
    {SDLK_SPACE, SDLK_SPACE, VK_SPACE},
    {SDLK_PAGEUP, SDLK_PAGEUP, VK_PRIOR},
    {SDLK_PAGEDOWN, SDLK_PAGEDOWN, VK_NEXT},
    {SDLK_END, SDLK_END, VK_END},
    {SDLK_HOME, SDLK_HOME, VK_HOME},
    {SDLK_LEFT, SDLK_LEFT, VK_LEFT},
    {SDLK_UP, SDLK_UP, VK_UP},
    {SDLK_RIGHT, SDLK_RIGHT, VK_RIGHT},
    {SDLK_DOWN, SDLK_DOWN, VK_DOWN},
    {SDLK_SELECT, SDLK_SELECT, VK_SELECT},
    {SDLK_EXECUTE, SDLK_EXECUTE, VK_EXECUTE},
    {SDLK_HELP, SDLK_HELP, VK_HELP},
    {SDLK_PRINTSCREEN, SDLK_PRINTSCREEN, VK_SNAPSHOT},
    {SDLK_INSERT, SDLK_INSERT, VK_INSERT},
    {SDLK_DELETE, SDLK_DELETE, VK_DELETE},
    {SDLK_LGUI, SDLK_LGUI, VK_LWIN},
    {SDLK_RGUI, SDLK_RGUI, VK_RWIN},
    {SDLK_APPLICATION, SDLK_APPLICATION, VK_APPS},
    {SDLK_NUMLOCKCLEAR, SDLK_NUMLOCKCLEAR, VK_NUMLOCK},
    {SDLK_SCROLLLOCK, SDLK_SCROLLLOCK, VK_SCROLL},
    {SDLK_SEMICOLON, SDLK_SEMICOLON, VK_OEM_1},
    {SDLK_EQUALS, SDLK_EQUALS, VK_OEM_PLUS},
    {SDLK_COMMA, SDLK_COMMA, VK_OEM_COMMA},
    {SDLK_MINUS, SDLK_MINUS, VK_OEM_MINUS},
    {SDLK_PERIOD, SDLK_PERIOD, VK_OEM_PERIOD},
    {SDLK_SLASH, SDLK_SLASH, VK_OEM_2},
    {SDLK_BACKQUOTE, SDLK_BACKQUOTE, VK_OEM_3},
    {SDLK_LEFTBRACKET, SDLK_LEFTBRACKET, VK_OEM_4},
    {SDLK_BACKSLASH, SDLK_BACKSLASH, VK_OEM_5},
    {SDLK_RIGHTBRACKET, SDLK_RIGHTBRACKET, VK_OEM_6},
    {SDLK_QUOTE, SDLK_QUOTE, VK_OEM_7},
    {SDLK_AUDIOMUTE, SDLK_AUDIOMUTE, VK_VOLUME_MUTE},
    {SDLK_VOLUMEDOWN, SDLK_VOLUMEDOWN, VK_VOLUME_DOWN},
    {SDLK_VOLUMEUP, SDLK_VOLUMEUP, VK_VOLUME_UP},
    {SDLK_AUDIONEXT, SDLK_AUDIONEXT, VK_MEDIA_NEXT_TRACK},
    {SDLK_AUDIOPREV, SDLK_AUDIOPREV, VK_MEDIA_PREV_TRACK},
    {SDLK_AUDIOSTOP, SDLK_AUDIOSTOP, VK_MEDIA_STOP},
    {SDLK_AUDIOPLAY, SDLK_AUDIOPLAY, VK_MEDIA_PLAY_PAUSE},
};

// Keys that share their virtual key with one on the left or in the main
// block; their messages say so.
constexpr SDL_Keycode kRightHandKeys[] = {SDLK_RSHIFT, SDLK_RCTRL, SDLK_RALT, SDLK_KP_ENTER};

// The keys whose key codes follow the keyboard layout, by their position on
// the keyboard (the US names of the keys there): a key is the same key
// whatever layout is loaded, and keys that have no US character on another
// layout (ü, ö, ß on a German one) still arrive.
struct ScancodeRow {
    SDL_Scancode first, last;
    int virtualKey;
};
constexpr ScancodeRow kScancodeKeys[] = {
    {SDL_SCANCODE_A, SDL_SCANCODE_Z, 'A'},
    {SDL_SCANCODE_1, SDL_SCANCODE_9, '1'},
    {SDL_SCANCODE_0, SDL_SCANCODE_0, '0'},
    {SDL_SCANCODE_RETURN, SDL_SCANCODE_RETURN, VK_RETURN},
    {SDL_SCANCODE_ESCAPE, SDL_SCANCODE_ESCAPE, VK_ESCAPE},
    {SDL_SCANCODE_BACKSPACE, SDL_SCANCODE_BACKSPACE, VK_BACK},
    {SDL_SCANCODE_TAB, SDL_SCANCODE_TAB, VK_TAB},
    {SDL_SCANCODE_SPACE, SDL_SCANCODE_SPACE, VK_SPACE},
    {SDL_SCANCODE_MINUS, SDL_SCANCODE_MINUS, VK_OEM_MINUS},
    {SDL_SCANCODE_EQUALS, SDL_SCANCODE_EQUALS, VK_OEM_PLUS},
    {SDL_SCANCODE_LEFTBRACKET, SDL_SCANCODE_LEFTBRACKET, VK_OEM_4},
    {SDL_SCANCODE_RIGHTBRACKET, SDL_SCANCODE_RIGHTBRACKET, VK_OEM_6},
    {SDL_SCANCODE_BACKSLASH, SDL_SCANCODE_BACKSLASH, VK_OEM_5},
    {SDL_SCANCODE_NONUSHASH, SDL_SCANCODE_NONUSHASH, VK_OEM_5},
    {SDL_SCANCODE_SEMICOLON, SDL_SCANCODE_SEMICOLON, VK_OEM_1},
    {SDL_SCANCODE_APOSTROPHE, SDL_SCANCODE_APOSTROPHE, VK_OEM_7},
    {SDL_SCANCODE_GRAVE, SDL_SCANCODE_GRAVE, VK_OEM_3},
    {SDL_SCANCODE_COMMA, SDL_SCANCODE_COMMA, VK_OEM_COMMA},
    {SDL_SCANCODE_PERIOD, SDL_SCANCODE_PERIOD, VK_OEM_PERIOD},
    {SDL_SCANCODE_SLASH, SDL_SCANCODE_SLASH, VK_OEM_2},
    {SDL_SCANCODE_DELETE, SDL_SCANCODE_DELETE, VK_DELETE},
};

// Indexed by Cursor.
constexpr SDL_SystemCursor kCursors[] = {
    SDL_SYSTEM_CURSOR_ARROW,  SDL_SYSTEM_CURSOR_HAND,     SDL_SYSTEM_CURSOR_IBEAM,    SDL_SYSTEM_CURSOR_WAIT,
    SDL_SYSTEM_CURSOR_SIZEWE, SDL_SYSTEM_CURSOR_SIZENS,   SDL_SYSTEM_CURSOR_SIZENWSE, SDL_SYSTEM_CURSOR_SIZENESW,
    SDL_SYSTEM_CURSOR_SIZEALL, SDL_SYSTEM_CURSOR_NO,
};
static_assert(std::size(kCursors) == static_cast<size_t>(Cursor::No) + 1);

struct IconRow {
    unsigned icon;
    Uint32 sdlFlag;
};
constexpr IconRow kIcons[] = {
    {MB_ICONERROR, SDL_MESSAGEBOX_ERROR},
    {MB_ICONWARNING, SDL_MESSAGEBOX_WARNING},
    {MB_ICONQUESTION, SDL_MESSAGEBOX_INFORMATION},
    {MB_ICONINFORMATION, SDL_MESSAGEBOX_INFORMATION},
};

// ---- lookups ----

int SubOf(const SDL_Event& event)
{
    switch (event.type) {
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP:
        return event.button.button;
    case SDL_WINDOWEVENT:
        return event.window.event;
    default:
        return 0;
    }
}

uint32_t SdlWindowIdOf(const SDL_Event& event)
{
    switch (event.type) {
    case SDL_MOUSEMOTION:
        return event.motion.windowID;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP:
        return event.button.windowID;
    case SDL_MOUSEWHEEL:
        return event.wheel.windowID;
    case SDL_KEYDOWN:
    case SDL_KEYUP:
        return event.key.windowID;
    case SDL_TEXTINPUT:
        return event.text.windowID;
    case SDL_TEXTEDITING:
        return event.edit.windowID;
    case SDL_WINDOWEVENT:
        return event.window.windowID;
    default:
        return 0;
    }
}

const EventRow* EventRowOf(const SDL_Event& event)
{
    const int sub = SubOf(event);
    for (const EventRow& row : kEvents) {
        if (row.type == event.type && row.sub == sub)
            return &row;
    }
    return nullptr;
}

// 0 for a key we have no virtual key for.
// Keys of the main block by their place on the keyboard; the others (whose
// key codes do not depend on the layout) by their key code.
int VirtualKeyOf(const SDL_Keysym& key)
{
    for (const ScancodeRow& row : kScancodeKeys) {
        if (key.scancode >= row.first && key.scancode <= row.last)
            return row.virtualKey + (key.scancode - row.first);
    }
    for (const KeyRow& row : kKeys) {
        if (key.sym >= row.first && key.sym <= row.last)
            return row.virtualKey + (key.sym - row.first);
    }
    return 0;
}

bool IsRightHand(SDL_Keycode key)
{
    return std::find(std::begin(kRightHandKeys), std::end(kRightHandKeys), key) != std::end(kRightHandKeys);
}

Uint32 WindowFlags(const WindowOptions& options)
{
    Uint32 flags = SDL_WINDOW_HIDDEN | SDL_WINDOW_BORDERLESS;
    if (options.kind == WindowKind::Popup)
        flags |= SDL_WINDOW_POPUP_MENU | SDL_WINDOW_SKIP_TASKBAR;
    if (options.kind == WindowKind::Tooltip)
        flags |= SDL_WINDOW_TOOLTIP | SDL_WINDOW_SKIP_TASKBAR;
    if (options.toolWindow)
        flags |= SDL_WINDOW_SKIP_TASKBAR;
    if (options.topmost)
        flags |= SDL_WINDOW_ALWAYS_ON_TOP;
    return flags;
}

// A shaped window where the video driver has them (it can take a region;
// on Wayland regions are not shown). No OpenGL: frames are drawn by SDL's
// software renderer, which keeps the desktop's GL driver (tens of megabytes)
// out of the process.
SDL_Window* CreateSdlWindow(const WindowOptions& options, bool& shapeable)
{
    const Rect& rect = options.rect;
    const int width = std::max(rect.Width(), 1);
    const int height = std::max(rect.Height(), 1);
    const char* title = options.title.c_str();
    const Uint32 flags = WindowFlags(options);
    shapeable = true;
    if (SDL_Window* window = SDL_CreateShapedWindow(title, 0, 0, width, height, flags))
        return window;
    shapeable = false;
    return SDL_CreateWindow(title, rect.left, rect.top, width, height, flags);
}

Uint32 IconFlag(unsigned flags)
{
    for (const IconRow& row : kIcons) {
        if ((flags & 0xF0) == row.icon)
            return row.sdlFlag;
    }
    return SDL_MESSAGEBOX_INFORMATION;
}

// ---- timers ----

// Serials of timers whose event is still in SDL's queue: such a timer pushes
// no other, so a busy or blocked loop does not pile them up. Used from SDL's
// timer thread; never destroyed, as that thread may outlive us.
class PendingTimerEvents {
public:
    bool Mark(uintptr_t serial)
    {
        std::lock_guard lock(mutex_);
        return serials_.insert(serial).second;
    }
    void Clear(uintptr_t serial)
    {
        std::lock_guard lock(mutex_);
        serials_.erase(serial);
    }

private:
    std::mutex mutex_;
    std::unordered_set<uintptr_t> serials_;
};

PendingTimerEvents& Pending()
{
    static auto* pending = new PendingTimerEvents;
    return *pending;
}

std::atomic<Uint32> gTimerEventType{0};
std::atomic<bool> gInstanceExists{false};

// Runs on SDL's timer thread: only pushes an event.
Uint32 TimerCallback(Uint32 interval, void* param)
{
    if (Pending().Mark(reinterpret_cast<uintptr_t>(param))) {
        SDL_Event event{};
        event.type = gTimerEventType;
        event.user.data1 = param;
        SDL_PushEvent(&event);
    }
    return interval;
}

}  // namespace

// ---- life ----

namespace {

// SDL's X11 driver reads the window class from this variable once, when
// video starts, and falls back to the executable's file name. It is set for
// that moment only, over any value the program was started with, and put
// back afterwards so that programs started from here do not inherit it.
constexpr const char* kWindowClassVariable = "SDL_VIDEO_X11_WMCLASS";

bool InitVideo(const std::string& windowClass)
{
    if (windowClass.empty())
        return SDL_InitSubSystem(SDL_INIT_VIDEO | SDL_INIT_TIMER) == 0;
    const char* inherited = SDL_getenv(kWindowClassVariable);
    const std::optional<std::string> before =
        inherited ? std::optional<std::string>(inherited) : std::nullopt;
    SDL_setenv(kWindowClassVariable, windowClass.c_str(), 1);
    const bool started = SDL_InitSubSystem(SDL_INIT_VIDEO | SDL_INIT_TIMER) == 0;
    if (before)
        SDL_setenv(kWindowClassVariable, before->c_str(), 1);
    else
        unsetenv(kWindowClassVariable);
    return started;
}

}  // namespace

SdlWindowSystem::KeyMessage SdlWindowSystem::KeyMessageOf(int keycode, int scancode)
{
    SDL_Keysym key{};
    key.sym = keycode;
    key.scancode = static_cast<SDL_Scancode>(scancode);
    return {VirtualKeyOf(key), IsRightHand(keycode)};
}

std::unique_ptr<SdlWindowSystem> SdlWindowSystem::Create(std::string* error, const std::string& windowClass)
{
    auto fail = [&](const char* why) {
        if (error)
            *error = why;
        return nullptr;
    };
    if (gInstanceExists.exchange(true))
        return fail("a window system already exists");
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    SDL_SetHint(SDL_HINT_VIDEO_X11_NET_WM_BYPASS_COMPOSITOR, "0");
    SDL_SetHint(SDL_HINT_MOUSE_FOCUS_CLICKTHROUGH, "1");
    SDL_SetHint(SDL_HINT_WINDOW_NO_ACTIVATION_WHEN_SHOWN, "1");
    // Frames go to the window through the X server's shared memory, not OpenGL.
    SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
    SDL_SetHint(SDL_HINT_RENDER_DRIVER, "software");
    // In place before SDL keeps "the handler before it", which it puts back
    // when it closes the display: a wake-up sent to a window just destroyed
    // is answered then, and must not end the program with status 1.
    InstallX11ErrorFilter();
    if (!InitVideo(windowClass)) {
        gInstanceExists = false;
        return fail(SDL_GetError());
    }
    auto quit = [&](const char* why) {
        SDL_QuitSubSystem(SDL_INIT_VIDEO | SDL_INIT_TIMER);
        gInstanceExists = false;
        return fail(why);
    };
    // Without a display SDL falls back to drivers that show nothing; only
    // take them when asked for by name.
    const std::string driver = SDL_GetCurrentVideoDriver();
    if ((driver == "offscreen" || driver == "dummy") && !SDL_getenv("SDL_VIDEODRIVER"))
        return quit("no display");
    const Uint32 first = SDL_RegisterEvents(2);
    if (first == static_cast<Uint32>(-1))
        return quit("no SDL user events left");
    SDL_StopTextInput();  // SDL starts with text input on
    gTimerEventType = first + 1;
    return std::unique_ptr<SdlWindowSystem>(new SdlWindowSystem(first, first + 1));
}

SdlWindowSystem::SdlWindowSystem(uint32_t postEvent, uint32_t timerEvent)
    : postEvent_(postEvent), timerEvent_(timerEvent)
{
}

SdlWindowSystem::~SdlWindowSystem()
{
    DestroyAllWindows();
    for (const auto& [serial, id] : timers_)
        SDL_RemoveTimer(id);
    for (SDL_Cursor* cursor : cursors_)
        SDL_FreeCursor(cursor);
    SDL_QuitSubSystem(SDL_INIT_VIDEO | SDL_INIT_TIMER);
    gInstanceExists = false;
}

uint64_t SdlWindowSystem::NowMs() const { return SDL_GetTicks64(); }

SdlWindowSystem::Native* SdlWindowSystem::NativeOf(WindowId window)
{
    auto it = natives_.find(window);
    return it == natives_.end() ? nullptr : &it->second;
}

WindowId SdlWindowSystem::WindowOf(uint32_t sdlWindowId) const
{
    auto it = bySdlId_.find(sdlWindowId);
    return it == bySdlId_.end() ? WindowId::None : it->second;
}

// ---- windows ----

void SdlWindowSystem::SetProgramIcon(int width, int height, std::vector<uint32_t> argb)
{
    if (width <= 0 || height <= 0 || argb.size() != static_cast<size_t>(width) * static_cast<size_t>(height))
        return;
    iconWidth_ = width;
    iconHeight_ = height;
    icon_ = std::move(argb);
}

void SdlWindowSystem::ApplyIcon(SDL_Window* window)
{
    if (icon_.empty())
        return;
    SDL_Surface* surface = SDL_CreateRGBSurfaceWithFormatFrom(icon_.data(), iconWidth_, iconHeight_, 32,
                                                              iconWidth_ * 4, SDL_PIXELFORMAT_ARGB8888);
    if (surface == nullptr)
        return;
    SDL_SetWindowIcon(window, surface);
    SDL_FreeSurface(surface);
}

bool SdlWindowSystem::NativeCreate(WindowId window, const WindowOptions& options)
{
    Native native;
    native.window = CreateSdlWindow(options, native.shapeable);
    if (!native.window)
        return false;
    // Made now: making a renderer may recreate the window, losing its place
    // and shape.
    native.renderer = SDL_CreateRenderer(native.window, -1, SDL_RENDERER_SOFTWARE);
    ApplyIcon(native.window);
    native.shapeable = native.shapeable && SDL_IsShapedWindow(native.window);
    SDL_SetWindowPosition(native.window, options.rect.left, options.rect.top);
    const Native* owner = NativeOf(options.owner);
    if (owner && options.kind == WindowKind::Normal)
        SDL_SetWindowModalFor(native.window, owner->window);  // kept above its owner
    bySdlId_[SDL_GetWindowID(native.window)] = window;
    natives_[window] = native;
    return true;
}

void SdlWindowSystem::NativeDestroy(WindowId window)
{
    Native* native = NativeOf(window);
    if (!native)
        return;
    // The desktop's focus goes first to the window that holds our focus now
    // (a dialog this window opened before it went), else to the owner: left
    // to the X server it would fall to nothing, and a press under way would
    // lose its release. SDL may not have seen the dialog take the focus yet.
    const Native* heir = NativeOf(DesktopHolderOf(GetFocus()));
    if (heir == nullptr || heir == native) {
        const WindowOptions* options = OptionsOf(window);
        heir = options ? NativeOf(options->owner) : nullptr;
    }
    if (heir && SDL_GetKeyboardFocus() == native->window)
        SDL_SetWindowInputFocus(heir->window);
    if (native->texture)
        SDL_DestroyTexture(native->texture);
    if (native->renderer)
        SDL_DestroyRenderer(native->renderer);
    bySdlId_.erase(SDL_GetWindowID(native->window));
    SDL_DestroyWindow(native->window);
    natives_.erase(window);
}

void SdlWindowSystem::NativeShow(WindowId window, bool show, bool activate)
{
    Native* native = NativeOf(window);
    if (!native)
        return;
    if (!show) {
        SDL_HideWindow(native->window);
        return;
    }
    SDL_ShowWindow(native->window);
    if (activate && (SDL_GetWindowFlags(native->window) & SDL_WINDOW_MINIMIZED) != 0)
        SDL_RestoreWindow(native->window);
    const Rect rect = GetWindowRect(window);
    SDL_SetWindowPosition(native->window, rect.left, rect.top);  // mapping may have moved it
    // Pop-ups take our focus only; the desktop's stays with their owner.
    if (activate && OptionsOf(window)->kind == WindowKind::Normal)
        SDL_RaiseWindow(native->window);
}

void SdlWindowSystem::NativeMinimize(WindowId window)
{
    if (Native* native = NativeOf(window))
        SDL_MinimizeWindow(native->window);
}

void SdlWindowSystem::NativeMove(WindowId window, const Rect& rect)
{
    Native* native = NativeOf(window);
    if (!native)
        return;
    SDL_SetWindowPosition(native->window, rect.left, rect.top);
    // Sizing a shaped window parks it off the screen until it gets its shape
    // again: a move that keeps the size must not size it.
    const int width = std::max(rect.Width(), 1), height = std::max(rect.Height(), 1);
    int oldWidth = 0, oldHeight = 0;
    SDL_GetWindowSize(native->window, &oldWidth, &oldHeight);
    if (width != oldWidth || height != oldHeight)
        SDL_SetWindowSize(native->window, width, height);
}

Rect SdlWindowSystem::NativeRectOf(WindowId window) const
{
    const auto it = natives_.find(window);
    if (it == natives_.end())
        return {};
    int x = 0, y = 0, width = 0, height = 0;
    SDL_GetWindowPosition(it->second.window, &x, &y);
    SDL_GetWindowSize(it->second.window, &width, &height);
    return {x, y, x + width, y + height};
}

// Works only where a compositor blends windows; SDL reports the others.
bool SdlWindowSystem::NativeOpacity(WindowId window, uint8_t alpha)
{
    Native* native = NativeOf(window);
    return native != nullptr && SDL_SetWindowOpacity(native->window, static_cast<float>(alpha) / 255.0F) == 0;
}

void SdlWindowSystem::NativeRegion(WindowId window, const Region* region, int width, int height)
{
    Native* native = NativeOf(window);
    if (!native || !native->shapeable || width <= 0 || height <= 0 || (!region && !native->shaped))
        return;
    SDL_Surface* mask = SDL_CreateRGBSurfaceWithFormat(0, width, height, 32, SDL_PIXELFORMAT_ARGB8888);
    if (!mask)
        return;
    SDL_FillRect(mask, nullptr, region ? 0 : 0xFFFFFFFF);
    for (const Rect& rect : region ? region->rects : std::vector<Rect>{}) {
        const SDL_Rect part{rect.left, rect.top, rect.Width(), rect.Height()};
        SDL_FillRect(mask, &part, 0xFFFFFFFF);
    }
    SDL_WindowShapeMode mode{};
    mode.mode = ShapeModeBinarizeAlpha;
    mode.parameters.binarizationCutoff = 128;
    if (SDL_SetWindowShape(native->window, mask, &mode) == 0)
        native->shaped = true;
    SDL_FreeSurface(mask);
}

Rect SdlWindowSystem::GetWorkArea(WindowId window) const
{
    auto it = natives_.find(window);
    const int display = it == natives_.end() ? 0 : std::max(SDL_GetWindowDisplayIndex(it->second.window), 0);
    SDL_Rect area{};
    if (SDL_GetDisplayUsableBounds(display, &area) != 0)
        return {};
    return {area.x, area.y, area.x + area.w, area.y + area.h};
}

// ---- drawing ----

bool SdlWindowSystem::PrepareTexture(Native& native, int width, int height)
{
    if (!native.renderer)
        return false;
    if (native.texture && native.textureWidth == width && native.textureHeight == height)
        return true;
    if (native.texture)
        SDL_DestroyTexture(native.texture);
    native.texture =
        SDL_CreateTexture(native.renderer, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_STREAMING, width, height);
    if (!native.texture)
        return false;
    // The frame is already composed: copy it, do not blend it again.
    SDL_SetTextureBlendMode(native.texture, SDL_BLENDMODE_NONE);
    native.textureWidth = width;
    native.textureHeight = height;
    return true;
}

std::unique_ptr<Painter> SdlWindowSystem::CreatePainter(int width, int height)
{
    return std::make_unique<CairoPainter>(width, height);
}

void SdlWindowSystem::Present(WindowId window, const uint32_t* pixels, int width, int height, int stride)
{
    Native* native = NativeOf(window);
    if (!native || width <= 0 || height <= 0 || !PrepareTexture(*native, width, height))
        return;
    SDL_UpdateTexture(native->texture, nullptr, pixels, stride);
    SDL_SetRenderDrawColor(native->renderer, 0, 0, 0, 255);
    SDL_RenderClear(native->renderer);
    const SDL_Rect target{0, 0, width, height};
    SDL_RenderCopy(native->renderer, native->texture, nullptr, &target);
    SDL_RenderPresent(native->renderer);
}

void SdlWindowSystem::SetCursor(Cursor cursor)
{
    const auto index = static_cast<size_t>(cursor);
    if (!cursors_[index])
        cursors_[index] = SDL_CreateSystemCursor(kCursors[index]);
    if (cursors_[index])
        SDL_SetCursor(cursors_[index]);
}

// ---- input and timers ----

void SdlWindowSystem::NativeCapture(bool on) { SDL_CaptureMouse(on ? SDL_TRUE : SDL_FALSE); }

void SdlWindowSystem::StartTextInput(WindowId, const Rect& caret)
{
    SDL_Rect rect{caret.left, caret.top, caret.Width(), caret.Height()};
    SDL_SetTextInputRect(&rect);
    // Starting again would reset the input method and lose its composition.
    if (!SDL_IsTextInputActive())
        SDL_StartTextInput();
}

void SdlWindowSystem::StopTextInput()
{
    SDL_StopTextInput();
    ClearComposition();
}

bool SdlWindowSystem::SetClipboardText(const std::string& text) { return SDL_SetClipboardText(text.c_str()) == 0; }

std::string SdlWindowSystem::GetClipboardText()
{
    char* text = SDL_GetClipboardText();  // "" (never null) when there is none; ours to free
    if (text == nullptr)
        return {};
    std::string copy(text);
    SDL_free(text);
    return copy;
}

void SdlWindowSystem::StartNativeTimer(uint64_t serial, unsigned intervalMs)
{
    const SDL_TimerID id = SDL_AddTimer(intervalMs, TimerCallback, reinterpret_cast<void*>(serial));
    if (id != 0)
        timers_[serial] = id;
}

void SdlWindowSystem::StopNativeTimer(uint64_t serial)
{
    auto it = timers_.find(serial);
    if (it == timers_.end())
        return;
    SDL_RemoveTimer(it->second);
    timers_.erase(it);
    Pending().Clear(serial);
}

bool SdlWindowSystem::PostMessage(WindowId window, unsigned message, uintptr_t wParam, intptr_t lParam)
{
    SDL_Event event{};
    event.type = postEvent_;
    event.user.windowID = static_cast<Uint32>(window);
    event.user.code = static_cast<Sint32>(message);
    event.user.data1 = reinterpret_cast<void*>(wParam);
    event.user.data2 = reinterpret_cast<void*>(lParam);
    return SDL_PushEvent(&event) == 1;
}

bool SdlWindowSystem::PumpEvents(bool wait)
{
    SDL_Event event;
    if (wait) {
        if (!SDL_WaitEvent(&event))
            return false;
        Translate(event);
    }
    while (SDL_PollEvent(&event))
        Translate(event);
    return true;
}

void SdlWindowSystem::Translate(const SDL_Event& event)
{
    if (event.type == postEvent_) {
        const SDL_UserEvent& user = event.user;
        Enqueue({WindowId{user.windowID}, static_cast<unsigned>(user.code), reinterpret_cast<uintptr_t>(user.data1),
                 reinterpret_cast<intptr_t>(user.data2), 0});
        return;
    }
    if (event.type == timerEvent_) {
        const auto serial = reinterpret_cast<uintptr_t>(event.user.data1);
        Pending().Clear(serial);
        OnTimer(serial);
        return;
    }
    const WindowId window = WindowOf(SdlWindowIdOf(event));
    if (window != WindowId::None && event.type == SDL_WINDOWEVENT
        && (event.window.event == SDL_WINDOWEVENT_MINIMIZED || event.window.event == SDL_WINDOWEVENT_RESTORED)) {
        OnMinimized(window, event.window.event == SDL_WINDOWEVENT_MINIMIZED);
        return;
    }
    const EventRow* row = EventRowOf(event);
    if (window != WindowId::None && row)
        TranslateInput(event, row->message, window);
}

// True when the desktop's keyboard focus now rests on another of our
// windows (SDL has already taken in the whole batch of focus events).
bool SdlWindowSystem::MovedToOtherWindow(WindowId window) const
{
    SDL_Window* focused = SDL_GetKeyboardFocus();
    const WindowId now = focused != nullptr ? WindowOf(SDL_GetWindowID(focused)) : WindowId::None;
    return now != WindowId::None && now != window;
}

// The window that holds the desktop's focus for ours: pop-ups and tooltips
// take our focus only, through the window they belong to.
WindowId SdlWindowSystem::DesktopHolderOf(WindowId window) const
{
    for (const WindowOptions* options = OptionsOf(window); options && options->kind != WindowKind::Normal;
         options = OptionsOf(window))
        window = options->owner;
    return window;
}

// True when `window` never takes the focus and has handed it to its owner.
bool SdlWindowSystem::GiveBackFocus(WindowId window)
{
    const WindowOptions* options = OptionsOf(window);
    const Native* owner = options ? NativeOf(options->owner) : nullptr;
    if (!options || options->kind != WindowKind::Tooltip || !owner)
        return false;
    SDL_SetWindowInputFocus(owner->window);
    return true;
}

void SdlWindowSystem::TranslateInput(const SDL_Event& event, unsigned message, WindowId window)
{
    switch (message) {
    case WM_MOUSEMOVE:
        OnMouse(window, message, event.motion.x, event.motion.y, MouseFlagsAfter(message));
        break;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN: {
        // Every second click of a series is a double click (its message
        // number is the press's plus two).
        const unsigned press = event.button.clicks % 2 == 0 ? message + 2 : message;
        OnMouse(window, press, event.button.x, event.button.y, MouseFlagsAfter(press));
        break;
    }
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP:
        OnMouse(window, message, event.button.x, event.button.y, MouseFlagsAfter(message));
        break;
    case WM_XBUTTONDOWN:
    case WM_XBUTTONUP: {
        const unsigned which = event.button.button == SDL_BUTTON_X1 ? XBUTTON1 : XBUTTON2;
        OnMouse(window, message, event.button.x, event.button.y, MouseFlagsAfter(message) | which << 16);
        break;
    }
    case WM_MOUSEWHEEL: {
        // Sideways scrolling has no message of ours: it scrolls nothing.
        const int delta = static_cast<int>(std::lround(event.wheel.preciseY * WHEEL_DELTA));
        if (delta != 0)
            OnWheel(window, event.wheel.mouseX, event.wheel.mouseY, delta, MouseFlagsAfter(message));
        break;
    }
    case WM_KEYDOWN:
    case WM_KEYUP:
        if (const int key = VirtualKeyOf(event.key.keysym))
            OnKey(window, key, message == WM_KEYDOWN, IsRightHand(event.key.keysym.sym));
        break;
    case WM_CHAR:
        OnText(window, Utf8ToUtf16(event.text.text));
        break;
    case WM_IME_COMPOSITION:
        OnComposition(window, {event.edit.text, event.edit.start});
        break;
    case WM_PAINT:
        Invalidate(window);
        break;
    case WM_MOVE:
        OnMoved(window, event.window.data1, event.window.data2);
        break;
    case WM_SIZE:
        OnResized(window, event.window.data1, event.window.data2);
        break;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
        // Without a window manager SDL hands the focus to every window it
        // shows; a tooltip gives it straight back to its owner.
        if (message == WM_SETFOCUS && GiveBackFocus(window))
            break;
        // A loss to another of our windows is no loss: its gain follows.
        if (message == WM_KILLFOCUS && MovedToOtherWindow(window))
            break;
        OnDesktopFocus(window, message == WM_SETFOCUS);
        break;
    case WM_MOUSELEAVE:
        OnMouseLeave(window);
        break;
    case WM_CLOSE:
        Enqueue({window, WM_CLOSE, 0, 0, 0});
        break;
    }
}

// ---- message boxes ----

int SdlWindowSystem::MessageBox(WindowId owner, const std::string& text, const std::string& caption, unsigned flags)
{
    const bool okCancel = (flags & 0x0F) == MB_OKCANCEL;
    Uint32 okKeys = SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT;
    if (!okCancel)
        okKeys |= SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT;
    const SDL_MessageBoxButtonData buttons[] = {
        {okKeys, IDOK, "OK"},
        {SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT, IDCANCEL, "Cancel"},
    };
    const Native* ownerNative = NativeOf(owner);
    const SDL_MessageBoxData box{IconFlag(flags) | SDL_MESSAGEBOX_BUTTONS_LEFT_TO_RIGHT,
                                 ownerNative ? ownerNative->window : nullptr,
                                 caption.c_str(),
                                 text.c_str(),
                                 okCancel ? 2 : 1,
                                 buttons,
                                 nullptr};
    ReleaseCapture();
    int pressed = -1;
    if (SDL_ShowMessageBox(&box, &pressed) != 0) {
        // Said somewhere at least: the desktop could not show the box.
        std::fprintf(stderr, "%s: %s (the message box could not be shown: %s)\n", caption.c_str(), text.c_str(),
                     SDL_GetError());
        return okCancel ? IDCANCEL : IDOK;
    }
    return pressed < 0 ? (okCancel ? IDCANCEL : IDOK) : pressed;
}

}  // namespace platform
