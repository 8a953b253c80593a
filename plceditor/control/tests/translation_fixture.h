// The editor window open on a source text, with what the translating
// commands' tests read and script: the message list, the boxes shown, the
// decode's progress window and the generator in use.
#pragma once

#include <string>
#include <vector>

#include "plceditor/control/decode_progress_dialog.h"
#include "plceditor/control/plc_commands.h"
#include "plceditor/control/tests/editor_fixture.h"

namespace sindel {

class TranslationTest : public EditorTest {
protected:
    // Opens the editor on `text` with a generator.
    void OpenOn(int generator, const std::string& text) {
        Open();
        editor_->SetGenerator(generator);
        Edit().set_text(text);
    }
    PlcCommands& Commands() { return dynamic_cast<PlcCommands&>(editor_->Extensions()); }

    std::vector<std::string> Messages() {
        std::vector<std::string> rows;
        ListBox* list = editor_->Messages();
        for (int row = 0; row < list->GetCount(); ++row) rows.push_back(list->GetText(row));
        return rows;
    }
    std::vector<std::string> BoxTexts() {
        std::vector<std::string> texts;
        for (const GwBoxRecord& box : gwtest::Boxes()) texts.push_back(box.text);
        return texts;
    }
    // The next decode runs as its progress window's timer fires.
    static void ExpectDecode() {
        gwtest::ScriptModal({DecodeProgressDialog::kWindowName,
                             [](GwCore*) { gwtest::Advance(DecodeProgressDialog::kStartDelayMs); },
                             std::nullopt});
    }
    // The date stamp at the virtual clock's start.
    static constexpr char kStamp[] = "; 01/01/2026, 00:00, ";
};

// Lines joined with CR LF, each ended by one.
inline std::string Source(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) text += line + "\r\n";
    return text;
}

}  // namespace sindel
