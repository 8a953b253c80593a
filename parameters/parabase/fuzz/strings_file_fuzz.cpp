// Fuzz target of the X profile reader: any bytes as the X file of a set whose
// table has texts and an array of every array class; a set that loads
// survives a round trip.
#include <cstdlib>
#include <string>

#include "parameters/parabase/fuzz/file_set_fuzz.h"
#include "parameters/parabase/value_text_table.h"

namespace {

struct Parameter {
    int number;
    char type;
    bool array;
};

// The table of every input: a text and an array of each class.
constexpr Parameter kTable[] = {
    {12, kTypeString, false},
    {200, kTypeUsign8, true},
    {201, kTypeUsign16, true},
    {202, kTypeFixpt16, true},
    {203, kTypeInt16, true},
    {204, kTypeInt32Q16, true},
    {205, kTypeFloat32, true},
    {206, kTypeErrStruc, true},
    {207, kTypeInt8, true},
    {208, kTypeInt32, true},
    {209, kTypeUsign32, true},
};

// Writes the D and T files of the table once; the X file is the input's.
void WriteTable(const parabasefuzz::WorkDirectory& work) {
    ParaBase base;
    for (const Parameter& p : kTable) {
        ParameterEntry& e = *base.GetEntry(p.number);
        e.number = static_cast<int16_t>(p.number);
        e.type = p.type;
        e.valid = 1;
        e.transfer = 1;
        if (p.array) {
            e.flags = kFlagArray;
            base.SetArrayObject(p.number, CreateArrayForType(p.type, 1));
        }
    }
    base.GetValueTextTable().AddFirstText(200, "Off");
    base.TableLoaded = 1;
    base.InitFile(work.File("set.00D").c_str());
    if (base.WriteFileBase() != kParaOk) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const parabasefuzz::WorkDirectory& work = parabasefuzz::SetWorkDirectory("torvan_xfile_fuzz_");
    static const bool written = (WriteTable(work), true);
    (void)written;
    work.Write("set.00X", data, size);
    parabasefuzz::ReadAndRoundTrip(work, work.File("set.00D"));
    return 0;
}
