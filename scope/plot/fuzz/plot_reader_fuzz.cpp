// Fuzz target of the plot reader: the input is split at its first NUL byte
// into a ".dat" and a ".sdc" file, which are loaded and scaled. Any bytes end
// in a loaded or refused plot, never a crash or undefined arithmetic.
#include <cstddef>
#include <cstdint>
#include <fstream>
#include <string>

#include "platform/files/paths.h"
#include "scope/plot/plot_data.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string input(reinterpret_cast<const char*>(data), size);
    const size_t split = input.find('\0');
    const std::string dat = input.substr(0, split);
    const std::string sdc = split == std::string::npos ? std::string() : input.substr(split + 1);
    std::ofstream(platform::ResolveForWrite("fuzzplot.dat"), std::ios::binary) << dat;
    std::ofstream(platform::ResolveForWrite("fuzzplot.sdc"), std::ios::binary) << sdc;
    PlotData plot;
    if (plot.Load("fuzzplot.dat")) plot.ApplyNiceScale(10, 10);
    return 0;
}
