#include "app/services/file_name_component.h"

#include <gtest/gtest.h>

namespace {

TEST(RunModeFileComponent, KeepsTheNameInItsDirectoryWithoutAnExtension) {
    struct Case {
        const char* text;
        const char* expected;
    };
    const Case cases[] = {
        {"Axis one", "Axis one"},
        {"..\\..\\bin\\x", "______bin_x"},
        {"a/b:c.d", "a_b_c_d"},
        {"tab\there\x7f", "tab_here_"},
        {"Drehzahl 1.5", "Drehzahl 1_5"},
    };
    for (const Case& c : cases) EXPECT_EQ(RunModeFileComponent(c.text), c.expected) << c.text;
}

}  // namespace
