// Set-up of the plot window's tests: the shipped definitions, main profile
// and message texts, a shown main window, the plot callbacks registered, and
// helpers that write plot file pairs and open the window.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

class GwCore;
class GwDrawing;

namespace plottest {

inline constexpr char kTriggerLines[] =
    "Triggerchannel:  0\nTriggervariable: Speed\nTriggervalue:    0.000000 1/min\nTriggermode:     Automatik\n";

// A ".sdc" text of channel lines and the trigger lines.
std::string Sdc(const std::string& channels);
// `rows` samples 0, 1, ... of one value column per entry of `values`.
std::string Dat(int rows, const std::vector<double>& values);

class PlotTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Writes "<relative>.dat" and "<relative>.sdc" under the run-time root.
    static void WritePair(const std::string& relative, const std::string& dat, const std::string& sdc);
    // The scratch pair "TMP/Scope".
    static void WriteScratch(const std::string& dat, const std::string& sdc);
    // Appends lines to the main profile and reopens it.
    static void UseProfileLines(const std::string& lines);
    // The scratch pair with one left channel, shown in the built-in window.
    GwCore* OpenScratchWindow();
    static GwCore* PlotWindow();
    static GwDrawing* Drawing();
    static std::vector<std::string> DrawingOps();
    static std::vector<std::string> BoxTexts();

    GwCore* main_ = nullptr;

private:
    std::string shippedProfile_;
};

}  // namespace plottest
