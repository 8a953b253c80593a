// Fuzz target of the plot reader: the input is split at its first NUL byte
// into a ".dat" and a ".sdc" file, which are loaded, scaled and drawn. Any
// bytes end in a refused or a drawn plot, never a crash or undefined
// arithmetic.
#include <cstddef>
#include <cstdint>
#include <fstream>
#include <memory>
#include <string>

#include "platform/files/paths.h"
#include "scope/plot/plot_data.h"
#include "scope/plot/plot_state.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string input(reinterpret_cast<const char*>(data), size);
    const size_t split = input.find('\0');
    const std::string dat = input.substr(0, split);
    const std::string sdc = split == std::string::npos ? std::string() : input.substr(split + 1);
    std::ofstream(platform::ResolveForWrite("fuzzplot.dat"), std::ios::binary) << dat;
    std::ofstream(platform::ResolveForWrite("fuzzplot.sdc"), std::ios::binary) << sdc;
    auto plot = std::make_unique<PlotData>();
    if (!plot->Load("fuzzplot.dat")) return 0;
    // A loaded plot is also drawn, as the window would.
    PlotState().Plot = std::move(plot);
    PlotState().View = std::make_unique<PlotView>();
    GwDeviceContext dc(kGwScreenDpi, GwDimension{720, 480});
    PlotState().View->Layout(&dc);
    PlotState().View->DrawCurves(&dc);
    PlotState() = PlotWindowState{};
    return 0;
}
