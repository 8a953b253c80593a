// The base of buses without telegrams of their own for parameter
// descriptions, value texts and sample blocks: these go through request
// parameters of the device and the six value and block operations.
#pragma once

#include "bus/base/basic_bus.h"

// Device parameters used as request registers.
inline constexpr int kDescriptionRequestParameter = 34;
inline constexpr int kValueTextRequestParameter = 35;
inline constexpr int kSampleBlockParameter = 37;
inline constexpr int kUnitTextParameter = 107;
inline constexpr int kValueIndexParameter = 108;

class NewBus : public DataBus {
public:
    // Writes the number to parameter 34 and reads the description record
    // back from it.
    bool ReadParameterInfo(int number, ParameterEntry& entry, bool& notPresent, int address) override;
    // Names the parameter in 35, writes the index to 108 and reads the text
    // from 35. Returns the text, or null (and an empty text) when one of the
    // three fails.
    const char* ReadValueText(int number, uint8_t index, dstring& text, int address) override;
    // Reads bytes of parameter 37 from element 0; an empty block is the last.
    bool ReadSampleBlock(uint8_t* destination, uint16_t& count, bool& lastBlock, int address) override;
};
