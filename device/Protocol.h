// Constants of the Vimo's HID protocol: identification, report ids and sizes,
// command codes, value tables. One place for every number of the wire.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace device {

// The program and the hidlink library speak the same command set with a few
// differences (block read lengths, foreign-report skipping, pauses, macro
// event codes). Every place that differs asks for the variant.
enum class ProtocolVariant : uint8_t { Program, Library };

inline constexpr uint16_t kVendorId = 0x251F;
inline constexpr uint16_t kProductId = 0x1014;
inline constexpr uint16_t kCommandUsagePage = 0xFF01;
inline constexpr uint16_t kCommandUsage = 0x0001;
inline constexpr uint16_t kDataUsagePage = 0xFF03;
inline constexpr uint16_t kDataUsage = 0xFF00;

inline constexpr size_t kReportSize = 8;
inline constexpr size_t kDataBytesPerReport = 7;  // bytes 1..7 of a data report
inline constexpr uint8_t kFeatureReportId = 7;
inline constexpr uint8_t kDataReportId = 9;
using ReportBuffer = std::array<uint8_t, kReportSize>;

inline constexpr int kAttemptsPerReport = 3;
inline constexpr unsigned kPauseAfterReportMs = 5;
inline constexpr unsigned kPauseBeforeBlockReadMs = 50;
inline constexpr unsigned kPauseBeforeMacroWriteMs = 20;
// A block read takes its whole input run within this one deadline.
inline constexpr unsigned kInputRunDeadlineMs = 1000;
// Input reports of one run reach the host a few ms apart (interrupt IN);
// a queue quiet for this long holds nothing more of the run.
inline constexpr unsigned kInputQuietMs = 20;
// Room for one input report as the host hands it over; a report of another
// length than 8 belongs to another collection of the same node.
inline constexpr size_t kMaxInputReportSize = 64;
// A drain gives up after this many reports, so that a device that never
// stops sending cannot hold the caller.
inline constexpr size_t kMaxDrainReports = 1024;
// What a foreign report of another length is stored as: never a data report.
inline constexpr uint8_t kForeignReportMark = 0;
inline constexpr unsigned kMacroReadQueueLength = 512;

// Byte 1 of the command feature report.
namespace cmd {
inline constexpr uint8_t SetLedSwitch = 0x04;
inline constexpr uint8_t GetLedState = 0x84;
inline constexpr uint8_t GetProfileFlags = 0x0F;
inline constexpr uint8_t SetProfileFlags = 0x6E;
inline constexpr uint8_t GetCurrentProfile = 0x5C;
inline constexpr uint8_t SetCurrentProfile = 0x7C;
inline constexpr uint8_t GetFirmwareVersion = 0x5E;
inline constexpr uint8_t BeginTransfer = 0x79;
inline constexpr uint8_t GetReportRate = 0x5D;
inline constexpr uint8_t SetReportRate = 0x7D;
inline constexpr uint8_t GetPowerSave = 0x53;
inline constexpr uint8_t SetPowerSave = 0x73;
inline constexpr uint8_t SetProfileColour = 0x76;
inline constexpr uint8_t SetProfileAux = 0x74;
inline constexpr uint8_t ReadStageCodes = 0x57;
inline constexpr uint8_t WriteStageCodes = 0x77;
inline constexpr uint8_t ReadKeyTable = 0x5B;
inline constexpr uint8_t WriteKeyTable = 0x7B;
inline constexpr uint8_t ReadKeyComboTable = 0x44;
inline constexpr uint8_t WriteKeyComboTable = 0x6F;
inline constexpr uint8_t ReadMacroSlot = 0x5A;
inline constexpr uint8_t WriteMacroSlot = 0x7A;
}  // namespace cmd

// Fixed bytes that some commands carry; sent exactly as the mouse expects.
inline constexpr uint8_t kStageBlockTag = 0x10;
inline constexpr uint8_t kTableBlockTag = 0x28;
inline constexpr uint8_t kAuxValue = 0x10;
inline constexpr uint8_t kMacroReadTag0 = 0x18;
inline constexpr uint8_t kMacroReadTag1 = 0x10;

inline constexpr int kProfileCount = 5;
inline constexpr int kButtonCount = 7;
inline constexpr int kKeyTableEntries = 10;
inline constexpr int kKeyTableEntriesRead = 9;
inline constexpr size_t kKeyEntrySize = 4;
inline constexpr size_t kComboSlotSize = 7;
inline constexpr int kMacroSlots = 9;
inline constexpr size_t kMacroSlotWriteSize = 245;  // 35 reports of 7 bytes
inline constexpr size_t kMacroSlotReadSize = 242;   // header + 80 events
inline constexpr int kMacroWriteReports = 35;
inline constexpr int kMacroReadReports = 36;
inline constexpr int kMacroEventsRead = 80;
inline constexpr size_t kMacroScratchSize = 770;
inline constexpr size_t kStageRunReports = 2;
inline constexpr size_t kMaxRunReports = 10;  // the longest key/combination run
// Room in a run buffer for foreign reports besides the block's own.
inline constexpr size_t kForeignReportRoom = 8;

// Button j of a profile uses key-table entry, key-combination slot and macro
// slot kButtonSlot[j].
inline constexpr std::array<uint8_t, kButtonCount> kButtonSlot = {0, 2, 1, 6, 3, 5, 4};

struct Rgb {
    uint8_t r, g, b;
};
inline constexpr std::array<Rgb, kProfileCount> kProfileColours = {{
    {255, 0, 0}, {255, 255, 0}, {0, 255, 255}, {0, 255, 0}, {128, 0, 255},
}};

inline constexpr uint8_t kLedDark = 0x00;
inline constexpr uint8_t kLedLit = 0xFF;

// Report-rate wire codes 0..3 and their record bytes (125, 250, 500, 1000 Hz).
inline constexpr uint8_t kMaxReportRateCode = 3;
inline constexpr std::array<uint8_t, 4> kRateRecordByteForCode = {5, 3, 2, 1};
inline constexpr std::array<unsigned, 4> kRateHzForCode = {125, 250, 500, 1000};
// Power-save wire codes 0..2 and their seconds.
inline constexpr std::array<uint8_t, 3> kPowerSaveSecondsForCode = {0, 60, 120};

}  // namespace device
