#include "families/tests/shipped_definitions.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "families/setup_main_window.h"
#include "testsupport/test_env.h"
#include "toolkit/core/gw_rcmgr.h"

namespace devicewintest {

namespace {

std::string ShippedPath(const std::string& file) { return std::string(TORVAN_UI_DIR) + "/bin/" + file; }

}  // namespace

std::vector<GwDefinitionFile> ShippedDefinitionFiles() {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(std::string(TORVAN_UI_DIR) + "/bin")) {
        if (entry.path().extension() == ".cgw") names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    std::vector<GwDefinitionFile> parsed;
    for (const std::string& name : names) {
        GwParseResult result = GwParseDefinitions(testsupport::ReadFile(ShippedPath(name)), name);
        EXPECT_TRUE(result.ok) << name << ":" << result.error_line << " " << result.error;
        parsed.push_back(std::move(result.file));
    }
    return parsed;
}

std::vector<GwDefinition> ParsedDefinitions(const std::string& text, const std::string& file) {
    const GwParseResult result = GwParseDefinitions(text, file);
    EXPECT_TRUE(result.ok) << file << ":" << result.error_line << " " << result.error;
    std::vector<GwDefinition> definitions;
    for (const auto& window : result.file.windows) definitions.push_back(*window);
    return definitions;
}

void ForEachDefinition(const GwDefinition& def, const std::function<void(const GwDefinition&)>& visit) {
    visit(def);
    for (const GwDefinition& child : def.children) ForEachDefinition(child, visit);
}

bool UseShippedFiles(const std::vector<const char*>& files) {
    bool used = true;
    for (const char* file : files) {
        const bool ok = GwRcMgr::use_text(testsupport::ReadFile(ShippedPath(file)), file);
        EXPECT_TRUE(ok) << file;
        used = used && ok;
    }
    return used;
}

const GwFuncDesc kSetupMainCallbacks[] = {
    {"Create_CB_3_SetupMain", Create_CB_3_SetupMain},
    {"Create_CB_4_SetupMain", Create_CB_4_SetupMain},
    {"Create_CB_5_SetupMain", Create_CB_5_SetupMain},
    {"Show_CB_3_SetupMain", Show_CB_3_SetupMain},
    {"Show_CB_4_SetupMain", Show_CB_4_SetupMain},
    {"Show_CB_5_SetupMain", Show_CB_5_SetupMain},
    {nullptr, nullptr},
};

}  // namespace devicewintest
