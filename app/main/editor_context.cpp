#include "app/main/editor_context.h"

#include "platform/base/reset_hooks.h"

ParameterEditorContext& TheParameterEditorContext() {
    static ParameterEditorContext context;
    return context;
}

void SetParameterEditorContext(ParaBase* base, int mode) { TheParameterEditorContext() = {base, mode}; }

namespace {

platform::ResetHook ResetState([] { TheParameterEditorContext() = {}; });

}  // namespace
