// The parameter accesses of an identification run: by role of the table of
// the current run, through the window's base (on the device when online, in
// its table when offline), with main error 5 for the base on a failure
// unless the step ends quietly.
#pragma once

class OnOffBase;

class IdentAccess {
public:
    explicit IdentAccess(OnOffBase* base) : base_(base) {}

    bool Read(int role, double* out, int element = 0);
    bool Write(int role, double value, int element = 0);
    // The same without a box.
    bool ReadQuiet(int role, double* out, int element = 0);
    bool WriteQuiet(int role, double value, int element = 0);
    // Main error 5 for the base; false.
    bool ShowAccessError();

    OnOffBase* Base() const { return base_; }

private:
    OnOffBase* base_;
};
