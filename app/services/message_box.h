// Message boxes by number or text: errors, warnings, facts and questions
// shown as modal windows over a parent, answered true (yes/OK) or false
// (no/cancel), and written to the program log.
#pragma once

class GwCore;
class ParaBase;

// Box kinds, passed as integers.
inline constexpr int kErrorBox = 0;
inline constexpr int kWarningBox = 1;
inline constexpr int kInfoBox = 2;
inline constexpr int kQuestionBox = 3;

// Main message numbers whose text comes from somewhere else.
inline constexpr int kBusErrorMessage = 1;           // the active bus's error text
inline constexpr int kNoBusMessage = 2;              // text of 1 without a bus
inline constexpr int kParaBaseErrorMessage = 5;      // the base's last error text
inline constexpr int kNoParaBaseMessage = 6;         // text of 5 without a base
inline constexpr int kWorkingBaseErrorMessage = 10;  // the working base's error

// Numbered boxes show main message `number` ("MN_%05u" in "Main-Messages")
// with "!" appended ("?" for a question). The functions without a paraBase
// argument use the active device's parameter base. parent may be null; an
// invalid parent falls back to the main window. Before the main window exists
// (MessageBoxesEnabled clear) every request returns true without a box.
//
// While a box of the same kind is open a request returns at once without a
// box: false for ShowErrorMessageFor, true for every other function.
bool ShowErrorMessage(int number, GwCore* parent = nullptr);
bool ShowErrorMessageFor(int number, ParaBase* paraBase, GwCore* parent = nullptr);
bool ShowErrorTextBox(const char* text, GwCore* parent = nullptr);
bool ShowErrorText(const char* text, GwCore* parent = nullptr);

bool ShowWarningMessage(int number, GwCore* parent = nullptr);
bool ShowWarningMessageFor(int number, ParaBase* paraBase, GwCore* parent = nullptr);
bool ShowWarningTextBox(const char* text, GwCore* parent = nullptr);
bool ShowWarningText(const char* text, GwCore* parent = nullptr);

bool ShowInfoMessage(int number, GwCore* parent = nullptr);
bool ShowInfoMessageFor(int number, ParaBase* paraBase, GwCore* parent = nullptr);
void ShowInfoTextBox(const char* text, GwCore* parent = nullptr);
void ShowInfoText(const char* text, GwCore* parent = nullptr);

bool ShowQuestionMessage(int number, GwCore* parent = nullptr);
bool ShowQuestionMessageFor(int number, ParaBase* paraBase, GwCore* parent = nullptr);
bool ShowQuestionTextBox(const char* text, GwCore* parent = nullptr);
bool ShowQuestionText(const char* text, GwCore* parent = nullptr);

// True while a box of any kind is being shown through the functions above.
bool IsMessageBoxOpen();

// Builds the text of main message `number` (with the special numbers 1, 5 and
// 10), appends the kind's ending and shows it. No re-entrance check.
bool ShowMessageByNumber(int number, ParaBase* paraBase, int kind, GwCore* parent);
// Shows one modal box of `kind` with `text`; `caption` (when not null)
// replaces the kind's caption from "Titles". No re-entrance check.
bool ShowMessageBox(const char* text, int kind, GwCore* parent, const char* caption);

// The answer of a box's result code: true for 6, 8, 9 and 10.
bool IsPositiveBoxResult(int resultCode);
