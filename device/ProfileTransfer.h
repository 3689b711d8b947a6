// Moves one whole profile between a host record and the mouse. The program's
// sequences carry everything the record holds; the library's carry a subset
// and handle the in-use flags of all five profiles when profile 4 is moved.
#pragma once

#include "device/CommandSet.h"
#include "device/DeviceProfileRecord.h"

#include <memory>

namespace device {

class ProfileTransfer {
public:
    explicit ProfileTransfer(CommandSet& commands);

    CommandSet& Commands() { return commands_; }

    // Program sequences, record in the program's layout. The read fills what
    // it gets and leaves the rest as the caller prepared it (normally zero).
    bool ReadProfileRecord(uint8_t p, DeviceProfileRecord& record);
    bool WriteProfileRecord(uint8_t p, const DeviceProfileRecord& record);

    // The sequence of the command set's variant over a record in that
    // variant's layout. In the library variant the call for profile 4 reads
    // or writes byte 1 of the four records that precede `record` in the
    // caller's array of five: the caller must pass such an array. A profile
    // number of 5 or more fails without sending anything.
    bool Read(uint8_t p, uint8_t* record);
    bool Write(uint8_t p, const uint8_t* record);

private:
    bool IsProgram() const { return commands_.Variant() == ProtocolVariant::Program; }

    // Opens the link and selects the profile.
    bool Begin(uint8_t p);

    // Read steps.
    bool ReadLedAmbient(RecordView& view);
    bool ReadRateAndPowerSave(uint8_t p, RecordView& view);
    bool ReadButtonBlocks(uint8_t p);
    void DecodeButtons(RecordView& view);
    void DecodeKeyButton(int j, RecordView& view);
    void DecodeMacroButton(int j, RecordView& view);
    bool ReadStageCodes(uint8_t p, RecordView& view);
    bool ReadInUseFlags(uint8_t p, RecordView& view);

    // Write steps.
    bool WriteLedAmbient(const RecordView& view);
    bool WriteRateAndPowerSave(uint8_t p, const RecordView& view);
    bool WriteKeyTable(uint8_t p, const RecordView& view);
    bool WriteKeyComboTable(const RecordView& view);
    bool WriteMacros(uint8_t p, const RecordView& view);
    bool WriteStageCodes(uint8_t p, const RecordView& view);
    bool WriteInUseFlags(uint8_t p, const RecordView& view);

    CommandSet& commands_;
    // Scratch blocks, cleared before every use.
    KeyTable keyTable_{};
    KeyComboTable comboTable_{};
    MacroScratch macroScratch_{};
    std::unique_ptr<MacroReadBuffer> macroRead_;
};

// Record byte 8 for a report-rate code, and the code for a record byte.
uint8_t RateRecordByte(uint8_t code);
uint8_t RateCode(uint8_t recordByte);
// Record byte 9 for a power-save code, and the code for a record byte.
uint8_t PowerSaveSeconds(uint8_t code);
uint8_t PowerSaveCode(uint8_t seconds);

}  // namespace device
