#include "app/main/editor_context.h"

ParameterEditorContext& TheParameterEditorContext() {
    static ParameterEditorContext context;
    return context;
}
