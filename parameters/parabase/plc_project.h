// Whether a parameter base belongs to a device that carries a PLC project.
#pragma once

class ParaBase;

// The parameter that names the device's PLC project.
inline constexpr int kPlcProjectParameter = 468;
inline constexpr char kPlcProjectName[] = "PLCPJ";

// True when parameter 468 is present (number and valid mark set) and its name
// is exactly "PLCPJ". False for a null base.
bool HasPlcProject(const ParaBase* base);
