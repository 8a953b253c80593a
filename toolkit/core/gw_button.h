// A push button. A click fires its activate callback; a button whose
// definition gives a result code ("result = 6") then ends the modal run of
// its window with that code. Press and release fire the button binding (or,
// without one, the activate binding) with GwBUTTON_DOWN / GwBUTTON_UP.
#pragma once

#include "toolkit/core/gw_core.h"

class GwPushButton : public GwCore {
public:
    GwPushButton(const std::string& name, GwCore* parent) : GwCore(GwPUSHBUTTON_CLASS, name, parent) {}

    // A click as by the user; false when the button is not sensitive or
    // not visible.
    bool click();
    bool press();
    bool release();
    // The result code that ends the window's modal run, -1 for none.
    int result_code() const { return result_code_; }
    void set_result_code(int code) { result_code_ = code; }

    void apply_definition(const GwDefinition& def, int language) override;

protected:
    ~GwPushButton() override = default;
    void copy_state_to(GwCore* copy) const override;

private:
    bool Pushed(int code);
    int result_code_ = -1;
};
