#include "paratools/tree/tests/tree_fixture.h"

#include <cstring>
#include <functional>

#include "parameters/parabase/para_description_file.h"
#include "parameters/parabase/value_text_table.h"
#include "parameters/values/darray.h"
#include "testsupport/test_env.h"
#include "toolkit/core/gw_rcmgr.h"
#include "toolkit/testdriver/gw_test_driver.h"
#include "toolkit/tree/gw_tree.h"

namespace treetest {

namespace {
constexpr char kDescriptionFile[] = "LANGUAGE/044/tree_fixture.PIT";
}  // namespace

void Define(ParaBase& base, const Param& p) {
    ParameterEntry& e = *base.GetEntry(p.number);
    e = ParameterEntry{};
    e.number = static_cast<int16_t>(p.number);
    std::strncpy(e.name, p.name, kEntryNameSize - 1);
    e.type = p.type;
    e.kind = p.kind;
    e.value = p.value;
    e.minimum = p.minimum;
    e.maximum = p.maximum;
    e.defaultValue = p.defaultValue;
    e.flags = p.flags;
    e.access = p.access;
    e.KPGroup = p.kpGroup;
    e.SCGroup = p.scGroup;
    e.valid = 1;
    e.transfer = p.used ? 1 : 0;
    if (p.elements > 0) {
        e.flags |= kFlagArray;
        base.SetArrayObject(p.number, CreateArrayForType(p.type, p.elements));
    }
}

std::unique_ptr<ParaBase> FixtureBase(const std::vector<Param>& params, uint16_t typeNumber) {
    auto base = std::make_unique<ParaBase>();
    Define(*base,
           {.number = 8,
            .name = "KPGRP",
            .type = kTypeUsign8,
            .maximum = 2,
            .kpGroup = 250,
            .scGroup = 0,
            .flags = kFlagValueTexts,
            .used = false});
    Define(*base,
           {.number = 11,
            .name = "SCGRP",
            .type = kTypeUsign8,
            .maximum = 3,
            .kpGroup = 250,
            .scGroup = 0,
            .flags = kFlagValueTexts,
            .used = false});
    Define(*base, {.number = 91, .name = "TYPE", .value = typeNumber, .kpGroup = 250, .scGroup = 0, .used = false});
    ValueTextTable& texts = base->GetValueTextTable();
    texts.AddFirstText(8, "Motor");
    texts.AddNextText(8, "Control");
    texts.AddNextText(8, "IO");
    texts.AddFirstText(11, "None");
    texts.AddNextText(11, "BASIC");
    texts.AddNextText(11, "DRIVE");
    texts.AddNextText(11, "EXTRA");
    for (const Param& p : params) Define(*base, p);
    testsupport::WriteFile(testsupport::RuntimePath(kDescriptionFile),
                           "[parameterdescription]\nP100=Speed limit\nP101=Torque\nP200=Array ABC\n"
                           "[ParaMenu]\nControl=Control loop\n");
    auto descriptions = std::make_unique<ParaDescriptionFile>("..\\LANGUAGE\\044\\tree_fixture.PIT");
    base->SetDescriptionFile(std::move(descriptions));
    base->TableLoaded = 1;
    base->EntryCount = kParameterCount;
    return base;
}

sim::DriveTable DriveTable() {
    sim::DriveTable table = maintest::ActivationTable();
    sim::DriveParameter* mode = table.PutFullRange(151, "MODE", "USIGN8", 2);
    mode->maximum = 3;
    mode->flags |= sim::kFlagValueTexts;
    mode->value_texts = {{0, "Off"}, {1, "Torque"}, {2, "Speed"}, {3, "Position"}};
    return table;
}

std::vector<std::string> Outline(GwTree* tree) {
    std::vector<std::string> lines;
    std::function<void(GwTreeEntry*, int)> walk = [&](GwTreeEntry* entry, int level) {
        lines.push_back(std::string(2 * level, ' ') + entry->id());
        for (GwTreeEntry* child : entry->children()) walk(child, level + 1);
    };
    if (tree != nullptr && tree->entries() != nullptr) walk(tree->entries(), 0);
    return lines;
}

void TreeTest::SetUp() {
    maintest::MainTest::SetUp();
    ASSERT_TRUE(
        GwRcMgr::use_text("dialogframe TreeHost {\n    tree Tree { rect = 0, 0, 300, 400 }\n}\n", "tree_host.cgw"));
}

GwTree* TreeTest::MakeTree() {
    GwCore* host = GwRcMgr::load(mainWindow_, "TreeHost", 1);
    if (host == nullptr) return nullptr;
    host->show();
    return host->child<GwTree>("Tree");
}

void TreeTest::ExpandAll(GwTree* tree) {
    std::function<void(GwTreeEntry*)> walk = [&](GwTreeEntry* entry) {
        tree->expand_entry(entry, true);
        for (GwTreeEntry* child : entry->children()) walk(child);
    };
    if (tree->entries() != nullptr) walk(tree->entries());
}

}  // namespace treetest
