#include "paratools/editor/tests/editor_fixture.h"

#include <cstdlib>
#include <sstream>

#include "app/main/editor_context.h"
#include "app/services/app_files.h"
#include "app/services/user_level.h"
#include "parameters/parabase/para_base.h"
#include "paratools/editor/para_dialogs.h"
#include "paratools/editor/parameter_editor.h"
#include "paratools/editor/parameter_editor_state.h"
#include "paratools/editor/postab_editor.h"
#include "testsupport/test_env.h"
#include "toolkit/core/gw_multi_list.h"
#include "toolkit/core/gw_rcmgr.h"
#include "toolkit/profile/gw_profile.h"
#include "toolkit/testdriver/gw_test_driver.h"

namespace editortest {

sim::DriveTable EditorTable() {
    sim::DriveTable table = maintest::ActivationTable();
    sim::DriveParameter* handshake = table.PutFullRange(sim::kHandshakeParameter, "DLOAD", "INT16", 0);
    handshake->minimum = static_cast<uint32_t>(-32768);
    handshake->maximum = 32767;
    table.handshake.enabled = true;
    sim::DriveParameter* groups = table.PutFullRange(8, "KPGRP", "USIGN8", 0);
    groups->minimum = 0;
    groups->maximum = 2;
    groups->flags |= sim::kFlagValueTexts;
    groups->value_texts = {{0, "MOT Motor"}, {1, "REG Control"}, {2, "_MENU"}};
    sim::DriveParameter* sc = table.PutFullRange(11, "SCGRP", "USIGN8", 0);
    sc->minimum = 0;
    sc->maximum = 2;
    sc->flags |= sim::kFlagValueTexts;
    sc->value_texts = {{0, "Basic"}, {1, "Drive"}};
    sim::DriveParameter* p = table.PutFullRange(kByteParameter, "MODE1", "USIGN8", 3);
    p->minimum = 0;
    p->maximum = 200;
    p->default_value = 7;
    p->sc_group = 1;
    p = table.PutFullRange(kSignedParameter, "MODUL", "INT16", 5);
    p->minimum = static_cast<uint32_t>(-100);
    p->maximum = 1000;
    p->keypad_group = 1;
    p = table.PutFullRange(kUncheckedParameter, "SPEED", "USIGN16", 9);
    p->kind = '1';
    p->keypad_group = 1;
    p = table.PutFullRange(kArrayParameter, "ARRAY", "USIGN16", 0);
    p->flags |= sim::kFlagArray;
    p->elements = {10, 11, 12, 13, 14, 15, 16, 17};
    p->maximum = 1000;
    p->keypad_group = 1;
    p = table.PutFullRange(kLockedParameter, "LOCKD", "USIGN16", 4);
    p->write_level = 15;
    table.PutFullRange(kGroupedParameter, "USER", "USIGN16", 1);
    sim::DriveParameter* save = table.PutFullRange(150, "SAVE", "USIGN8", 0);
    save->minimum = 0;
    save->maximum = 1;
    // The position tables: 728 H, 729 M, 730 C, 727 T.
    auto table_array = [&](int number,
                           const char* name,
                           const char* type,
                           int32_t minimum,
                           int32_t maximum,
                           std::vector<uint32_t>
                               elements) {
        sim::DriveParameter* q = table.PutFullRange(number, name, type, 0);
        q->flags |= sim::kFlagArray;
        q->minimum = static_cast<uint32_t>(minimum);
        q->maximum = static_cast<uint32_t>(maximum);
        q->elements = std::move(elements);
    };
    table_array(460, "PLCH", "USIGN16", 0, 100, {0, 0, 0});
    table_array(728, "VARS", "INT32", -1000, 1000, {1, 2, 3, 4});
    table_array(729, "MERK", "USIGN16", 0, 100, {5, 6, 7});
    table_array(730, "ZAEHL", "USIGN16", 0, 100, {8, 9});
    table_array(727, "TABLE", "INT32", 0, 100000, {10, 11, 12, 13, 14});
    // One parameter per value widget of the single dialog.
    auto put = [&](int number,
                   const char* name,
                   const char* type,
                   uint32_t value,
                   uint32_t minimum,
                   uint32_t maximum,
                   uint16_t flags) {
        sim::DriveParameter* q = table.PutFullRange(number, name, type, value);
        q->minimum = minimum;
        q->maximum = maximum;
        q->flags |= flags;
        return q;
    };
    put(200, "HEX8", "USIGN8", 0x1F, 0, 0xFF, sim::kFlagHex);
    put(201, "PASSW", "PASSWORD", 0, 0, 0xFFFF, sim::kFlagHex);
    put(202, "HEX32", "USIGN32", 0, 0, 0xFFFFFFFF, sim::kFlagHex);
    put(203, "FIX16", "FIXPT16", 20, 0, 2000, 0);
    put(204, "S8", "INT8", 1, static_cast<uint32_t>(-100), 50, 0);
    put(205, "S32", "INT32", 1, static_cast<uint32_t>(-5), 123456, 0);
    put(206, "Q16", "INT32Q16", 0x10000, static_cast<uint32_t>(-10 * 65536), 1000 * 65536, 0);
    put(207, "FLT", "FLOAT32", maintest::FloatBits(1.5f), maintest::FloatBits(-20.0f), maintest::FloatBits(300.0f), 0);
    put(208, "ERR", "ERR_STRUC", 0, 0, 0xFFFFFFFF, 0);
    put(209, "TEXT", "STRING", 0, 0, 0, 0)->text = "hello";
    put(210, "CHOIC", "USIGN8", 2, 0, 5, sim::kFlagValueTexts)->value_texts = {
        {0, "Off"}, {1, "Slow"}, {2, "Mid"}, {3, "Fast"}, {4, "Max"}, {5, "Test"}};
    put(213, "KIND7", "USIGN16", 0, 0, 100, 0)->kind = '7';
    put(214, "U16", "USIGN16", 10, 0, 60000, 0)->kind = '2';
    p = table.PutFullRange(kHexParameter, "HEXW", "USIGN16", 0x12);
    p->flags |= sim::kFlagHex;
    return table;
}

void EditorTest::SetUp() {
    maintest::MainTest::SetUp();
    ASSERT_NE(GwRcMgr::use_func_desc(ParameterEditorCallbacks()), 0);
    WriteTreeFile("LANGUAGE/044/tarn_std.PIT",
                  "[parameterdescription]\nP092=Firmware version\nP100=Mode one\nP101=Modulo\nP102=Speed\n"
                  "P103=Array\nP104=Locked\nP105=Hex word\nP727=Table\nP728=Variables\nP729=Markers\n"
                  "P730=Counters\nP460=Flags\n");
    AddDrive(maintest::kAddress, Table());
    Activate();
    SetUserLevel(4);
}

void EditorTest::TearDown() {
    ownBase_.reset();
    maintest::MainTest::TearDown();
}

GwCore* EditorTest::OpenEditorOn(ParaBase* base, int mode) {
    SetParameterEditorContext(base, mode);
    editor_ = GwRcMgr::load(mainWindow_, "ParameterEditor", 1);
    EXPECT_NE(editor_, nullptr);
    if (editor_ != nullptr) editor_->show();
    return editor_;
}

GwCore* EditorTest::OpenEditor(int mode) {
    if (mode == kEditorModeOnline) return OpenEditorOn(main_->ActiveParaBase(), mode);
    ownBase_ = std::make_unique<ParaBase>(*main_->ActiveParaBase());
    return OpenEditorOn(ownBase_.get(), mode);
}

GwMultiList* EditorTest::List() { return dynamic_cast<GwMultiList*>(gwtest::Get("ParameterEditor/ParaList")); }

std::vector<std::string> EditorTest::Rows() {
    std::vector<std::string> rows;
    GwMultiList* list = List();
    for (int i = 0; list != nullptr && i < list->row_count(); ++i) rows.push_back(list->row_text(i));
    return rows;
}

std::vector<int> EditorTest::Numbers() {
    std::vector<int> numbers;
    GwMultiList* list = List();
    for (int i = 0; list != nullptr && i < list->row_count(); ++i)
        numbers.push_back(std::atoi(list->cell(i, 0).c_str()));
    return numbers;
}

int EditorTest::RowOf(int number, int element) {
    GwMultiList* list = List();
    for (int i = 0; list != nullptr && i < list->row_count(); ++i) {
        if (std::atoi(list->cell(i, 0).c_str()) == number && std::atoi(list->cell(i, 2).c_str()) == element) return i;
    }
    return -1;
}

std::string EditorTest::ProfileSection(const std::string& name) {
    GwProfile* profile = MainProfile();
    const std::string path = testsupport::RuntimePath("TMP/profile_check.ini").string();
    EXPECT_TRUE(profile->save(path.c_str()));
    const std::string text = testsupport::ReadFile(path);
    std::remove(path.c_str());
    const std::string header = "[" + name + "]";
    const size_t start = text.find(header);
    if (start == std::string::npos) return "";
    const size_t end = text.find("\n[", start + 1);
    std::string section = text.substr(start, end == std::string::npos ? std::string::npos : end + 1 - start);
    while (section.size() >= 4 && section.compare(section.size() - 4, 4, "\r\n\r\n") == 0)
        section.resize(section.size() - 2);
    return section;
}

}  // namespace editortest
