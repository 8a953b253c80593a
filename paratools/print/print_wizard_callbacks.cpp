#include "paratools/print/print_wizard.h"

namespace {

const GwFuncDesc kPrintWizardCallbacks[] = {
    {"CB0_CreatePrintPara0", CB0_CreatePrintPara0},
    {"CB0_ShowPrintPara0", CB0_ShowPrintPara0},
    {"CB0_NewFormat", CB0_NewFormat},
    {"CB0_SetPrinter", CB0_SetPrinter},
    {"CB0_SetExcel", CB0_SetExcel},
    {"CB0_SetAscii", CB0_SetAscii},
    {"CB0_IncludeComment", CB0_IncludeComment},
    {"CB0_SetComment", CB0_SetComment},
    {"CB0_StartAssi", CB0_StartAssi},
    {"CB0_StartPrint", CB0_StartPrint},
    {"CB0_ShowPrint", CB0_ShowPrint},
    {"CB1_CreatePrintPara1", CB1_CreatePrintPara1},
    {"CB1_ShowPrintPara1", CB1_ShowPrintPara1},
    {"CB1_SetRowProp", CB1_SetRowProp},
    {"CB1_SelectAll", CB1_SelectAll},
    {"CB1_SelectNone", CB1_SelectNone},
    {"CB1_SaveRowProp", CB1_SaveRowProp},
    {"CB1_Next", CB1_Next},
    {"CB1_ShowPrint", CB1_ShowPrint},
    {"CB2_CreatePrintPara2", CB2_CreatePrintPara2},
    {"CB2_SetRowGroup", CB2_SetRowGroup},
    {"CB2_SelectAll", CB2_SelectAll},
    {"CB2_SelectNone", CB2_SelectNone},
    {"CB2_SaveRowGroup", CB2_SaveRowGroup},
    {"CB2_Next", CB2_Next},
    {"CB2_ShowPrint", CB2_ShowPrint},
    {"CB2_Back", CB2_Back},
    {"CB3_CreatePrintPara3", CB3_CreatePrintPara3},
    {"CB3_Next", CB3_Next},
    {"CB3_Back", CB3_Back},
    {"CB3_ShowPrint", CB3_ShowPrint},
    {"CB4_Create", CB4_Create},
    {"CB4_Expose", CB4_Expose},
    {"CB4_Close", CB4_Close},
    {nullptr, nullptr},
};

}  // namespace

const GwFuncDesc* PrintWizardCallbacks() { return kPrintWizardCallbacks; }
