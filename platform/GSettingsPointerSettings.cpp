#include "platform/GSettingsPointerSettings.h"

#include <gio/gio.h>
// For the in-memory store.
#define G_SETTINGS_ENABLE_BACKEND
#include <gio/gsettingsbackend.h>

#include <algorithm>
#include <climits>
#include <cmath>

namespace platform {
namespace {

constexpr const char* kMouseSchema = "org.gnome.desktop.peripherals.mouse";
constexpr const char* kDaemonMouseSchema = "org.gnome.settings-daemon.peripherals.mouse";
constexpr const char* kDoubleClickKey = "double-click";
constexpr const char* kSpeedKey = "speed";

constexpr unsigned kMinSpeed = 1;
constexpr unsigned kMaxSpeed = 20;

// The installed schema with this id, or null; the caller unrefs it.
GSettingsSchema* LookUpSchema(const char* id)
{
    GSettingsSchemaSource* source = g_settings_schema_source_get_default();
    if (source == nullptr)
        return nullptr;
    return g_settings_schema_source_lookup(source, id, TRUE);
}

bool HasKeyOfType(GSettingsSchema* schema, const char* key, const char* type)
{
    if (!g_settings_schema_has_key(schema, key))
        return false;
    GSettingsSchemaKey* schemaKey = g_settings_schema_get_key(schema, key);
    const bool matches = g_variant_type_equal(g_settings_schema_key_get_value_type(schemaKey),
                                              G_VARIANT_TYPE(type));
    g_settings_schema_key_unref(schemaKey);
    return matches;
}

// Settings for the schema when it is installed, has a fixed path, and has the
// key with the given type; otherwise null.
GSettings* OpenKey(const char* schemaId, const char* key, const char* type, GSettingsBackend* backend)
{
    GSettingsSchema* schema = LookUpSchema(schemaId);
    if (schema == nullptr)
        return nullptr;
    GSettings* settings = nullptr;
    if (g_settings_schema_get_path(schema) != nullptr && HasKeyOfType(schema, key, type))
        settings = g_settings_new_full(schema, backend, nullptr);
    g_settings_schema_unref(schema);
    return settings;
}

// Writes the value when the key's range allows it, and flushes it out.
void WriteInRange(GSettings* settings, const char* key, GVariant* value)
{
    g_variant_ref_sink(value);
    GSettingsSchema* schema = nullptr;
    g_object_get(settings, "settings-schema", &schema, nullptr);
    GSettingsSchemaKey* schemaKey = g_settings_schema_get_key(schema, key);
    if (g_settings_schema_key_range_check(schemaKey, value))
        g_settings_set_value(settings, key, value);
    g_settings_schema_key_unref(schemaKey);
    g_settings_schema_unref(schema);
    g_variant_unref(value);
    g_settings_sync();
}

}  // namespace

void GSettingsPointerSettings::Unref::operator()(GSettings* settings) const
{
    g_object_unref(settings);
}

GSettingsPointerSettings::GSettingsPointerSettings(const std::string& fallbackFile, Store store, FileSystem& files)
    : file_(fallbackFile, files)
{
    GSettingsBackend* backend = store == Store::InMemory ? g_memory_settings_backend_new() : nullptr;
    doubleClick_.reset(OpenKey(kMouseSchema, kDoubleClickKey, "i", backend));
    if (!doubleClick_)
        doubleClick_.reset(OpenKey(kDaemonMouseSchema, kDoubleClickKey, "i", backend));
    speed_.reset(OpenKey(kMouseSchema, kSpeedKey, "d", backend));
    if (backend != nullptr)
        g_object_unref(backend);
}

GSettingsPointerSettings::~GSettingsPointerSettings() = default;

void GSettingsPointerSettings::SetDoubleClickTime(unsigned milliseconds)
{
    if (!doubleClick_)
        return file_.SetDoubleClickTime(milliseconds);
    const auto value = static_cast<gint32>(std::min<unsigned>(milliseconds, INT_MAX));
    WriteInRange(doubleClick_.get(), kDoubleClickKey, g_variant_new_int32(value));
}

void GSettingsPointerSettings::SetWheelScrollLines(unsigned lines)
{
    file_.SetWheelScrollLines(lines);
}

void GSettingsPointerSettings::SetMouseSpeed(unsigned speed)
{
    if (!speed_)
        return file_.SetMouseSpeed(speed);
    WriteInRange(speed_.get(), kSpeedKey, g_variant_new_double(SpeedToDesktop(speed)));
}

unsigned GSettingsPointerSettings::DoubleClickTime()
{
    if (!doubleClick_)
        return file_.DoubleClickTime();
    return static_cast<unsigned>(std::max(g_settings_get_int(doubleClick_.get(), kDoubleClickKey), 0));
}

unsigned GSettingsPointerSettings::WheelScrollLines()
{
    return file_.WheelScrollLines();
}

unsigned GSettingsPointerSettings::MouseSpeed()
{
    if (!speed_)
        return file_.MouseSpeed();
    return SpeedFromDesktop(g_settings_get_double(speed_.get(), kSpeedKey));
}

bool GSettingsPointerSettings::MouseSchemaInstalled()
{
    GSettingsSchema* schema = LookUpSchema(kMouseSchema);
    if (schema == nullptr)
        return false;
    g_settings_schema_unref(schema);
    return true;
}

double GSettingsPointerSettings::SpeedToDesktop(unsigned speed)
{
    const unsigned clamped = std::clamp(speed, kMinSpeed, kMaxSpeed);
    return double(clamped - kMinSpeed) / double(kMaxSpeed - kMinSpeed) * 2.0 - 1.0;
}

unsigned GSettingsPointerSettings::SpeedFromDesktop(double value)
{
    if (std::isnan(value))
        value = 0.0;
    value = std::clamp(value, -1.0, 1.0);
    const double speed = std::round((value + 1.0) / 2.0 * double(kMaxSpeed - kMinSpeed) + kMinSpeed);
    return std::clamp(static_cast<unsigned>(speed), kMinSpeed, kMaxSpeed);
}

}  // namespace platform
