// What the application services need of the application object, which sits
// above the bus and parameter layers and fills this in once it exists. Until
// then (and in tests that install nothing) the services behave as with no bus,
// no parameter base and nothing to uncouple.
#pragma once

#include <cstdint>

class GwCore;
class ParaBase;

class ServicesHooks {
public:
    virtual ~ServicesHooks() = default;

    // Name of the active bus ("RS232", "CANOpen"), or null without one.
    virtual const char* ActiveBusName() = 0;
    // The active bus's current error text.
    virtual const char* ActiveBusErrorText() = 0;
    // The parameter base of the active device, or null.
    virtual ParaBase* ActiveParaBase() = 0;
    // The application's own working parameter base, or null.
    virtual ParaBase* WorkingParaBase() = 0;
    // The last error text of a parameter base (never null for a base).
    virtual const char* ParaBaseErrorText(ParaBase* base) = 0;
    // Whether the base reads through a bus.
    virtual bool ParaBaseHasBus(ParaBase* base) = 0;
    // Whether a window holds the parameter write lock.
    virtual bool IsParaWriteLockHeld() = 0;
    // Uncouples every device of the active bus now.
    virtual void UncoupleAllDevices() = 0;
    // Whether there is an active parameter base and it is online.
    virtual bool HasOnlineDevice() { return false; }
    // Baud rate of the active bus; 0 without one.
    virtual uint32_t ActiveBusBaudRate() { return 0; }
};

// Installs the hooks (not owned); null removes them.
void SetServicesHooks(ServicesHooks* hooks);
ServicesHooks* GetServicesHooks();

// The main window: the fallback parent of boxes and activity windows and the
// frame whose children the window list keeps. Null before it exists.
void SetMainWindow(GwCore* window);
GwCore* GetMainWindow();
