// The program-log line with which the whole-table and file-set operations of
// a parameter base start: "ParaBase->" + operation + ": " + path.
#pragma once

#include <string>

#include "motor/datalogger/data_logger.h"

inline void LogParaBaseOperation(const char* operation, const char* path = "") {
    TheDataLogger().WriteEntry(std::string("ParaBase->") + operation + ": " + (path != nullptr ? path : ""));
}
