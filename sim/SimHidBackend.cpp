#include "sim/SimHidBackend.h"

#include "sim/SimHidDevice.h"

#include <array>

namespace sim {
namespace {

struct CollectionEntry {
    Collection collection;
    uint16_t usagePage;
    uint16_t usage;
    const char* path;
};

constexpr std::array<CollectionEntry, 2> kCollections = {{
    {Collection::Command, 0xFF01, 0x0001, SimHidBackend::kCommandPath},
    {Collection::Data, 0xFF03, 0xFF00, SimHidBackend::kDataPath},
}};

const CollectionEntry* FindByPath(const std::string& path)
{
    for (const CollectionEntry& entry : kCollections) {
        if (path == entry.path)
            return &entry;
    }
    return nullptr;
}

}  // namespace

std::vector<platform::HidCollectionInfo> SimHidBackend::Enumerate()
{
    std::vector<platform::HidCollectionInfo> list;
    if (!mouse_.Plugged())
        return list;
    for (const CollectionEntry& entry : kCollections) {
        const char* path = mouse_.SharedNode() ? kNodePath : entry.path;
        if (mouse_.Exposed(entry.collection))
            list.push_back({kVendorId, kProductId, entry.usagePage, entry.usage, path, true});
    }
    return list;
}

std::unique_ptr<platform::HidDevice> SimHidBackend::Open(const std::string& path)
{
    const bool wholeNode = mouse_.SharedNode() && path == kNodePath;
    const CollectionEntry* entry = wholeNode ? &kCollections[1] : FindByPath(path);
    if (mouse_.SharedNode() && !wholeNode)
        entry = nullptr;
    if (entry == nullptr || !mouse_.Plugged() || !mouse_.Exposed(entry->collection)) {
        lastError_ = platform::HidOpenError::NotFound;
        return nullptr;
    }
    if (mouse_.AccessDenied()) {
        lastError_ = platform::HidOpenError::AccessDenied;
        return nullptr;
    }
    lastError_ = platform::HidOpenError::None;
    return std::make_unique<SimHidDevice>(mouse_, entry->collection, wholeNode);
}

}  // namespace sim
