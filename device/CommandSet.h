// Every command of the mouse, byte for byte, with its pacing. One command set
// serves both the program and the hidlink library; the variant chooses where
// the two differ.
#pragma once

#include "device/DeviceLink.h"
#include "device/ProfileBlocks.h"

#include <array>

namespace device {

using ProfileFlagSet = std::array<uint8_t, kProfileCount>;
using StageData = std::array<uint8_t, 6>;

class CommandSet {
public:
    CommandSet(DeviceLink& link, ProtocolVariant variant) : link_(link), variant_(variant) {}

    ProtocolVariant Variant() const { return variant_; }
    DeviceLink& Link() { return link_; }

    // Commands that open the link on demand.
    bool SetLedSwitch(uint8_t state, uint8_t ambient);
    bool GetLedState(uint8_t& state, uint8_t& ambient);
    bool GetCurrentProfile(uint8_t& profile);
    bool SetCurrentProfile(uint8_t p);
    bool GetFirmwareVersion(int& version);
    bool BeginTransfer();

    // Commands that assume an open link.
    bool GetProfileFlags(ProfileFlagSet& flags);
    bool SetProfileFlags(const ProfileFlagSet& flags);
    bool ProfileFlags(bool read, ProfileFlagSet& flags);
    bool GetReportRate(uint8_t& code);
    bool SetReportRate(uint8_t p, uint8_t code);
    bool GetPowerSave(uint8_t p, uint8_t& code);
    bool SetPowerSave(uint8_t p, uint8_t code);
    bool SetProfileColour(uint8_t p);
    bool SetProfileAux(uint8_t p);
    bool ReadStageCodes(uint8_t p, StageData& codes);
    bool WriteStageCodes(uint8_t p, uint8_t c1, uint8_t c2, uint8_t c3, uint8_t c4);
    bool ReadKeyTable(uint8_t p, KeyTable& entries);
    bool WriteKeyTable(uint8_t p, const KeyTable& entries);
    bool ReadKeyComboTable(uint8_t p, KeyComboTable& slots);
    bool WriteKeyComboTable(const KeyComboTable& slots);
    bool ReadMacroSlots(uint8_t p, MacroReadBuffer& slots);
    bool WriteMacroSlot(uint8_t p, uint8_t m, const uint8_t* data);

private:
    static ReportBuffer Command(uint8_t code, uint8_t b2 = 0, uint8_t b3 = 0, uint8_t b4 = 0, uint8_t b5 = 0,
                                uint8_t b6 = 0, uint8_t b7 = 0);
    bool Query(const ReportBuffer& command, ReportBuffer& answer);
    bool OpenedQuery(const ReportBuffer& command, ReportBuffer& answer);
    bool OpenedSend(const ReportBuffer& command);
    bool BlockWrite(const ReportBuffer& command, const uint8_t* data, int reports, size_t bytesPerReport);
    // A block read: drains what is left of earlier runs, sends the command
    // and its get-feature, pauses (program) and reads the run (up to
    // runReports data reports, the longest the mouse sends), then copies the
    // data of its first `reports` data reports, bytesEach bytes each, into
    // out (at most outLength bytes). False only when a feature report failed;
    // a short run fills what arrived and leaves the rest of out as the caller
    // prepared it; a read that failed part-way leaves all of out so.
    bool BlockRead(const ReportBuffer& command, size_t runReports, int reports, size_t bytesEach, uint8_t* out,
                   size_t outLength);
    // Copies bytes 1..bytesEach of data report k (k < reports) of a run of
    // `received` reports one after another into out, at most outLength bytes.
    // The program skips reports whose id is not 9; the library takes report
    // k as the k-th report of the run.
    void PickData(const uint8_t* run, size_t received, int reports, size_t bytesEach, uint8_t* out,
                  size_t outLength) const;
    bool ReadOneMacroSlot(uint8_t p, uint8_t m, MacroSlotRead& slot);

    DeviceLink& link_;
    ProtocolVariant variant_;
};

}  // namespace device
