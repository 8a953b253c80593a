// Parameter spreadsheets: one column per array parameter (its column id a
// parameter widget name), one row per element (its row id the element
// index), sized from a parameter and filled on a user event; the column
// titles come from the sheet's aux text. Also the value button, which writes
// a fixed number.
#pragma once

class GwCore;
class GwSpreadSheet;
class GwUD;
struct GwEvent;

int CB_CreatParaSpreadSheet(GwCore* widget, GwEvent* event, GwUD userData);
int CB_ShowParaSpreadSheet(GwCore* widget, GwEvent* event, GwUD userData);
int CB_SetParaValue(GwCore* widget, GwEvent* event, GwUD userData);
int CB_ResizeSpreadSheet(GwCore* widget, GwEvent* event, GwUD userData);
// The column takes the width the other columns leave (less 18 pixels for
// the frame), when that is more than 1.
void FitSpreadSheetColumn(GwSpreadSheet* sheet, int column);
