// A "TestTool" module for the loading rule: its init function returns the
// number in TORVAN_TESTTOOL_RESULT.
#include <cstdlib>

extern "C" int init_test_func() {
    const char* result = std::getenv("TORVAN_TESTTOOL_RESULT");
    return result != nullptr ? std::atoi(result) : 0;
}
