#include "device/DeviceRecognition.h"

#include "device/Protocol.h"

#include <optional>

namespace device {
namespace {

constexpr size_t kMaxHexDigits = 8;  // the kernel prints vendor and product as %08X

std::optional<unsigned> HexDigit(char c) {
    if (c >= '0' && c <= '9')
        return static_cast<unsigned>(c - '0');
    if (c >= 'A' && c <= 'F')
        return static_cast<unsigned>(c - 'A' + 10);
    if (c >= 'a' && c <= 'f')
        return static_cast<unsigned>(c - 'a' + 10);
    return std::nullopt;
}

// One field of 1 to 8 hex digits, nothing else.
std::optional<uint32_t> HexField(std::string_view field) {
    if (field.empty() || field.size() > kMaxHexDigits)
        return std::nullopt;
    uint32_t value = 0;
    for (char c : field) {
        const std::optional<unsigned> digit = HexDigit(c);
        if (!digit)
            return std::nullopt;
        value = value * 16 + *digit;
    }
    return value;
}

// Cuts the text up to the next ':' off the front of rest; the last field
// takes what is left.
std::string_view NextField(std::string_view& rest, bool last) {
    const size_t colon = last ? std::string_view::npos : rest.find(':');
    std::string_view field = rest.substr(0, colon);
    rest = colon == std::string_view::npos ? std::string_view{} : rest.substr(colon + 1);
    return field;
}

bool Fits16(const std::optional<uint32_t>& value) {
    return value && *value <= 0xFFFF;
}

}  // namespace

bool ParseHidId(std::string_view hidId, uint16_t& vendor, uint16_t& product) {
    std::string_view rest = hidId;
    const std::optional<uint32_t> bus = HexField(NextField(rest, false));
    const std::optional<uint32_t> vendorField = HexField(NextField(rest, false));
    const std::optional<uint32_t> productField = HexField(NextField(rest, true));
    if (!bus || !Fits16(vendorField) || !Fits16(productField))
        return false;
    vendor = static_cast<uint16_t>(*vendorField);
    product = static_cast<uint16_t>(*productField);
    return true;
}

bool IsVimoDevice(const platform::DeviceChange& change) {
    uint16_t vendor = 0;
    uint16_t product = 0;
    return ParseHidId(change.hidId, vendor, product) && vendor == kVendorId && product == kProductId;
}

}  // namespace device
