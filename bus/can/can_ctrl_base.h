// The process-data side of a CAN bus: emergency messages, two PDOs in each
// direction, NMT commands and node guarding. The base does nothing.
#pragma once

#include <cstdint>

#include "bus/base/new_bus.h"
#include "bus/can/can_drv_base.h"

// What an emergency message hands out: its data bytes 3 and 4, and a zero.
struct CanEmergencyRecord {
    uint32_t values[3] = {};
};

// Node states GetNodeState reports.
inline constexpr int kCanNodeStateUnknown = 0;
inline constexpr int kCanNodeStateOperational = 2;
inline constexpr int kCanNodeStatePreOperational = 3;

class CCanCtrlBase {
public:
    virtual ~CCanCtrlBase() = default;

    virtual bool ReadEmergency(CanEmergencyRecord& record);
    // Eight data bytes of the last PDO received.
    virtual bool ReadPdoIn1(CanDataValues& data);
    // As many data bytes as the last PDO carried.
    virtual bool ReadPdoIn2(CanDataValues& data);
    virtual bool WritePdoOut1(const CanDataValues& data);
    virtual bool WritePdoOut2(const CanDataValues& data);
    // NMT commands to all nodes.
    virtual bool StartNode();
    virtual bool EnterPreOperational();
    virtual int GetNodeState();
    virtual bool StartNodeGuarding();

protected:
    // The adapter driver; not owned.
    CCanDrvBase* driver_ = nullptr;
};

// A CAN bus: the bus interface and the process-data interface together.
class CCanBusBase : public NewBus, public CCanCtrlBase {};
