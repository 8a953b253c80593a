// Which viewer gets a recording: the built-in plot window or an outside plot
// program, as [Options] of the main profile names it.
#pragma once

#include <string>

// [Options] "PlotTool": "intern" when missing.
std::string GetPlotTool();
void SetPlotTool(const std::string& tool);
// [Options] "ExternalPlotTool": empty when missing.
std::string GetExternalPlotTool();
void SetExternalPlotTool(const std::string& path);
// The external tool's path when "PlotTool" is exactly "extern", else the
// "PlotTool" value.
std::string GetPlotToolToUse();
