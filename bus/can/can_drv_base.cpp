#include "bus/can/can_drv_base.h"

void CCanDrvBase::GetVersionInfo(char*) {}

int CCanDrvBase::Init(const CanAdapterSettings&) { return kCanDriverOk; }

int CCanDrvBase::InitBaud(int32_t) { return kCanDriverOk; }

void CCanDrvBase::Close() {}

bool CCanDrvBase::IsBusOff() { return true; }

void CCanDrvBase::SetMessageObject(int, uint32_t, int, const CanDataValues&) {}

bool CCanDrvBase::ReadMessageObject(int, int&, CanDataValues&) { return false; }

int CCanDrvBase::ReadMonitorEntry(uint32_t&, int&, CanDataValues&) { return 0; }

uint32_t CCanDrvBase::SendMessageObject(int) { return kCanLibraryOk; }

uint32_t CCanDrvBase::AdapterStatus() { return 0; }

int CCanDrvBase::ReceiveDescriptor() { return -1; }
