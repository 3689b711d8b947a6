#include "ui/WindowUIManager.h"

#include "ui/ControlUI.h"
#include "ui/IContainerUI.h"

#include <algorithm>
#include <iterator>

namespace SkinUI {
namespace {

const AttributeSetter<WindowAttributes> kWindowAttributes[] = {
    {u"size", [](auto& w, auto v) { w.initialSize = ParseSize(v); }},
    {u"sizebox", [](auto& w, auto v) { w.sizeBox = ParseRect(v); }},
    {u"caption", [](auto& w, auto v) { w.caption = ParseRect(v); }},
    {u"roundcorner", [](auto& w, auto v) { w.roundCorner = ParseSize(v); }},
    {u"mininfo", [](auto& w, auto v) { w.minInfo = ParseSize(v); }},
    {u"maxinfo", [](auto& w, auto v) { w.maxInfo = ParseSize(v); }},
    {u"showdirty", [](auto& w, auto v) { w.showDirty = ParseBool(v); }},
    {u"alpha", [](auto& w, auto v) { w.alpha = std::clamp(ParseInt(v), 0, 255); }},
    {u"bktrans", [](auto& w, auto v) { w.backgroundTransparent = ParseBool(v); }},
    {u"defaultfontcolor", [](auto& w, auto v) { w.defaultFontColor = ParseColor(v); }},
    {u"disabledfontcolor", [](auto& w, auto v) { w.disabledFontColor = ParseColor(v); }},
    {u"linkfontcolor", [](auto& w, auto v) { w.linkFontColor = ParseColor(v); }},
    {u"linkhoverfontcolor", [](auto& w, auto v) { w.linkHoverFontColor = ParseColor(v); }},
    {u"selectedcolor", [](auto& w, auto v) { w.selectedColor = ParseColor(v); }},
};

}  // namespace

int CWindowUIManager::AddFont(std::u16string_view face, int size, bool bold, bool underline, bool italic)
{
    m_fonts.push_back({std::u16string(face), size, bold, underline, italic});
    return static_cast<int>(m_fonts.size()) - 1;
}

void CWindowUIManager::SetDefaultFont(std::u16string_view face, int size, bool bold, bool underline, bool italic)
{
    m_defaultFont = {std::u16string(face), size, bold, underline, italic};
}

const FontInfo* CWindowUIManager::GetFont(int index) const
{
    if (index < 0 || index >= GetFontCount())
        return &m_defaultFont;
    return &m_fonts[static_cast<size_t>(index)];
}

void CWindowUIManager::AddDefaultAttributeList(std::u16string_view tag, std::u16string_view list)
{
    m_defaultAttributes.insert_or_assign(std::u16string(tag), std::u16string(list));
}

const std::u16string& CWindowUIManager::GetDefaultAttributeList(std::u16string_view tag) const
{
    static const std::u16string kNone;
    const auto found = m_defaultAttributes.find(tag);
    return found == m_defaultAttributes.end() ? kNone : found->second;
}

bool CWindowUIManager::AddImage(std::u16string_view name, std::u16string_view resType, uint32_t mask)
{
    if (name.empty())
        return false;
    const auto [entry, added] = m_images.try_emplace(std::u16string(name));
    if (!added)
        return false;
    entry->second = {entry->first, std::u16string(resType), mask, nullptr, false, 0};
    LoadEntry(entry->second);
    return true;
}

const ImageEntry* CWindowUIManager::GetImage(std::u16string_view name) const
{
    const auto found = m_images.find(name);
    return found == m_images.end() ? nullptr : &found->second;
}

std::shared_ptr<const ImageData> CWindowUIManager::GetImageEx(std::u16string_view name, std::u16string_view resType,
                                                              uint32_t mask)
{
    auto found = m_images.find(name);
    if (found == m_images.end()) {
        AddImage(name, resType, mask);
        found = m_images.find(name);
        if (found == m_images.end())
            return nullptr;
    } else if (found->second.dropped) {
        LoadEntry(found->second);
    }
    found->second.lastUse = ++m_imageUses;
    return found->second.image;
}

void CWindowUIManager::RemoveImage(std::u16string_view name)
{
    const auto found = m_images.find(name);
    if (found != m_images.end())
        m_images.erase(found);
}

void CWindowUIManager::RemoveAllImages()
{
    m_images.clear();
}

void CWindowUIManager::LoadEntry(ImageEntry& entry)
{
    const ResourceLocation location = GetResourceLocation();
    ImageLoad loaded = LoadImage(entry.name, entry.resType, entry.mask, location);
    entry.dropped = false;
    entry.lastUse = ++m_imageUses;
    if (!loaded.image) {
        entry.image.reset();
        if (loaded.status == ImageStatus::TooLarge && m_imageRefused)
            m_imageRefused({DescribeImageSource(entry.name, entry.resType, location), loaded.width, loaded.height});
        return;
    }
    entry.image = std::make_shared<const ImageData>(std::move(*loaded.image));
    TrimImages(entry);
}

size_t CWindowUIManager::GetCachedImageBytes() const
{
    size_t bytes = 0;
    for (const auto& [name, entry] : m_images) {
        if (entry.image)
            bytes += entry.image->pixels.size() * sizeof(uint32_t);
    }
    return bytes;
}

void CWindowUIManager::TrimImages(const ImageEntry& keep)
{
    for (size_t cached = GetCachedImageBytes(); cached > kImageCacheBudget;) {
        ImageEntry* oldest = nullptr;
        for (auto& [name, entry] : m_images) {
            const bool droppable = &entry != &keep && entry.image && entry.image.use_count() == 1;
            if (droppable && (oldest == nullptr || entry.lastUse < oldest->lastUse))
                oldest = &entry;
        }
        if (oldest == nullptr)
            return;
        cached -= oldest->image->pixels.size() * sizeof(uint32_t);
        oldest->image.reset();
        oldest->dropped = true;
    }
}

void CWindowUIManager::ReloadImages()
{
    for (auto& [name, entry] : m_images) {
        if (!entry.dropped)
            LoadEntry(entry);
    }
    Invalidate();
}

void CWindowUIManager::ShareSkin(const CWindowUIManager& owner)
{
    m_resourcePath = owner.m_resourcePath;
    m_resourceZip = owner.m_resourceZip;
    m_imageRefused = owner.m_imageRefused;
}

ResourceLocation CWindowUIManager::GetResourceLocation() const
{
    ResourceLocation location{m_resourcePath, m_resourceZip};
    if (!m_resourceZip.empty() && m_resourceZip.front() != '/' && !m_resourcePath.empty())
        location.zipFile = m_resourcePath + "/" + m_resourceZip;
    return location;
}

void CWindowUIManager::InitControls(CControlUI* root, CControlUI* parent)
{
    if (!root)
        return;
    root->SetManager(this, parent);
    IndexNames(root);
}

// Walks the subtree without recursion, so that deep trees cannot exhaust the stack.
void CWindowUIManager::IndexNames(CControlUI* root)
{
    std::vector<CControlUI*> pending{root};
    while (!pending.empty()) {
        CControlUI* control = pending.back();
        pending.pop_back();
        IndexName(control);
        if (IContainerUI* container = control->GetContainer()) {
            for (int i = container->GetCount() - 1; i >= 0; --i)
                pending.push_back(container->GetItemAt(i));
        }
    }
}

// A control indexed already stays where it is.
void CWindowUIManager::IndexName(CControlUI* control)
{
    if (control->GetName().empty() || m_nameOrder.contains(control))
        return;
    const uint64_t order = m_nextNameOrder++;
    m_nameOrder.emplace(control, order);
    m_names[control->GetName()].emplace(order, control);
}

void CWindowUIManager::UnindexName(const CControlUI* control, std::u16string_view name)
{
    const auto order = m_nameOrder.find(control);
    if (order == m_nameOrder.end())
        return;
    const auto holders = m_names.find(name);
    if (holders != m_names.end()) {
        holders->second.erase(order->second);
        if (holders->second.empty())
            m_names.erase(holders);
    }
    m_nameOrder.erase(order);
}

CControlUI* CWindowUIManager::FindControl(std::u16string_view name) const
{
    const auto found = m_names.find(name);
    return found == m_names.end() ? nullptr : found->second.begin()->second;
}

CControlUI* CWindowUIManager::FindSubControl(CControlUI* parent, std::u16string_view name)
{
    std::vector<CControlUI*> pending;
    if (parent != nullptr)
        pending.push_back(parent);
    while (!pending.empty()) {
        CControlUI* control = pending.back();
        pending.pop_back();
        if (control->GetName() == name)
            return control;
        if (IContainerUI* container = control->GetContainer()) {
            for (int i = container->GetCount() - 1; i >= 0; --i)
                pending.push_back(container->GetItemAt(i));
        }
    }
    return nullptr;
}

void CWindowUIManager::RenameControl(CControlUI* control, std::u16string_view oldName)
{
    if (control == nullptr || control->GetManager() != this)
        return;
    UnindexName(control, oldName);
    IndexName(control);
}

bool CWindowUIManager::AddOptionGroup(std::u16string_view group, CControlUI* control)
{
    if (group.empty() || !control)
        return false;
    auto& members = m_optionGroups[std::u16string(group)];
    if (std::find(members.begin(), members.end(), control) != members.end())
        return false;
    members.push_back(control);
    return true;
}

void CWindowUIManager::RemoveOptionGroup(std::u16string_view group, CControlUI* control)
{
    const auto found = m_optionGroups.find(group);
    if (found == m_optionGroups.end())
        return;
    std::erase(found->second, control);
    if (found->second.empty())
        m_optionGroups.erase(found);
}

std::span<CControlUI* const> CWindowUIManager::GetOptionGroup(std::u16string_view group) const
{
    const auto found = m_optionGroups.find(group);
    if (found == m_optionGroups.end())
        return {};
    return found->second;
}

void CWindowUIManager::ForgetControl(const CControlUI* control)
{
    ForgetInMessages(control);
    if (control == m_root)
        m_root = nullptr;
    UnindexName(control, control->GetName());
    for (auto group = m_optionGroups.begin(); group != m_optionGroups.end();) {
        std::erase(group->second, control);
        group = group->second.empty() ? m_optionGroups.erase(group) : std::next(group);
    }
}

void CWindowUIManager::SetWindowAttribute(std::u16string_view name, std::u16string_view value)
{
    ApplyFromTable(kWindowAttributes, m_window, name, value);
    if (name == u"size")
        ApplyInitialSize();
    else if (name == u"alpha")
        ApplyAlpha();
}

// The client size the layout asks for; the window keeps its position.
void CWindowUIManager::ApplyInitialSize()
{
    const UISize size = m_window.initialSize;
    if (m_system == nullptr || !m_system->IsWindow(m_nativeWindow) || size.cx <= 0 || size.cy <= 0)
        return;
    const platform::Rect rect = m_system->GetWindowRect(m_nativeWindow);
    m_system->MoveWindow(m_nativeWindow, {rect.left, rect.top, rect.left + size.cx, rect.top + size.cy});
}

// Where the desktop cannot blend windows the window stays opaque.
void CWindowUIManager::ApplyAlpha()
{
    if (m_system != nullptr && m_system->IsWindow(m_nativeWindow))
        m_system->SetWindowOpacity(m_nativeWindow, static_cast<uint8_t>(m_window.alpha));
}

}  // namespace SkinUI
