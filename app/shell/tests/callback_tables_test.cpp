#include <gtest/gtest.h>

#include <cctype>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "app/shell/callback_tables.h"
#include "motor/ident/ident_callbacks.h"
#include "toolkit/core/gw_application.h"

namespace {

TEST(CallbackTablesTest, SeventeenEndedTablesWithTheInterpreterInAllButThePlotWindows) {
    const auto& tables = CallbackTables();
    ASSERT_EQ(tables.size(), 17u);
    for (size_t t = 0; t < tables.size(); ++t) {
        ASSERT_NE(tables[t], nullptr) << t + 1;
        int interpreters = 0;
        const GwFuncDesc* e = tables[t];
        for (; e->name != nullptr; ++e) {
            ASSERT_NE(e->fn, nullptr) << e->name;
            if (std::string(e->name) == kInterpreterName) {
                ++interpreters;
                EXPECT_EQ(e->fn, interpreter);
            }
        }
        EXPECT_EQ(e->fn, nullptr) << "table " << t + 1;
        EXPECT_EQ(interpreters, t + 1 < 17 ? 1 : 0) << "table " << t + 1;
    }
}

// The motor identification window opens for families 4 to 7: its callbacks
// are in the device tables of the Pesco (2) and Ruvex (5) windows only.
TEST(CallbackTablesTest, TheIdentificationWindowsCallbacksAreInThePescoAndRuvexTables) {
    const auto& tables = CallbackTables();
    const std::map<std::string, GwCallback> expected = {{"CB_5_IdentMotor", CB_5_IdentMotor},
                                                        {"CB_CloseMotorIdent", CB_CloseMotorIdent}};
    for (size_t t = 0; t < tables.size(); ++t) {
        std::map<std::string, GwCallback> found;
        for (const GwFuncDesc* e = tables[t]; e->name != nullptr; ++e) {
            if (expected.count(e->name)) found[e->name] = e->fn;
        }
        const bool identTable = t == 1 || t == 4;
        EXPECT_EQ(found.size(), identTable ? 2u : 0u) << "table " << t + 1;
        if (identTable) EXPECT_TRUE(found == expected) << "table " << t + 1;
    }
}

TEST(CallbackTablesTest, NoNameIsBoundToTwoFunctions) {
    std::map<std::string, GwCallback> bound;
    for (const GwFuncDesc* table : CallbackTables()) {
        std::set<std::string> inTable;
        for (const GwFuncDesc* e = table; e->name != nullptr; ++e) {
            EXPECT_TRUE(inTable.insert(e->name).second) << "twice in one table: " << e->name;
            auto [it, added] = bound.emplace(e->name, e->fn);
            EXPECT_TRUE(added || it->second == e->fn) << e->name;
        }
    }
}

bool IsWordChar(char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '_'; }

// The callback names of the "on <event> = <name>" bindings of one line.
std::vector<std::string> BoundNames(const std::string& code) {
    std::vector<std::string> names;
    for (size_t at = code.find("on "); at != std::string::npos; at = code.find("on ", at + 1)) {
        if (at > 0 && IsWordChar(code[at - 1])) continue;
        size_t p = code.find_first_not_of(' ', at + 3);
        while (p < code.size() && IsWordChar(code[p])) ++p;
        p = code.find_first_not_of(' ', p);
        if (p >= code.size() || code[p] != '=') continue;
        p = code.find_first_not_of(' ', p + 1);
        size_t end = p;
        while (end < code.size() && IsWordChar(code[end])) ++end;
        if (end > p) names.push_back(code.substr(p, end - p));
    }
    return names;
}

// Every "on <event> = <name>" of the shipped definition files.
TEST(CallbackTablesTest, EveryNameTheDefinitionFilesBindIsInATable) {
    std::set<std::string> names;
    for (const GwFuncDesc* table : CallbackTables()) {
        for (const GwFuncDesc* e = table; e->name != nullptr; ++e) names.insert(e->name);
    }
    int files = 0;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(TORVAN_UI_DIR)) {
        if (entry.path().extension() != ".cgw") continue;
        ++files;
        std::ifstream in(entry.path());
        std::string line;
        int number = 0;
        while (std::getline(in, line)) {
            ++number;
            const std::string code = line.substr(0, line.find('#'));
            for (const std::string& name : BoundNames(code)) {
                EXPECT_TRUE(names.count(name)) << entry.path().filename().string() << ":" << number << " " << name;
            }
        }
    }
    EXPECT_EQ(files, 17);
}

}  // namespace
