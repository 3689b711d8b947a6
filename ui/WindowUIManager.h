// The per-window registries that building a layout fills in: fonts, default
// attribute lists, preloaded images, the control name index, option groups,
// the "Window" attributes, and where skin files are read from. Message
// handling, notifications, timers, focus and painting join this class with
// the native window.
#pragma once

#include "ui/AttributeValues.h"
#include "ui/ImageLoader.h"
#include "ui/ControlTimers.h"
#include "ui/EventUI.h"
#include "ui/NotifyCenter.h"
#include "platform/window_system.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace platform {
class Painter;
}

namespace SkinUI {

class CControlUI;
class CToolTipWnd;

struct FontInfo {
    std::u16string face;  // empty: the platform's user-interface font
    int size = 12;
    bool bold = false;
    bool underline = false;
    bool italic = false;
};

// Decoded pixels the image cache holds at most; past it the least recently
// used pictures are dropped and read again when next asked for.
inline constexpr size_t kImageCacheBudget = size_t{64} << 20;  // 64 MiB

// A cached image and the source and colour key it was loaded with.
struct ImageEntry {
    std::u16string name;
    std::u16string resType;
    uint32_t mask = 0;  // colour key; 0: none
    // Shared with whoever draws it, so that dropping it from the cache never
    // pulls the pixels from under a paint. Empty when it could not be loaded
    // or was dropped.
    std::shared_ptr<const ImageData> image;
    bool dropped = false;  // dropped for the budget: loaded again on the next use
    uint64_t lastUse = 0;
};

// A picture refused for the size its header announces.
struct ImageRefusal {
    std::string source;  // as DescribeImageSource tells it
    uint32_t width = 0;
    uint32_t height = 0;
};
using ImageRefusalHandler = std::function<void(const ImageRefusal&)>;

// The "Window" element's attributes; zero sizes mean "not given".
struct WindowAttributes {
    UISize initialSize;
    UIRect sizeBox;
    UIRect caption;
    UISize roundCorner;
    UISize minInfo;
    UISize maxInfo;
    bool showDirty = false;
    int alpha = 255;
    bool backgroundTransparent = false;
    uint32_t defaultFontColor = 0xFF000000;
    uint32_t disabledFontColor = 0xFFA7A6AA;
    uint32_t linkFontColor = 0xFF0000FF;
    uint32_t linkHoverFontColor = 0xFFD3215F;
    uint32_t selectedColor = 0xFFBAE4FF;
};

class CWindowUIManager {
public:
    CWindowUIManager();
    ~CWindowUIManager();
    CWindowUIManager(const CWindowUIManager&) = delete;
    CWindowUIManager& operator=(const CWindowUIManager&) = delete;

    // Fonts are numbered 0, 1, 2 … in the order they are added.
    int AddFont(std::u16string_view face, int size, bool bold, bool underline, bool italic);
    void SetDefaultFont(std::u16string_view face, int size, bool bold, bool underline, bool italic);
    // The default font for an index that was not added (-1 included).
    const FontInfo* GetFont(int index) const;
    const FontInfo& GetDefaultFont() const { return m_defaultFont; }
    int GetFontCount() const { return static_cast<int>(m_fonts.size()); }

    // Replaces the list registered for the tag.
    void AddDefaultAttributeList(std::u16string_view tag, std::u16string_view list);
    // Empty when none was registered.
    const std::u16string& GetDefaultAttributeList(std::u16string_view tag) const;

    // Registers and loads the image. False for an empty name or a name
    // already added (the first one stays); a load failure leaves the entry
    // without an image.
    bool AddImage(std::u16string_view name, std::u16string_view resType, uint32_t mask);
    const ImageEntry* GetImage(std::u16string_view name) const;
    // The cached image, loaded on first use and again after it was dropped
    // for the budget; one that could not be loaded stays missing (nullptr)
    // until the images are reloaded. Holding the pointer keeps the image in
    // the cache.
    std::shared_ptr<const ImageData> GetImageEx(std::u16string_view name, std::u16string_view resType = {},
                                                uint32_t mask = 0);
    void RemoveImage(std::u16string_view name);
    void RemoveAllImages();
    // Reads every registered image again from its source and repaints;
    // dropped ones wait for their next use.
    void ReloadImages();
    // Decoded bytes the cache holds (kImageCacheBudget at most, unless
    // pictures held by their users keep it above).
    size_t GetCachedImageBytes() const;
    // Told of every load refused for the picture's size.
    void SetImageRefusalHandler(ImageRefusalHandler handler) { m_imageRefused = std::move(handler); }
    // Reads skin files where `owner` reads them and reports refusals to its handler.
    void ShareSkin(const CWindowUIManager& owner);

    // Binds the subtree to this manager (with `parent` as the root's parent)
    // and indexes the names in it; a name already indexed keeps its control.
    void InitControls(CControlUI* root, CControlUI* parent = nullptr);
    // nullptr when no control of that name is indexed.
    CControlUI* FindControl(std::u16string_view name) const;
    // The first control of that name in `parent`'s subtree (parent included),
    // in document order; for trees that repeat names, such as list rows.
    static CControlUI* FindSubControl(CControlUI* parent, std::u16string_view name);
    // A bound control changed its name: it is indexed under the new one (when
    // no other control holds it), and the old name passes to the next control
    // of the window that has it.
    void RenameControl(CControlUI* control, std::u16string_view oldName);

    // The root of the window's control tree (not owned; nullptr for none).
    // Binds the tree to this manager as InitControls does.
    void SetRoot(CControlUI* root);
    CControlUI* GetRoot() const { return m_root; }
    // Paints the root where it meets `dirty` (window coordinates) over a
    // cleared background: transparent with "bktrans", else white.
    void Paint(platform::Painter& painter, const UIRect& dirty);
    // The whole surface.
    void PaintAll(platform::Painter& painter);

    // False for an empty group name, no control, or a control already in it.
    bool AddOptionGroup(std::u16string_view group, CControlUI* control);
    void RemoveOptionGroup(std::u16string_view group, CControlUI* control);
    // Members in the order they joined; empty for an unknown group.
    std::span<CControlUI* const> GetOptionGroup(std::u16string_view group) const;

    // Drops every reference to a control that is being destroyed.
    void ForgetControl(const CControlUI* control);

    // Stores a "Window" attribute; other names are ignored. "size" and
    // "alpha" also apply to the native window when there is one.
    void SetWindowAttribute(std::u16string_view name, std::u16string_view value);
    const UISize& GetInitialSize() const { return m_window.initialSize; }
    const UIRect& GetSizeBox() const { return m_window.sizeBox; }
    const UIRect& GetCaptionRect() const { return m_window.caption; }
    const UISize& GetRoundCorner() const { return m_window.roundCorner; }
    const UISize& GetMinInfo() const { return m_window.minInfo; }
    const UISize& GetMaxInfo() const { return m_window.maxInfo; }
    bool IsShowDirty() const { return m_window.showDirty; }
    int GetAlpha() const { return m_window.alpha; }
    bool IsBackgroundTransparent() const { return m_window.backgroundTransparent; }
    uint32_t GetDefaultFontColor() const { return m_window.defaultFontColor; }
    uint32_t GetDisabledFontColor() const { return m_window.disabledFontColor; }
    uint32_t GetLinkFontColor() const { return m_window.linkFontColor; }
    uint32_t GetLinkHoverFontColor() const { return m_window.linkHoverFontColor; }
    uint32_t GetSelectedColor() const { return m_window.selectedColor; }

    // Whether a native window is attached ("Window" attributes apply only
    // then). Set by tests until the native window exists.
    bool HasNativeWindow() const { return m_hasNativeWindow; }
    void SetHasNativeWindow(bool on) { m_hasNativeWindow = on; }

    // The folder that skin files are read from (UTF-8 path), and a zip file
    // in it that holds them instead (empty: plain files).
    void SetResourcePath(std::string_view path) { m_resourcePath = path; }
    const std::string& GetResourcePath() const { return m_resourcePath; }
    void SetResourceZip(std::string_view zipFile) { m_resourceZip = zipFile; }
    const std::string& GetResourceZip() const { return m_resourceZip; }
    // Where skin files are read from; a package named without a folder lies
    // in the resource folder.
    ResourceLocation GetResourceLocation() const;

    // ---- the native window and its messages --------------------------------

    // Ties the manager to its native window; the manager registers itself for
    // the process's message loop.
    void Init(platform::WindowSystem* system, platform::WindowId window);
    platform::WindowId GetWindow() const { return m_nativeWindow; }
    platform::WindowSystem* GetWindowSystem() const { return m_system; }
    // Takes the tree, binds it, and has it laid out and "windowinit" sent at
    // the next paint.
    bool AttachDialog(std::unique_ptr<CControlUI> root);

    void AddNotifier(INotifyUI* notifier) { m_notify.AddNotifier(notifier); }
    void RemoveNotifier(INotifyUI* notifier) { m_notify.RemoveNotifier(notifier); }
    void AddMessageFilter(IMessageFilterUI* filter) { m_notify.AddMessageFilter(filter); }
    void RemoveMessageFilter(IMessageFilterUI* filter) { m_notify.RemoveMessageFilter(filter); }
    void AddPreMessageFilter(IMessageFilterUI* filter) { m_notify.AddPreMessageFilter(filter); }
    void RemovePreMessageFilter(IMessageFilterUI* filter) { m_notify.RemovePreMessageFilter(filter); }
    // Controls notify only while bound to a manager.
    void SendNotify(CControlUI* control, std::u16string_view type, uintptr_t wParam = 0, intptr_t lParam = 0,
                    bool async = false);

    bool SetTimer(CControlUI* control, unsigned id, unsigned intervalMs);
    bool KillTimer(CControlUI* control, unsigned id);
    void SetFocus(CControlUI* control);
    CControlUI* GetFocus() const { return m_focus; }
    CControlUI* GetHot() const { return m_hover; }
    // The deepest visible control that takes the mouse at a client point;
    // over a disabled control (or container) the enabled container around it.
    CControlUI* FindControlAt(UIPoint point) const;
    // Asks for a repaint of the window.
    void Invalidate();
    // Asks for a new layout of the controls before the next paint, and the
    // paint. Requests made while laying out are part of that layout.
    void NeedUpdate();
    UIPoint GetMousePos() const { return m_notify.MousePoint(); }
    // The tool window showing a tooltip; None while no tooltip is shown.
    platform::WindowId GetToolTipWindow() const;

    // One native message; true when handled, with its result.
    bool MessageHandler(unsigned message, uintptr_t wParam, intptr_t lParam, intptr_t& result);
    // Before dispatching: pre-translate filters, Tab, system keys, shortcuts.
    bool PreMessageHandler(unsigned message, uintptr_t wParam, intptr_t lParam, intptr_t& result);
    // The message loop of the process: until the quit message.
    static int MessageLoop(platform::WindowSystem& system);

private:
    void IndexNames(CControlUI* root);
    void IndexName(CControlUI* control);
    void UnindexName(const CControlUI* control, std::u16string_view name);
    void LoadEntry(ImageEntry& entry);
    // Drops the least recently used pictures nobody holds, `keep` aside,
    // until the cache is within its budget.
    void TrimImages(const ImageEntry& keep);

    std::vector<FontInfo> m_fonts;
    FontInfo m_defaultFont;
    std::map<std::u16string, std::u16string, std::less<>> m_defaultAttributes;
    std::map<std::u16string, ImageEntry, std::less<>> m_images;
    uint64_t m_imageUses = 0;
    ImageRefusalHandler m_imageRefused;
    // Every bound named control under its name, in the order it was indexed
    // (document order for a built tree); the first one is the one found.
    // The sequence number of each indexed control makes removal logarithmic.
    std::map<std::u16string, std::map<uint64_t, CControlUI*>, std::less<>> m_names;
    std::unordered_map<const CControlUI*, uint64_t> m_nameOrder;
    uint64_t m_nextNameOrder = 0;
    std::map<std::u16string, std::vector<CControlUI*>, std::less<>> m_optionGroups;
    WindowAttributes m_window;
    bool m_hasNativeWindow = false;
    std::string m_resourcePath;
    std::string m_resourceZip;
    CControlUI* m_root = nullptr;

    // Native window and message handling.
    void PaintWindow();
    void ApplyInitialSize();
    void ApplyAlpha();
    void ApplyRoundCorner(int width, int height);
    void DispatchMouse(UIEvent type, unsigned message, uintptr_t wParam, intptr_t lParam);
    void UpdateHover(UIPoint point, uintptr_t wParam);
    void DeliverEvent(CControlUI* control, UIEvent type, uintptr_t wParam = 0, intptr_t lParam = 0, char16_t key = 0);
    bool DeliverKey(UIEvent type, uintptr_t wParam, intptr_t lParam);
    bool MoveFocus(bool forward);
    bool ActivateShortcut(char16_t character);
    void ForgetInMessages(const CControlUI* control);
    // The tooltip of the control under the mouse, or of its nearest
    // ancestor that has one.
    void ShowToolTip(UIPoint point);
    void HideToolTip();

    platform::WindowSystem* m_system = nullptr;
    platform::WindowId m_nativeWindow = platform::WindowId::None;
    CNotifyCenter m_notify{[this] { return Now(); }};
    CControlTimers m_timers{{}};
    CControlUI* m_focus = nullptr;
    CControlUI* m_hover = nullptr;
    CControlUI* m_pressed = nullptr;
    bool m_firstLayout = false;
    bool m_needLayout = false;
    bool m_mouseTracking = false;
    std::unique_ptr<CToolTipWnd> m_toolTip;
    uint64_t Now() const;
    // Last, so that the controls go before everything they report to.
    std::unique_ptr<CControlUI> m_ownedRoot;
};

}  // namespace SkinUI
