// The parameter print wizard: its four pages, the comment window, the print
// run and the preview, and the state they share for the program's run.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "paratools/print/para_print_job.h"
#include "paratools/print/para_print_settings.h"
#include "toolkit/core/gw_event.h"
#include "toolkit/core/gw_func_desc.h"

class GwCore;
class ParaBase;

inline constexpr char kUserPrintDefinesSection[] = "user_print_defines";
inline constexpr char kSpreadsheetStartFailedText[] = "Sorry, cannot start Microsoft Excel!";

struct PrintWizardState {
    std::unique_ptr<ParaPrintSettings> settings;
    ParaBase* base = nullptr;
    int formatIndex = 0;
    int destination = 0;  // 0 printer, 1 spreadsheet file, 2 text file
    std::string outputPath;
    std::string rememberedDirectory;
    PrintFrameTexts frame;
    std::vector<PrintProperty> properties;
    std::unique_ptr<ParaPrintJob> printJob;
    std::unique_ptr<ParaPrintJob> previewJob;
};

// The wizard's state; emptied between tests.
PrintWizardState& ThePrintWizard();

// The print run from a wizard page.
void RunParaPrint(GwCore* page);

int CB0_CreatePrintPara0(GwCore* widget, GwEvent* event, GwUD userData);
int CB0_ShowPrintPara0(GwCore* widget, GwEvent* event, GwUD userData);
int CB0_NewFormat(GwCore* widget, GwEvent* event, GwUD userData);
int CB0_SetPrinter(GwCore* widget, GwEvent* event, GwUD userData);
int CB0_SetExcel(GwCore* widget, GwEvent* event, GwUD userData);
int CB0_SetAscii(GwCore* widget, GwEvent* event, GwUD userData);
int CB0_IncludeComment(GwCore* widget, GwEvent* event, GwUD userData);
int CB0_SetComment(GwCore* widget, GwEvent* event, GwUD userData);
int CB0_StartAssi(GwCore* widget, GwEvent* event, GwUD userData);
int CB0_StartPrint(GwCore* widget, GwEvent* event, GwUD userData);
int CB0_ShowPrint(GwCore* widget, GwEvent* event, GwUD userData);
int CB1_CreatePrintPara1(GwCore* widget, GwEvent* event, GwUD userData);
int CB1_ShowPrintPara1(GwCore* widget, GwEvent* event, GwUD userData);
int CB1_SetRowProp(GwCore* widget, GwEvent* event, GwUD userData);
int CB1_SelectAll(GwCore* widget, GwEvent* event, GwUD userData);
int CB1_SelectNone(GwCore* widget, GwEvent* event, GwUD userData);
int CB1_SaveRowProp(GwCore* widget, GwEvent* event, GwUD userData);
int CB1_Next(GwCore* widget, GwEvent* event, GwUD userData);
int CB1_ShowPrint(GwCore* widget, GwEvent* event, GwUD userData);
int CB2_CreatePrintPara2(GwCore* widget, GwEvent* event, GwUD userData);
int CB2_SetRowGroup(GwCore* widget, GwEvent* event, GwUD userData);
int CB2_SelectAll(GwCore* widget, GwEvent* event, GwUD userData);
int CB2_SelectNone(GwCore* widget, GwEvent* event, GwUD userData);
int CB2_SaveRowGroup(GwCore* widget, GwEvent* event, GwUD userData);
int CB2_Next(GwCore* widget, GwEvent* event, GwUD userData);
int CB2_ShowPrint(GwCore* widget, GwEvent* event, GwUD userData);
int CB2_Back(GwCore* widget, GwEvent* event, GwUD userData);
int CB3_CreatePrintPara3(GwCore* widget, GwEvent* event, GwUD userData);
int CB3_Next(GwCore* widget, GwEvent* event, GwUD userData);
int CB3_Back(GwCore* widget, GwEvent* event, GwUD userData);
int CB3_ShowPrint(GwCore* widget, GwEvent* event, GwUD userData);
int CB4_Create(GwCore* widget, GwEvent* event, GwUD userData);
int CB4_Expose(GwCore* widget, GwEvent* event, GwUD userData);
// The preview's own close button: ends its modal run.
int CB4_Close(GwCore* widget, GwEvent* event, GwUD userData);

// Every callback of the wizard's pages, the comment window and the preview,
// ended by the null entry; the program joins it into its tables.
const GwFuncDesc* PrintWizardCallbacks();
