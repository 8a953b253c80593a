#include <gtest/gtest.h>

#include <array>

#include "platform/com/com_objects.h"
#include "platform/com/com_registry.h"
#include "platform/files/registry_store.h"
#include "platform/system/dynamic_library.h"
#include "testsupport/test_env.h"

namespace {

using namespace platform;

// The class that the test module serves (tests/com_test_server.cpp).
constexpr CLSID kTestEditorClass = GuidLiteral("{1CF1C014-F30F-416D-9DED-864034B11B8D}");
constexpr IID kTestEditorEvents = GuidLiteral("{6ADB8206-08CA-40F1-94A4-5E93925A8070}");
// An id that names no class and no event interface of the test module.
constexpr IID kUnknownId = GuidLiteral("{E7463891-D02F-4829-AA4F-B571E4EE6506}");
constexpr char kTestEditorProgId[] = "Torvan.TestEditor.1";
enum : DISPID { kDescribe = 1, kAskForFile = 2, kAnnounce = 3 };
enum : DISPID { kFileWanted = 1, kAnnounced = 2 };

std::string TestServerPath() { return ExecutableDirectory() + "/libtorvan_com_test_server.so"; }

TEST(Guid, TextFormRoundTrips) {
    EXPECT_EQ(GuidToString(kTestEditorClass), "{1CF1C014-F30F-416D-9DED-864034B11B8D}");
    EXPECT_EQ(GuidFromString("{1cf1c014-f30f-416d-9ded-864034b11b8d}"), kTestEditorClass);
    for (const char* bad : {"",
                            "1CF1C014-F30F-416D-9DED-864034B11B8D",
                            "{1CF1C014-F30F-416D-9DED-864034B11B8}",
                            "{1CF1C014-F30F-416D-9DED-864034B11B8D0}",
                            "{1CF1C014-F30F-416D-9DED8-64034B11B8D}",
                            "{1CF1C014-F30F-416D-9DED-864034B11B8G}",
                            "(1CF1C014-F30F-416D-9DED-864034B11B8D)"}) {
        EXPECT_EQ(GuidFromString(bad), std::nullopt) << bad;
    }
    EXPECT_FALSE(kTestEditorClass == kTestEditorEvents);
    EXPECT_TRUE(GuidFromString(GuidToString(kTestEditorEvents)) == kTestEditorEvents);
}

TEST(Bstr, CountsBytesAndAllowsNuls) {
    BSTR text = SysAllocStringLen("ab\0cd", 5);
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(SysStringLen(text), 5u);
    EXPECT_EQ(BstrBytes(text), std::string_view("ab\0cd", 5));
    EXPECT_EQ(BstrText(text), "ab");
    EXPECT_EQ(text[5], '\0');
    SysFreeString(text);

    EXPECT_EQ(SysAllocString(nullptr), nullptr);
    EXPECT_EQ(SysStringLen(nullptr), 0u);
    EXPECT_EQ(BstrText(nullptr), "");
    SysFreeString(nullptr);

    BSTR buffer = AllocPathBuffer();
    ASSERT_EQ(SysStringLen(buffer), 260u);
    EXPECT_EQ(BstrBytes(buffer), " " + std::string(259, '\0'));
    SysFreeString(buffer);
}

TEST(Variant, ReadersCheckTheType) {
    VARIANT text = VariantFromString("C:\\a.plc");
    BSTR by_ref_text = SysAllocString("..\\TMP\\PlcIn.txt");
    VARIANT by_ref = VariantByRefString(&by_ref_text);
    VARIANT number = VariantFromLong(-7);
    VARIANT real = VariantFromDouble(3.1);
    VARIANT flag = VariantFromBool(true);
    VARIANT empty;

    std::string s;
    int32_t l = 0;
    double d = 0;
    bool b = false;
    EXPECT_EQ(VariantToText(text, &s), S_OK);
    EXPECT_EQ(s, "C:\\a.plc");
    EXPECT_EQ(VariantToText(by_ref, &s), S_OK);
    EXPECT_EQ(s, "..\\TMP\\PlcIn.txt");
    EXPECT_EQ(VariantToText(number, &s), DISP_E_TYPEMISMATCH);
    EXPECT_EQ(VariantToLong(number, &l), S_OK);
    EXPECT_EQ(l, -7);
    EXPECT_EQ(VariantToLong(real, &l), DISP_E_TYPEMISMATCH);
    EXPECT_EQ(VariantToDouble(number, &d), S_OK);
    EXPECT_EQ(d, -7.0);
    EXPECT_EQ(VariantToDouble(text, &d), DISP_E_TYPEMISMATCH);
    EXPECT_EQ(VariantToBool(flag, &b), S_OK);
    EXPECT_TRUE(b);
    EXPECT_EQ(flag.boolVal, VARIANT_TRUE);
    EXPECT_EQ(VariantToBool(number, &b), S_OK);
    EXPECT_TRUE(b);
    EXPECT_EQ(VariantToBool(empty, &b), DISP_E_TYPEMISMATCH);

    EXPECT_EQ(SetByRefText(by_ref, std::string_view("new\0tail", 8)), S_OK);
    EXPECT_EQ(SysStringLen(by_ref_text), 8u);
    EXPECT_EQ(SetByRefText(text, "x"), DISP_E_TYPEMISMATCH);
    VARIANT null_ref = VariantByRefString(nullptr);
    EXPECT_EQ(SetByRefText(null_ref, "x"), E_POINTER);

    SysFreeString(by_ref_text);
    VariantClear(&text);
    EXPECT_EQ(text.vt, VT_EMPTY);
}

// A member table with the argument shapes the object layer checks: none, a
// string, a double and a long, and strings passed by reference.
enum : DISPID { kStart = 1, kOpen = 2, kSetVersion = 3 };
constexpr DispatchMember kMethods[] = {
    {kStart, "Start", 0, {}, VT_BOOL},
    {kOpen, "Open", 1, {VT_BSTR}, VT_BOOL},
    {kSetVersion, "SetVersion", 2, {VT_R8, VT_I4}, VT_BOOL},
};
enum : DISPID { kFileNeeded = 1, kFileReady = 2 };
constexpr DispatchMember kEvents[] = {
    {kFileNeeded, "FileNeeded", 1, {VT_BSTR_BYREF}, VT_EMPTY},
    {kFileReady, "FileReady", 1, {VT_BSTR}, VT_EMPTY},
};

TEST(DispatchCall, CheckedAgainstTheMemberTable) {
    VARIANT name = VariantFromString("..\\TMP\\PlcOut.txt");
    VARIANT version = VariantFromDouble(3.1);
    VARIANT length = VariantFromLong(4096);
    VARIANT version_as_long = VariantFromLong(2);
    struct Case {
        DISPID id;
        std::vector<VARIANT> args;
        HRESULT expected;
    } cases[] = {
        {kStart, {}, S_OK},
        {kSetVersion, {version, length}, S_OK},
        {kSetVersion, {version_as_long, length}, S_OK},
        {kSetVersion, {length, version}, DISP_E_TYPEMISMATCH},
        {kSetVersion, {version}, DISP_E_BADPARAMCOUNT},
        {kOpen, {name}, S_OK},
        {kOpen, {length}, DISP_E_TYPEMISMATCH},
        {kStart, {name}, DISP_E_BADPARAMCOUNT},
        {4, {}, DISP_E_MEMBERNOTFOUND},
        {0, {}, DISP_E_MEMBERNOTFOUND},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.id);
        const DispatchMember* member = nullptr;
        EXPECT_EQ(CheckDispatchCall(kMethods, c.id, c.args, &member), c.expected);
        if (c.expected == S_OK) {
            EXPECT_EQ(member->id, c.id);
        }
    }
    BSTR answer = nullptr;
    std::vector<VARIANT> by_ref = {VariantByRefString(&answer)};
    EXPECT_EQ(CheckDispatchCall(kEvents, kFileNeeded, by_ref, nullptr), S_OK);
    EXPECT_EQ(CheckDispatchCall(kEvents, kFileReady, by_ref, nullptr), S_OK);
    EXPECT_EQ(CheckDispatchCall(kEvents, kFileNeeded, std::vector<VARIANT>{name}, nullptr), DISP_E_TYPEMISMATCH);
    VariantClear(&name);
}

// The host's side of the events: records them and answers path requests.
class EventSink final : public IDispatch {
public:
    HRESULT QueryInterface(const IID& iid, void** out) override {
        return AnswerQuery<IDispatch>(
            this, iid == IID_IUnknown || iid == IID_IDispatch || iid == kTestEditorEvents, out);
    }
    uint32_t AddRef() override { return ++refs; }
    uint32_t Release() override { return --refs; }  // lives on the test's stack

    HRESULT Invoke(DISPID member, std::span<VARIANT> args, VARIANT*) override {
        std::string text;
        if (!args.empty()) VariantToText(args[0], &text);
        events.push_back(std::to_string(member) + ":" + text);
        if (member == kFileWanted && answer) SetByRefText(args[0], *answer);
        return S_OK;
    }

    uint32_t refs = 1;
    std::vector<std::string> events;
    std::optional<std::string> answer;  // null: leave the buffer alone
};

class ObjectLayer : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(RegisterServer(TestServerPath()), S_OK); }

    // Calls a method and returns its result as text ("" for none).
    std::string Call(IDispatch* object, DISPID id, std::vector<VARIANT> args, HRESULT expected = S_OK) {
        VARIANT result;
        EXPECT_EQ(object->Invoke(id, args, &result), expected);
        for (VARIANT& arg : args) VariantClear(&arg);
        std::string text;
        if (result.vt == VT_BOOL) text = result.boolVal == VARIANT_TRUE ? "TRUE" : "FALSE";
        if (result.vt == VT_BSTR) VariantToText(result, &text);
        VariantClear(&result);
        return text;
    }
};

TEST_F(ObjectLayer, CreatedByClassIdCalledByNumberAndFiresEvents) {
    CLSID clsid{};
    ASSERT_EQ(ClassIdFromProgId(kTestEditorProgId, &clsid), S_OK);
    EXPECT_EQ(clsid, kTestEditorClass);

    ComPtr<IDispatch> editor;
    ASSERT_EQ(CreateInstance(GuidFromString(GuidToString(clsid)).value(), IID_IDispatch, editor.Put()), S_OK);
    ASSERT_TRUE(editor);

    EXPECT_EQ(
        Call(editor.Get(), kDescribe, {VariantFromString("PLC V3.10"), VariantFromDouble(3.1), VariantFromLong(4096)}),
        "PLC V3.10|3.1|4096");
    EXPECT_EQ(Call(editor.Get(), kDescribe, {VariantFromString("x")}, DISP_E_BADPARAMCOUNT), "");
    EXPECT_EQ(Call(editor.Get(),
                   kDescribe,
                   {VariantFromString("x"), VariantFromString("3.1"), VariantFromLong(1)},
                   DISP_E_TYPEMISMATCH),
              "");
    EXPECT_EQ(Call(editor.Get(), 99, {}, DISP_E_MEMBERNOTFOUND), "");

    EventSink sink;
    uint32_t cookie = 0;
    ASSERT_EQ(ConnectEvents(editor.Get(), kTestEditorEvents, &sink, &cookie), S_OK);
    EXPECT_EQ(ConnectEvents(editor.Get(), kUnknownId, &sink, &cookie), E_NOINTERFACE);

    sink.answer = "..\\TMP\\PlcIn.txt";
    EXPECT_EQ(Call(editor.Get(), kAskForFile, {}), "..\\TMP\\PlcIn.txt");
    sink.answer = std::nullopt;
    EXPECT_EQ(Call(editor.Get(), kAskForFile, {}), " ");  // untouched buffer: one blank
    sink.answer = "";
    EXPECT_EQ(Call(editor.Get(), kAskForFile, {}), "");
    sink.answer = std::string("cut\0here", 8);
    EXPECT_EQ(Call(editor.Get(), kAskForFile, {}), "cut");
    EXPECT_EQ(Call(editor.Get(), kAnnounce, {VariantFromString("Project1")}), "TRUE");
    EXPECT_EQ(sink.events, (std::vector<std::string>{"1: ", "1: ", "1: ", "1: ", "2:Project1"}));

    ASSERT_EQ(DisconnectEvents(editor.Get(), kTestEditorEvents, cookie), S_OK);
    EXPECT_EQ(DisconnectEvents(editor.Get(), kTestEditorEvents, cookie), E_FAIL);
    EXPECT_EQ(Call(editor.Get(), kAskForFile, {}), " ");
    EXPECT_EQ(sink.events.size(), 5u);
    editor.Reset();
    EXPECT_EQ(sink.refs, 1u);  // the object let go of the sink
}

TEST_F(ObjectLayer, ModuleCanUnloadOnlyWhenNothingIsInUse) {
    ModuleHandle module = LoadLibraryA(TestServerPath());
    ASSERT_NE(module, nullptr);
    auto can_unload = reinterpret_cast<DllCanUnloadNowFunction>(GetProcAddress(module, kDllCanUnloadNow));
    ASSERT_NE(can_unload, nullptr);

    ComPtr<IClassFactory> factory;
    ASSERT_EQ(GetClassObject(kTestEditorClass, IID_IClassFactory, factory.Put()), S_OK);
    EventSink outer;
    ComPtr<IDispatch> object;
    EXPECT_EQ(factory->CreateInstance(&outer, IID_IDispatch, object.Put()), CLASS_E_NOAGGREGATION);
    EXPECT_FALSE(object);
    EXPECT_EQ(factory->CreateInstance(nullptr, IID_IClassFactory, object.Put()), E_NOINTERFACE);
    EXPECT_EQ(can_unload(), S_OK);
    ASSERT_EQ(factory->CreateInstance(nullptr, IID_IDispatch, object.Put()), S_OK);
    EXPECT_EQ(can_unload(), S_FALSE);
    object.Reset();
    EXPECT_EQ(can_unload(), S_OK);
    factory->LockServer(true);
    EXPECT_EQ(can_unload(), S_FALSE);
    factory->LockServer(false);
    EXPECT_EQ(can_unload(), S_OK);
    FreeLibrary(module);
}

TEST_F(ObjectLayer, RegistrationWritesTheClassAndUnregistrationRemovesExactlyThat) {
    const std::string clsid = GuidToString(kTestEditorClass);
    std::string path;
    ASSERT_EQ(TheRegistry().ReadValue("HKCR\\CLSID\\" + clsid + "\\InprocServer32", "", 260, &path),
              RegistryStatus::kOk);
    EXPECT_EQ(path, TestServerPath());
    std::string model, misc, prog_id;
    TheRegistry().ReadValue("HKCR\\CLSID\\" + clsid + "\\InprocServer32", "ThreadingModel", 260, &model);
    TheRegistry().ReadValue("HKCR\\CLSID\\" + clsid + "\\MiscStatus\\1", "", 260, &misc);
    TheRegistry().ReadValue("HKCR\\CLSID\\" + clsid + "\\ProgID", "", 260, &prog_id);
    EXPECT_EQ(model, "Apartment");
    EXPECT_EQ(misc, "132241");
    EXPECT_EQ(prog_id, kTestEditorProgId);
    EXPECT_EQ(TheRegistry().KeyExists("HKCR\\CLSID\\" + clsid + "\\Control"), RegistryStatus::kOk);
    EXPECT_EQ(TheRegistry().KeyExists("HKCR\\TypeLib\\{0E5D4C21-7B1A-4F43-9C9E-3A5D1B7E8F60}\\1.0\\0\\linux"),
              RegistryStatus::kOk);

    // Start from a store that already holds something of its own.
    ASSERT_EQ(UnregisterServer(TestServerPath()), S_OK);
    ASSERT_EQ(TheRegistry().SetValue("HKCR\\.txt", "", "txtfile"), RegistryStatus::kOk);
    ASSERT_EQ(TheRegistry().SetValue("HKCR\\CLSID\\{00000000-0000-0000-0000-000000000001}", "", "Other"),
              RegistryStatus::kOk);
    const std::string before = testsupport::ReadFile(TheRegistry().path());
    ASSERT_EQ(RegisterServer(TestServerPath()), S_OK);
    EXPECT_NE(testsupport::ReadFile(TheRegistry().path()), before);
    ASSERT_EQ(UnregisterServer(TestServerPath()), S_OK);
    EXPECT_EQ(testsupport::ReadFile(TheRegistry().path()), before);

    EXPECT_EQ(UnregisterServer(TestServerPath()), SELFREG_E_TYPELIB);
    ComPtr<IDispatch> object;
    EXPECT_EQ(CreateInstance(kTestEditorClass, IID_IDispatch, object.Put()), REGDB_E_CLASSNOTREG);
    CLSID unused{};
    EXPECT_EQ(ClassIdFromProgId(kTestEditorProgId, &unused), REGDB_E_CLASSNOTREG);
}

TEST_F(ObjectLayer, RegistrationIntoADamagedStoreFailsAndChangesNothing) {
    ASSERT_EQ(UnregisterServer(TestServerPath()), S_OK);
    const std::string damaged = "[HKEY_CLASSES_ROOT\\.txt]\ngarbage\n";
    testsupport::WriteFile(TheRegistry().path(), damaged);
    EXPECT_EQ(RegisterServer(TestServerPath()), SELFREG_E_TYPELIB);
    EXPECT_EQ(testsupport::ReadFile(TheRegistry().path()), damaged);
}

TEST_F(ObjectLayer, ClassWhoseModuleIsMissingCannotBeCreated) {
    ASSERT_EQ(UnregisterServer(TestServerPath()), S_OK);
    ASSERT_EQ(TheRegistry().SetValue("HKCR\\CLSID\\" + GuidToString(kTestEditorClass) + "\\InprocServer32",
                                     "",
                                     ExecutableDirectory() + "/libtorvan_com_test_server-missing.so"),
              RegistryStatus::kOk);
    ComPtr<IDispatch> object;
    EXPECT_EQ(CreateInstance(kTestEditorClass, IID_IDispatch, object.Put()), E_FAIL);
    EXPECT_EQ(CreateInstance(kUnknownId, IID_IDispatch, object.Put()), REGDB_E_CLASSNOTREG);
    EXPECT_EQ(RegisterServer(ExecutableDirectory() + "/libtorvan_loadable_test.so"), E_FAIL);
}

}  // namespace
