#include "motor/numerics/column_table.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "motor/datalogger/data_logger.h"
#include "testsupport/test_env.h"

namespace {

constexpr char kLogPath[] = "..\\TMP\\table.txt";
constexpr char kLogFile[] = "TMP/table.txt";

// The text the logger holds between its opening header and its closing entry.
std::string WrittenBetweenHeaderAndLogOut() {
    const std::string file = testsupport::ReadFile(testsupport::RuntimePath(kLogFile));
    const std::string rule(73, '-');
    const size_t headerEnd = file.find(rule + "\n", file.find("Login:\t"));
    const std::string logOut = DataLogger::GetTimeText() + "\t*** Log out ***\n";
    const size_t logOutStart = file.rfind(logOut);
    if (headerEnd == std::string::npos || logOutStart == std::string::npos) return "<no log>";
    const size_t start = headerEnd + rule.size() + 1;
    EXPECT_EQ(logOutStart + logOut.size(), file.size());
    return file.substr(start, logOutStart - start);
}

TEST(LogColumnTable, WritesHeadingsRowsWithDecimalCommaAndTrailingEmptyLines) {
    const std::vector<double> first = {0.5, 12.25, -3.0};
    const std::vector<double> second = {1.0 / 3.0, 0.0, 1234567.125};
    {
        DataLogger log(kLogPath);
        ASSERT_TRUE(LogColumnTable(log, 1, 3, first, {second}, {"sc_frequency =", "sc_real ="}));
    }
    EXPECT_EQ(WrittenBetweenHeaderAndLogOut(),
              "sc_frequency =\tsc_real =\n"
              "\n"
              "0,5000000000\t0,3333333333\n"
              "12,2500000000\t0,0000000000\n"
              "-3,0000000000\t1234567,1250000000\n"
              "\n"
              "\n");
}

TEST(LogColumnTable, WritesAllFiveColumnsInArgumentOrder) {
    const std::vector<double> a = {1}, b = {2}, c = {3}, d = {4.5}, e = {0.0000000001};
    {
        DataLogger log(kLogPath);
        ASSERT_TRUE(LogColumnTable(
            log,
            4,
            1,
            a,
            {b, c, d, e},
            {"frequency [Hz]", "real_meas [Ohm]", "imag_meas [Ohm]", "real_para [Ohm]", "imag_para [Ohm]"}));
    }
    EXPECT_EQ(WrittenBetweenHeaderAndLogOut(),
              "frequency [Hz]\treal_meas [Ohm]\timag_meas [Ohm]\treal_para [Ohm]\timag_para "
              "[Ohm]\n"
              "\n"
              "1,0000000000\t2,0000000000\t3,0000000000\t4,5000000000\t0,0000000001\n"
              "\n"
              "\n");
}

TEST(LogColumnTable, OnlyTheRequestedRowsAndColumnsAppear) {
    const std::vector<double> first = {1, 2, 3};
    const std::vector<double> second = {4, 5, 6};
    const std::vector<double> unused = {7, 8, 9};
    {
        DataLogger log(kLogPath);
        ASSERT_TRUE(LogColumnTable(log, 1, 2, first, {second, unused}, {"x", "y %s", "not shown"}));
    }
    EXPECT_EQ(WrittenBetweenHeaderAndLogOut(),
              "x\ty %s\n\n1,0000000000\t4,0000000000\n2,0000000000\t5,0000000000\n\n\n");
}

TEST(LogColumnTable, RefusesShapesItCannotWriteAndWritesNothing) {
    const std::vector<double> three = {1, 2, 3};
    const std::vector<double> two = {1, 2};
    {
        DataLogger log(kLogPath);
        EXPECT_FALSE(LogColumnTable(log, 0, 3, three, {three}, {"a", "b"}));
        EXPECT_FALSE(LogColumnTable(log, 5, 3, three, {three, three, three, three}, {}));
        EXPECT_FALSE(LogColumnTable(log, 1, -1, three, {three}, {"a", "b"}));
        EXPECT_FALSE(LogColumnTable(log, 1, 3, two, {three}, {"a", "b"}));
        EXPECT_FALSE(LogColumnTable(log, 2, 3, three, {three, two}, {"a", "b", "c"}));
        EXPECT_FALSE(LogColumnTable(log, 2, 3, three, {three}, {"a", "b", "c"}));  // missing column
    }
    EXPECT_EQ(WrittenBetweenHeaderAndLogOut(), "");
}

}  // namespace
