// A snapshot of a fixed set of device parameters, each a (parameter, element)
// pair with one value, read in one go by the read rule (the device when the
// base is online, else the table) and refreshed one pair at a time. A read
// failure empties the list; asking for a pair the list does not hold is an
// error of the window, and is reported as such.
#pragma once

#include <vector>

class ParaBase;

struct LocalParameter {
    int Number = 0;
    int Element = 0;
};

class LocalParameterList {
public:
    // Keeps the caller's table (not owned) and reads every entry.
    LocalParameterList(ParaBase* base, const LocalParameter* entries, int count);

    // Reads every entry in table order; at the first failure shows device
    // error 5, empties the list and gives false.
    bool ReadAll();
    // Reads one pair again; false (the list emptied after device error 5)
    // when the read fails, and false without a read when the list does not
    // hold the pair.
    bool ReadValue(int number, int element);
    // The pair's position; -1 after an error box when the list does not hold
    // it.
    int IndexOf(int number, int element) const;
    // The value at a position; 0.0 outside the list.
    double Value(int index) const;
    int Count() const { return count_; }

private:
    bool ReadEntry(int index);
    // A failed read: device error 5 for the base, then nothing is left.
    void Fail();

    int count_ = 0;
    const LocalParameter* entries_ = nullptr;
    std::vector<double> values_;
    ParaBase* base_ = nullptr;
};
