// Fuzz target of the D file reader: any bytes as the table file of a set
// with an empty X and T file; a table that loads survives a round trip.
#include <string>

#include "parameters/parabase/fuzz/file_set_fuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const parabasefuzz::WorkDirectory& work = parabasefuzz::SetWorkDirectory("torvan_dfile_fuzz_");
    work.Write("set.00X", nullptr, 0);
    work.Write("set.00T", nullptr, 0);
    parabasefuzz::ReadAndRoundTrip(work, work.Write("set.00D", data, size));
    return 0;
}
