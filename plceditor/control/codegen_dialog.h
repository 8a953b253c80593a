// CodeGeneratorDialog: chooses the code generator and the code memory size.
// A modal window "CodeGeneratorDialog" with the list "Version", the label
// "MemoryLabel" and the number edit "MemorySize" (both hidden for V1.10),
// and the buttons "OK" and "Cancel". OK refuses a memory size beyond what
// the V2.10 and V3.10 stores hold.
#pragma once

#include "toolkit/core/gw_event.h"
#include "toolkit/core/gw_ref.h"

class GwCore;
class GwCombo;
class GwEdit;

namespace sindel {

class CodeGeneratorDialog {
public:
    static constexpr char kWindowName[] = "CodeGeneratorDialog";
    static constexpr int kMaxMemoryWords = 4096;

    // True after OK; index() and memory_size() then hold the choice (the
    // memory size stays as given for V1.10).
    bool Run(GwCore* owner, int index, int memory_size);
    int index() const { return index_; }
    int memory_size() const { return accepted_; }

private:
    static int OnSelect(GwCore*, GwEvent*, GwUD);
    static int OnOk(GwCore*, GwEvent*, GwUD);
    void ShowMemoryControls();
    bool Accept();

    GwRef<> window_;
    GwRef<GwCombo> list_;
    GwRef<> memory_label_;
    GwRef<GwEdit> memory_edit_;
    int index_ = 0;
    int shown_ = 0;
    int accepted_ = 0;
};

}  // namespace sindel
