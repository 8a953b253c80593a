// Shared set-up of the file-set and transfer tests: paths under the user data
// folder, description files in the language directory, and a base with a
// parameter of every type.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "parameters/parabase/tests/parabase_fixture.h"

namespace parabasetest {

// Device code and version of the bases the tests build (class 5, "5_003_60").
inline constexpr uint16_t kDeviceCode = 5123;
inline constexpr uint32_t kVersionBits = 0x40666666;     // 3.6f
inline constexpr uint32_t kAltVersionBits = 0x40633333;  // 3.55f
// A FLOAT32 that the eight digits of the double getter do not bring back.
inline constexpr uint32_t kNineDigitFloatBits = 0x41757237;  // 15.3403845

class FileSetTest : public ParaBaseTest {
protected:
    // Writes the standard description file "tarn_std.PIT".
    void SetUp() override;
    // Removes every description file the test wrote.
    void TearDown() override;

    // Writes "<name>.PIT" with a parameter description into the language
    // directory; RemoveDescriptionFile takes it away again.
    void WriteDescriptionFile(const std::string& name);
    void RemoveDescriptionFile(const std::string& name);

    // "..\userdata\<name>": the program's form of a path in the user data
    // folder, which is emptied before every test.
    static std::string UserPath(const std::string& name);
    static std::string ReadUserFile(const std::string& name);
    static void WriteUserFile(const std::string& name, const std::string& bytes);

private:
    std::vector<std::string> descriptionFiles_;
};

// Sets the elements of an array entry from raw 32-bit values (each cut to
// the element's width).
void SetElements(ParaBase& base, int number, const std::vector<int32_t>& raw);
// The elements of an array entry as the array delivers them; empty without
// one.
std::vector<int32_t> Elements(const ParaBase& base, int number);

// Makes `base` a loaded table with the identity parameters 90, 91 and 92,
// one scalar of every type (1..15), an array of every array class
// (200..209), two more texts (16, 17) and value texts of parameter 3.
void FillEveryType(ParaBase& base);

}  // namespace parabasetest
