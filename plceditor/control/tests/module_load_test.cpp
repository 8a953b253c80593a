// libSindel.so in a process that links none of the toolkit: loading it
// brings everything it needs, and the control opens its editor window.
#include <gtest/gtest.h>

#include "platform/com/com_objects.h"
#include "platform/com/com_registry.h"
#include "platform/system/dynamic_library.h"
#include "plceditor/interface/sindel_ids.h"

namespace {

using namespace platform;
using namespace sindel;

TEST(SindelModule, LoadsAndOpensItsEditorOnItsOwn) {
    ASSERT_EQ(RegisterServer(ExecutableDirectory() + "/libSindel.so"), S_OK);
    ComPtr<IDispatch> control;
    ASSERT_EQ(CreateInstance(CLSID_Sindel, IID_IDispatch, control.Put()), S_OK);
    VARIANT result;
    ASSERT_EQ(control->Invoke(kPlcCreate, {}, &result), S_OK);
    EXPECT_EQ(result.boolVal, VARIANT_TRUE);
    ASSERT_EQ(control->Invoke(kPlcDestroy, {}, &result), S_OK);
    EXPECT_EQ(result.boolVal, VARIANT_TRUE);
}

}  // namespace
