// The print list: which parameters a format selects, and their order.
#include <gtest/gtest.h>

#include <vector>

#include "parameters/parabase/para_types.h"
#include "paratools/print/para_print_list.h"
#include "paratools/print/para_print_settings.h"
#include "paratools/print/tests/paratools_fixture.h"

namespace paratoolstest {
namespace {

class PrintListTest : public ParaToolsTest {
protected:
    void SetUp() override {
        ParaToolsTest::SetUp();
        DefineIdentity(base);
        // Only the fixture's own parameters below take part.
        for (int n : {8, 11, 91, 92}) base.GetEntry(n)->transfer = 0;
        settings.Group.fill(1);
        settings.UserLevel = 4;
    }
    std::vector<int> List() {
        const PrintList list = BuildPrintList(base, settings);
        std::vector<int> out;
        for (int n : list) {
            if (n == 0) break;
            out.push_back(n);
        }
        return out;
    }

    ParaBase base;
    ParaPrintSettings settings{"PPrn_4.ini"};
};

TEST_F(PrintListTest, SelectionFollowsEntryAndFormat) {
    struct Case {
        const char* what;
        Param param;
        uint8_t valid = 1, transfer = 1;
        int groupOff = -1;
        int editableOnly = 0, changedOnly = 0;
        bool listed;
    };
    const Case cases[] = {
        {"plain", {.number = 20, .name = "A"}, 1, 1, -1, 0, 0, true},
        {"not valid", {.number = 20, .name = "A"}, 0, 1, -1, 0, 0, false},
        {"not in the data set", {.number = 20, .name = "A"}, 1, 0, -1, 0, 0, false},
        {"group off", {.number = 20, .name = "A", .kpGroup = 2}, 1, 1, 2, 0, 0, false},
        {"readable at 4", {.number = 20, .name = "A", .access = 0x54}, 1, 1, -1, 0, 0, true},
        {"read level 5", {.number = 20, .name = "A", .access = 0x15}, 1, 1, -1, 0, 0, false},
        {"editable only, write level 5", {.number = 20, .name = "A", .access = 0x51}, 1, 1, -1, 1, 0, false},
        {"editable only, write level 4", {.number = 20, .name = "A", .access = 0x41}, 1, 1, -1, 1, 0, true},
        {"changed only, unchanged", {.number = 20, .name = "A", .value = 3, .defaultValue = 3}, 1, 1, -1, 0, 1, false},
        {"changed only, changed", {.number = 20, .name = "A", .value = 4, .defaultValue = 3}, 1, 1, -1, 0, 1, true},
        {"keypad group 200", {.number = 20, .name = "A", .kpGroup = 200}, 1, 1, -1, 0, 0, false},
        {"keypad group 128", {.number = 20, .name = "A", .kpGroup = 128}, 1, 1, -1, 0, 0, false},
    };
    for (const Case& c : cases) {
        base.GetEntry(20)->number = 0;
        ParameterEntry& e = Define(base, c.param);
        e.valid = c.valid;
        e.transfer = c.transfer;
        settings.Group.fill(1);
        if (c.groupOff >= 0) settings.Group[c.groupOff] = 0;
        settings.EditableOnly = c.editableOnly;
        settings.ChangedOnly = c.changedOnly;
        EXPECT_EQ(List(), c.listed ? std::vector<int>{20} : std::vector<int>{}) << c.what;
    }
}

TEST_F(PrintListTest, SortingByNameIgnoresCaseAndClusteringKeepsTheOrderInsideGroups) {
    Define(base, {.number = 20, .name = "delta", .kpGroup = 1});
    Define(base, {.number = 21, .name = "Alpha", .kpGroup = 2});
    Define(base, {.number = 22, .name = "charl", .kpGroup = 1});
    Define(base, {.number = 23, .name = "BRAVO", .kpGroup = 2});
    Define(base, {.number = 24, .name = "echo", .kpGroup = 0});
    EXPECT_EQ(List(), (std::vector<int>{20, 21, 22, 23, 24}));
    settings.SortByName = 1;
    EXPECT_EQ(List(), (std::vector<int>{21, 23, 22, 20, 24}));
    settings.ClusterByGroup = 1;
    EXPECT_EQ(List(), (std::vector<int>{24, 22, 20, 21, 23}));
    settings.SortByName = 0;
    EXPECT_EQ(List(), (std::vector<int>{24, 20, 22, 21, 23}));
}

// The type and kind columns name what the entry holds; a code outside the
// tables prints as nothing.
TEST_F(PrintListTest, TypeAndKindColumnsNameTheEntrysCodes) {
    constexpr int kTypeColumn = 13;
    constexpr int kKindColumn = 14;
    const struct {
        char type, kind;
        const char *typeText, *kindText;
    } cases[] = {
        {kTypeBegriff, '0', "BEGRIFF", "RAM_CV"},
        {kTypeUsign16, '2', "USIGN16", "EEPROM"},
        {kTypeUsign32, '4', "USIGN32", "FSEL/ISEL"},
        {'/', '5', "", ""},
        {'?', '/', "", ""},
    };
    for (const auto& c : cases) {
        Define(base, {.number = 20, .name = "A", .type = c.type, .kind = c.kind});
        EXPECT_EQ(PrintCellText(base, kTypeColumn, 20, 0), c.typeText) << c.type;
        EXPECT_EQ(PrintCellText(base, kKindColumn, 20, 0), c.kindText) << c.kind;
    }
}

}  // namespace
}  // namespace paratoolstest
