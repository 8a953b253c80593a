// The identification procedures against the virtual drive's motors: the
// induction motor's whole run with its report, the permanent-magnet motor's
// run, the final controller setting, the family's parameters, and the ends
// of a run that fails.
#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <filesystem>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "motor/datalogger/data_logger.h"
#include "motor/ident/ident_parameters.h"
#include "motor/ident/ident_procedures.h"
#include "motor/ident/tests/ident_fixture.h"
#include "motor/numerics/controller_settings.h"
#include "parameters/parabase/on_off_base.h"
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
    GwRecorder::Clear();
    Open();
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

TEST_F(RunTest, WithTheRatedTorqueGivenThePowerIsWrittenInKilowattsAndReportedInWatts) {
    SetValue(852, 26.3429f);
    SetValue(154, 0.0f);
    Unit().scripts.push_back({0, sim::MotorIdentFault::kFail});  // ends the run after the rated data
    Open();
    dynamic_cast<GwToggle*>(DeviceWindowTest::W("RatedTorque"))->set_checked(true);
    EXPECT_EQ(Start(), 0);
    const std::vector<float> power = WrittenValues(154);
    ASSERT_EQ(power.size(), 1u);
    EXPECT_TRUE(Near(power[0], 4.0, 1e-5)) << power[0];
    EXPECT_EQ(WrittenValues(852), std::vector<float>{});
    const std::string log = IdentLog();
    EXPECT_TRUE(HasLine(log, "Eingabe:   Nennleistung              MOPNM = 4000 W"));
    EXPECT_TRUE(HasLine(log, "Berechnet: Nennmoment                MOMNM = 26.3429 Nm"));
}

TEST_F(RunTest, ThePermanentMagnetMotorIsMeasuredAtTwoFrequencies) {
    UseSynchronousMotor();
    GwRecorder::Clear();
    Open();
    EXPECT_EQ(StartAndKeep(), 1);
    EXPECT_EQ(Unit().step_commands, (std::vector<double>{3.0, 2.0, 2.0}));
    const std::vector<std::string> writes = Writes();
    // The low-frequency step: 0.5 Hz for 4 s.
    const long firstMeasurement = FirstWrite(writes, W(120, 2.0f));
    EXPECT_LT(FirstWrite(writes, WE(43, 2, 4.0f)), firstMeasurement);
    EXPECT_LT(FirstWrite(writes, W(44, 0.5f)), firstMeasurement);
    EXPECT_TRUE(Near(Value(842), 0.5002467, 1e-6)) << Value(842);
    EXPECT_TRUE(Near(Value(841), 0.00499975, 1e-6)) << Value(841);
    EXPECT_EQ(WrittenValues(844), std::vector<float>{2.0f});
    const std::vector<float> flux = WrittenValues(840);
    ASSERT_EQ(flux.size(), 1u);
    EXPECT_TRUE(Near(flux[0], 0.450158, 1e-6)) << flux[0];
    EXPECT_EQ(Count(writes, W(838, 1.0f)), 1u);
    const std::string log = IdentLog();
    for (const char* line : {"|                         Synchronmotor                        |",
                             "Eingabe:   Motorart                     CFMOT = SM",
                             "Eingabe:   Nennleistung                 MOPNM = 1500 W",
                             "Berechnet: Polpaarzahl                  MONPP = 2",
                             "Eingabe:   Nennstrom                    MOCNM = 5 V",
                             "Messung der Stator-Parameter",
                             "Berechnet: Fluss                        MOFNM = 0.450158 Vs",
                             "Endgültige Regler-Einstellung"}) {
        EXPECT_TRUE(HasLine(log, line)) << line;
    }
    EXPECT_EQ(Lines(log).back().substr(Lines(log).back().find('\t')), "\t*** Log out ***");
    EXPECT_TRUE(ProgressWindowLife().empty());
}

TEST_F(RunTest, AMotorWithoutMeasurableResistanceKeepsTheDrivesCurrentController) {
    UseSynchronousMotor();
    // The impedance at 0.5 Hz, taken as the resistance, is 5e-7 Ohm.
    Unit().motor.rs = 5e-7;
    Unit().motor.ls = 1e-10;
    Open();
    EXPECT_EQ(StartAndKeep(), 1);
    EXPECT_EQ(WrittenValues(841), std::vector<float>{0.0f});
    EXPECT_EQ(WrittenValues(842), std::vector<float>{0.0f});
    EXPECT_EQ(WrittenValues(800), std::vector<float>{});
    EXPECT_EQ(WrittenValues(801), std::vector<float>{});
    EXPECT_EQ(Value(800), 12.5f);
    EXPECT_EQ(Value(801), 1.25f);
    EXPECT_EQ(Count(Writes(), W(818, 1.0f)), 1u);
}

TEST_F(RunTest, TheFinalSettingEstimatesAMissingInertiaForTheCalculationOnly) {
    struct Case {
        float motorInertia;
        float totalInertia;
        double usedTotal;
    } cases[] = {
        {0.0f, 0.0f, 2.0 * EstimateMotorInertia(4.0, 2.0)},
        {0.5f, 0.0f, 1.0},
        {0.5f, 3.0f, 3.0},
    };
    Open();
    OnOffBase* base = contexts_.back()->Base.get();
    SetValue(844, 2.0f);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.motorInertia);
        SetValue(160, c.motorInertia);
        SetValue(817, c.totalInertia);
        ClearCaptures();
        ASSERT_TRUE(SetFinalControllerSettings(base, false));
        const std::optional<SpeedPositionSettings> expected =
            CalcSpeedAndPositionController(3.5, 0.0001, 0.001, 0.002, 1.0, c.usedTotal);
        ASSERT_TRUE(expected.has_value());
        const std::vector<std::string> writes = Writes();
        ASSERT_EQ(writes.size(), 4u);
        EXPECT_EQ(writes[0], W(818, 1.0f));
        EXPECT_EQ(writes[1], W(810, static_cast<float>(expected->speedGain)));
        EXPECT_EQ(writes[2], W(812, static_cast<float>(expected->speedResetTimeMs)));
        EXPECT_EQ(writes[3], W(473, static_cast<float>(expected->positionGain)));
    }
    EXPECT_TRUE(BoxTexts().empty());
}

TEST_F(RunTest, ACurrentControllerThatCannotBeComputedEndsTheSettingBeforeAWrite) {
    // No resistance at all: the controller routine gives no result.
    SetValue(842, 0.0f);
    SetValue(843, 0.0f);
    Open();
    {
        DataLogger log(kIdentLogPath);
        EXPECT_FALSE(SetFinalControllerSettings(contexts_.back()->Base.get(), true, &log));
    }
    EXPECT_EQ(Writes(), std::vector<std::string>{});
    EXPECT_TRUE(HasLine(IdentLog(), "Abbruch: CalcIdentCurrentController liefert kein Ergebnis"));
}

TEST_F(RunTest, ThePeakLimitCapsTheTestCurrentOfFamiliesFiveToSeven) {
    SetValue(397, 10.0f);
    Drive().Table().Find(409)->elements[1] = std::bit_cast<uint32_t>(10.0f);
    Unit().scripts.push_back({1, sim::MotorIdentFault::kFail});  // the first sweep point
    Open();
    EXPECT_EQ(Start(), 0);
    EXPECT_EQ(Unit().step_commands, (std::vector<double>{3.0, 2.0}));
    EXPECT_EQ(WrittenValues(42, 0), std::vector<float>{1.6f});
    EXPECT_EQ(WrittenValues(42, 1), std::vector<float>{4.0f});
    EXPECT_EQ(WrittenValues(42, 2), std::vector<float>{4.0f});
    EXPECT_TRUE(HasLine(IdentLog(), "Eingabe:   Nennstrom                 MOCNM = 5.65685 A"));
}

TEST_F(RuvexRunTest, FamilyFourStartsWithItsOwnCommandAndParameters) {
    // Without a cap: 0.2 of the peak of 8 A.
    Unit().scripts.push_back({1, sim::MotorIdentFault::kFail});
    Open();
    EXPECT_EQ(Start(), 0);
    EXPECT_EQ(Unit().step_commands, (std::vector<double>{4.0, 2.0}));
    EXPECT_EQ(WrittenValues(42, 0), std::vector<float>{static_cast<float>(0.2 * std::sqrt(2.0) * 8.0)});
    EXPECT_EQ(Count(Heard(), "R 70409000101"), 0u);
    EXPECT_EQ(Count(Heard(), R(409)), 0u);

    UseSynchronousMotor();
    Unit().scripts.clear();
    Unit().steps = 0;
    Unit().step_commands.clear();
    Open();
    EXPECT_EQ(StartAndKeep(), 1);
    EXPECT_EQ(Unit().step_commands, (std::vector<double>{4.0, 2.0, 2.0}));
    const std::vector<std::string> heard = Heard();
    EXPECT_EQ(Count(heard, R(461)), 1u);
    EXPECT_EQ(Count(heard, R(474)), 0u);
    EXPECT_TRUE(Near(Value(851), 0.00499975, 1e-6));
    EXPECT_EQ(WrittenValues(841), std::vector<float>{});
    EXPECT_EQ(WrittenValues(801), std::vector<float>{});
    EXPECT_EQ(WrittenValues(802).size(), 1u);
    EXPECT_EQ(WrittenValues(460).size(), 1u);
    EXPECT_EQ(WrittenValues(473), std::vector<float>{});
}

TEST_F(RunTest, FailuresEndTheRunAndCloseTheReport) {
    // An unknown motor type: error 128 and no report.
    SetValue(153, 2.0f);
    Open();
    EXPECT_EQ(Start(), 0);
    EXPECT_EQ(BoxTexts(), (std::vector<std::string>{"error: Unknown motor type!", "info: The identification failed!"}));
    EXPECT_FALSE(std::filesystem::exists(testsupport::RuntimePath("TMP/ident.txt")));

    // A step of the sweep that fails.
    SetValue(153, 0.0f);
    Unit().scripts.push_back({4, sim::MotorIdentFault::kFail});
    GwRecorder::Clear();
    Open();
    EXPECT_EQ(Start(), 0);
    EXPECT_EQ(BoxTexts(),
              (std::vector<std::string>{"info: The drive ended the step with an error!",
                                        "info: The identification failed!"}));
    std::vector<std::string> lines = Lines(IdentLog());
    ASSERT_GE(lines.size(), 2u);
    ASSERT_GE(lines.size(), 3u);
    EXPECT_EQ(lines[lines.size() - 3], "Abbruch: MSM reagiert nicht!");
    EXPECT_EQ(lines.back().substr(lines.back().find('\t')), "\t*** Log out ***");
    EXPECT_EQ(ProgressWindowLife(), (std::vector<std::string>{"show", "Identifying the motor ...", "3", "destroy"}));
    EXPECT_EQ(Count(Writes(), W(260, 5.0f)), 2u);
    EXPECT_EQ(Writes().back(), W(260, 5.0f));
}

TEST_F(RunTest, RatedDataThatMakeNoSenseEndTheRunBeforeTheirWrite) {
    SetValue(157, 1.0f);
    Open();
    EXPECT_EQ(Start(), 0);
    EXPECT_EQ(WrittenValues(852), std::vector<float>{});
    EXPECT_EQ(WrittenValues(844), std::vector<float>{});
    EXPECT_EQ(Unit().step_commands, std::vector<double>{});
    std::vector<std::string> lines = Lines(IdentLog());
    ASSERT_GE(lines.size(), 2u);
    ASSERT_GE(lines.size(), 3u);
    EXPECT_EQ(lines[lines.size() - 3], "Abbruch: ungültiger Wert MOSNM = 1");
    EXPECT_EQ(Writes().back(), W(260, 5.0f));
}

TEST_F(RunTest, AFailedWriteShowsTheBasesError) {
    Open();
    Drive().Table().Find(844)->read_only = true;
    gwtest::AnswerBox(1);
    EXPECT_EQ(Start(), 0);
    EXPECT_EQ(BoxTexts(),
              (std::vector<std::string>{"error: RS232 transmission error in parameter 844-P844 : \n"
                                        "Invalid writeaccess to parameter!",
                                        "info: The identification failed!"}));
    EXPECT_EQ(Unit().step_commands, std::vector<double>{});
}

TEST_F(RunTest, TheLateWritesOfTheCurveEndTheRunWithoutABox) {
    // The drive takes only 0 for MOMC2: the equivalent circuit's 0 goes in,
    // the flux polynomial's coefficient is refused.
    Open();
    Drive().Table().Find(847)->maximum = std::bit_cast<uint32_t>(0.0f);
    Drive().Table().Find(847)->minimum = std::bit_cast<uint32_t>(0.0f);
    EXPECT_EQ(Start(), 0);
    EXPECT_EQ(BoxTexts(), std::vector<std::string>{"info: The identification failed!"});
    const std::vector<float> momc2 = WrittenValues(847);
    ASSERT_EQ(momc2.size(), 2u);
    EXPECT_EQ(momc2[0], 0.0f);
    EXPECT_NE(momc2[1], 0.0f);
    EXPECT_EQ(Value(847), 0.0f);
    EXPECT_EQ(WrittenValues(848), std::vector<float>{0.0f});
    const std::vector<std::string> lines = Lines(IdentLog());
    ASSERT_FALSE(lines.empty());
    EXPECT_TRUE(HasLine(IdentLog(), "Lh-Messung: Daten zur Reproduktion:"));
    EXPECT_FALSE(HasLine(IdentLog(), "Endgültiges Polynom für differenzielle Hauptinduktivität"));
    EXPECT_EQ(lines.back().substr(lines.back().find('\t')), "\t*** Log out ***");
}

}  // namespace
}  // namespace identtest
