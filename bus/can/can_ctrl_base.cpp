#include "bus/can/can_ctrl_base.h"

bool CCanCtrlBase::ReadEmergency(CanEmergencyRecord&) { return false; }
bool CCanCtrlBase::ReadPdoIn1(CanDataValues&) { return false; }
bool CCanCtrlBase::ReadPdoIn2(CanDataValues&) { return false; }
bool CCanCtrlBase::WritePdoOut1(const CanDataValues&) { return false; }
bool CCanCtrlBase::WritePdoOut2(const CanDataValues&) { return false; }
bool CCanCtrlBase::StartNode() { return false; }
bool CCanCtrlBase::EnterPreOperational() { return false; }
int CCanCtrlBase::GetNodeState() { return kCanNodeStateUnknown; }
bool CCanCtrlBase::StartNodeGuarding() { return false; }
