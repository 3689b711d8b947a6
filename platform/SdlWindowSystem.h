// Real windows through SDL2: one borderless SDL window per window, SDL events
// turned into our messages, SDL timers, shaped windows for regions, SDL
// message boxes and system cursors. Only one may exist at a time (SDL's video
// state is global).
#pragma once

#include "platform/WindowSystemCore.h"

#include <array>
#include <map>
#include <vector>
#include <memory>
#include <string>

struct SDL_Window;
struct SDL_Renderer;
struct SDL_Texture;
struct SDL_Cursor;
union SDL_Event;

namespace platform {

class SdlWindowSystem final : public WindowSystemCore {
public:
    // Null when SDL cannot start video (no display); `error` says why. A
    // non-empty `windowClass` is the X class of every window (WM_CLASS, what
    // the desktop matches to the launcher); without one SDL takes the name of
    // the executable file.
    static std::unique_ptr<SdlWindowSystem> Create(std::string* error = nullptr,
                                                   const std::string& windowClass = {});
    ~SdlWindowSystem() override;

    Rect GetWorkArea(WindowId window) const override;
    void Present(WindowId window, const uint32_t* pixels, int width, int height, int stride) override;
    std::unique_ptr<Painter> CreatePainter(int width, int height) override;
    bool PostMessage(WindowId window, unsigned message, uintptr_t wParam, intptr_t lParam) override;
    void StartTextInput(WindowId window, const Rect& caret) override;
    void StopTextInput() override;
    bool SetClipboardText(const std::string& text) override;
    std::string GetClipboardText() override;
    void SetCursor(Cursor cursor) override;
    void SetProgramIcon(int width, int height, std::vector<uint32_t> argb) override;
    int MessageBox(WindowId owner, const std::string& text, const std::string& caption, unsigned flags) override;
    // The virtual key (0: none) and right-hand flag of the key messages for an
    // SDL key code and scancode.
    struct KeyMessage {
        int virtualKey;
        bool rightHand;
    };
    static KeyMessage KeyMessageOf(int keycode, int scancode);
    // Where SDL has the window now (tests: what the desktop was told).
    Rect NativeRectOf(WindowId window) const;

protected:
    bool NativeCreate(WindowId window, const WindowOptions& options) override;
    void NativeDestroy(WindowId window) override;
    void NativeShow(WindowId window, bool show, bool activate) override;
    void NativeMinimize(WindowId window) override;
    void NativeMove(WindowId window, const Rect& rect) override;
    void NativeRegion(WindowId window, const Region* region, int width, int height) override;
    bool NativeOpacity(WindowId window, uint8_t alpha) override;
    void NativeCapture(bool on) override;
    void StartNativeTimer(uint64_t serial, unsigned intervalMs) override;
    void StopNativeTimer(uint64_t serial) override;
    bool PumpEvents(bool wait) override;
    uint64_t NowMs() const override;

private:
    struct Native {
        SDL_Window* window = nullptr;
        SDL_Renderer* renderer = nullptr;
        SDL_Texture* texture = nullptr;
        int textureWidth = 0;
        int textureHeight = 0;
        bool shapeable = false;  // created as a shaped window
        bool shaped = false;  // a shape was set
    };

    SdlWindowSystem(uint32_t postEvent, uint32_t timerEvent);
    void ApplyIcon(SDL_Window* window);
    Native* NativeOf(WindowId window);
    WindowId WindowOf(uint32_t sdlWindowId) const;
    bool MovedToOtherWindow(WindowId window) const;
    WindowId DesktopHolderOf(WindowId window) const;
    bool GiveBackFocus(WindowId window);
    void Translate(const SDL_Event& event);
    void TranslateInput(const SDL_Event& event, unsigned message, WindowId window);
    bool PrepareTexture(Native& native, int width, int height);

    uint32_t postEvent_;
    uint32_t timerEvent_;
    std::map<WindowId, Native> natives_;
    std::map<uint32_t, WindowId> bySdlId_;
    std::map<uint64_t, int> timers_;  // serial → SDL timer id
    std::array<SDL_Cursor*, 10> cursors_{};
    int iconWidth_ = 0;
    int iconHeight_ = 0;
    std::vector<uint32_t> icon_;  // ARGB
};

}  // namespace platform
