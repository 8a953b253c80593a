// The identification procedures against the virtual drive's motors: the
// induction motor's whole run with its report, the permanent-magnet motor's
// run, the final controller setting, the family's parameters, and the ends
// of a run that fails.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "motor/datalogger/data_logger.h"
#include "motor/ident/ident_parameters.h"
#include "motor/ident/ident_procedures.h"
#include "motor/ident/tests/ident_fixture.h"
#include "motor/numerics/controller_settings.h"
#include "platform/base/format.h"
#include "sim/drive_faults.h"
#include "testsupport/test_env.h"
#include "toolkit/core/gw_recorder.h"
#include "toolkit/core/gw_toggle.h"
#include "toolkit/testdriver/gw_test_driver.h"

namespace identtest {
namespace {

constexpr int kNo = 7;

bool Near(double actual, double expected, double relative) {
    return std::fabs(actual - expected) <= relative * std::fabs(expected);
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

bool HasLine(const std::string& text, const std::string& line) {
    const std::vector<std::string> lines = Lines(text);
    return std::find(lines.begin(), lines.end(), line) != lines.end();
}

// The rows of the table under `heading`, with the decimal commas read.
std::vector<std::vector<double>> Table(const std::string& text, const std::string& heading, size_t rows) {
    const std::vector<std::string> lines = Lines(text);
    std::vector<std::vector<double>> table;
    const auto at = std::find(lines.begin(), lines.end(), heading);
    if (at == lines.end() || lines.end() - at < static_cast<long>(rows + 2)) return table;
    for (size_t i = 0; i < rows; ++i) {
        std::string row = *(at + 2 + static_cast<long>(i));
        std::replace(row.begin(), row.end(), ',', '.');
        std::istringstream in(row);
        std::vector<double> values;
        for (std::string cell; std::getline(in, cell, '\t');) values.push_back(std::stod(cell));
        table.push_back(values);
    }
    return table;
}

class RunTest : public IdentTest {
public:
    explicit RunTest(uint16_t type = kPescoType) : IdentTest(type) {}
    // The index of the first (or last) write that begins with `prefix`.
    long FirstWrite(const std::vector<std::string>& writes, const std::string& prefix) {
        for (size_t i = 0; i < writes.size(); ++i) {
            if (writes[i].rfind(prefix, 0) == 0) return static_cast<long>(i);
        }
        return -1;
    }
    long LastWrite(const std::vector<std::string>& writes, const std::string& prefix) {
        for (size_t i = writes.size(); i > 0; --i) {
            if (writes[i - 1].rfind(prefix, 0) == 0) return static_cast<long>(i - 1);
        }
        return -1;
    }
    // The progress window's life: shown, its first text, the highest value
    // its indicator showed, destroyed.
    static std::vector<std::string> ProgressWindowLife() {
        std::vector<std::string> life;
        std::string text;
        double highest = -1;
        for (const GwEffect& e : GwRecorder::Effects()) {
            if (e.widget == "MainWindow.ProgressMessage" && (e.what == "show" || e.what == "destroy")) {
                if (e.what == "destroy") {
                    life.push_back(text);
                    life.push_back(platform::Format("%g", highest));
                }
                life.push_back(e.what);
            }
            if (e.widget == "MainWindow.ProgressMessage.Message" && text.empty()) text = e.value;
            if (e.widget == "MainWindow.ProgressMessage.Indicator") highest = std::max(highest, std::stod(e.value));
        }
        return life;
    }
    // The start callback; "No" to storing the results.
    int StartAndKeep() {
        gwtest::AnswerBox(kNo);
        return Start();
    }
};

class RuvexRunTest : public RunTest {
public:
    RuvexRunTest() : RunTest(kRuvexType) {}
};

TEST_F(RunTest, TheInductionMotorIsIdentifiedAndReported) {
    Open();
    GwRecorder::Clear();
    EXPECT_EQ(StartAndKeep(), 1);
    EXPECT_EQ(BoxTexts(), std::vector<std::string>{"question: Store the identified values in the device?"});

    // One first step, then 40 measurements, each after a reset.
    std::vector<double> commands = {3.0};
    commands.insert(commands.end(), 40, 2.0);
    EXPECT_EQ(Unit().step_commands, commands);
    const std::vector<std::string> heard = Heard();
    EXPECT_EQ(Count(heard, W(120, 1.0f)), 41u);
    // The sweep: 20 frequencies from 0.1 rising by 1.43, three whole periods
    // or more each.
    const std::vector<float> frequencies = WrittenValues(44);
    const std::vector<float> durations = WrittenValues(43, 2);
    ASSERT_EQ(frequencies.size(), 40u);
    ASSERT_EQ(durations.size(), 40u);
    double f = 0.10000000149011612;
    for (size_t k = 0; k < 20; ++k) {
        EXPECT_EQ(frequencies[k], static_cast<float>(f)) << k;
        EXPECT_EQ(durations[k], static_cast<float>(std::ceil(3.0 * f) / f)) << k;
        f *= 1.43;
    }

    // The equivalent circuit.
    EXPECT_EQ(WrittenValues(844), std::vector<float>{2.0f});
    EXPECT_TRUE(Near(Value(842), 1.0, 1e-6)) << Value(842);
    EXPECT_TRUE(Near(Value(843), 0.8, 1e-6)) << Value(843);
    EXPECT_TRUE(Near(Value(841), 0.01, 1e-6)) << Value(841);
    const std::vector<std::string> writes = Writes();
    const long leakage = FirstWrite(writes, "W 20845=");
    ASSERT_GE(leakage, 0);
    EXPECT_TRUE(Near(WrittenValues(845).front(), 0.15, 1e-5));
    EXPECT_LT(leakage, FirstWrite(writes, WE(42, 1, 0.0f)));
    EXPECT_EQ(Count(writes, W(838, 1.0f)), 1u);
    // The final setting after the drive's current controller.
    const long ectf = FirstWrite(writes, W(818, 1.0f));
    EXPECT_LT(LastWrite(writes, "W 20800="), ectf);
    EXPECT_LT(LastWrite(writes, "W 20801="), ectf);
    EXPECT_LT(ectf, FirstWrite(writes, "W 20810="));
    EXPECT_LT(FirstWrite(writes, "W 20810="), FirstWrite(writes, "W 20812="));
    EXPECT_LT(FirstWrite(writes, "W 20812="), FirstWrite(writes, "W 20473="));

    // The report.
    const std::string log = IdentLog();
    for (const char* line : {
             "+--------------------------------------------------------------+",
             "|                 Start der Motoridentifikation                |",
             "|                         Asynchronmotor                       |",
             "Firmware Version 2.15- 3",
             "Eingabe:   Motorart                  CFMOT = AS",
             "Eingabe:   Nennleistung              MOPNM = 4000 W",
             "Eingabe:   Nenndrehzahl              MOSNM = 1450 /min",
             "Berechnet: Nennmoment                MOMNM = 26.3429 Nm",
             "Eingabe:   Nennfrequenz              MOFN  = 50 Hz",
             "Berechnet: Polpaarzahl               MONPP = 2",
             "Eingabe:   Nennspannung              MOVNM = 400 V",
             "Eingabe:   Nennstrom                 MOCNM = 8 A",
             "Vorläufige Inbetriebnahme des Stromreglers",
             "           Stromregler Verstärkung   CCG   = 12.5 V/A",
             "           Stromregler Nachstellzeit CCTLG = 1.25 ms",
             "Messung der Übertragungsfunktion: Daten zur Reproduktion:",
             "sc_frequency =\tsc_real =\tsc_imag =",
             "Lh-Messung: Daten zur Reproduktion:",
             "Endgültiges Polynom für differenzielle Hauptinduktivität",
             "Arbeitspunktberechnung",
             "Endgültige Regler-Einstellung",
             "Identifikation erfolgreich beendet",
         }) {
        EXPECT_TRUE(HasLine(log, line)) << line;
    }
    EXPECT_EQ(log.find("Plausibiltaetsfehler"), std::string::npos);
    EXPECT_EQ(log.find("Abbruch"), std::string::npos);
    const std::vector<std::vector<double>> sweep = Table(log, "sc_frequency =\tsc_real =\tsc_imag =", 20);
    ASSERT_EQ(sweep.size(), 20u);
    const std::vector<std::string> lines = Lines(log);
    const auto sweepHeading = std::find(lines.begin(), lines.end(), "sc_frequency =\tsc_real =\tsc_imag =");
    ASSERT_NE(sweepHeading, lines.end());
    EXPECT_EQ(*(sweepHeading + 1), "");
    EXPECT_EQ((sweepHeading + 2)->rfind("0,1000000015\t", 0), 0u) << *(sweepHeading + 2);
    EXPECT_NEAR(sweep[19][0], frequencies[19], 1e-4);
    // The check table's measured inductance is the motor's at that current.
    const std::vector<std::vector<double>> check =
        Table(log, "Isd(1) [Apeak]\tLmag_sin_meas [H]\tFreq_meas [Hz]\tIsd(2) [Apeak]\tLmag_ampl_poly [H]", 20);
    ASSERT_EQ(check.size(), 20u);
    bool aboveKnee = false;
    for (const std::vector<double>& row : check) {
        ASSERT_EQ(row.size(), 5u);
        const double expected = Unit().motor.MagnetisingAt(row[0]);
        aboveKnee = aboveKnee || row[0] > Unit().motor.knee;
        EXPECT_TRUE(Near(row[1], expected, 1e-6)) << row[0] << " " << row[1] << " " << expected;
    }
    EXPECT_TRUE(aboveKnee);
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines.back().substr(lines.back().find('\t')), "\t*** Log out ***");

    // The progress window of the run came, ran to its end and went.
    EXPECT_EQ(ProgressWindowLife(), (std::vector<std::string>{"show", "Identifying the motor ...", "20", "destroy"}));
}

}  // namespace
}  // namespace identtest
