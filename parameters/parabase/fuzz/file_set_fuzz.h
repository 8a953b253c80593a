// What the file-set fuzz targets share: a work directory that is also the
// working directory (so the standard description file, looked up beside it,
// is found), and the check that a set read, written and read again is the
// same table with the same values.
#pragma once

#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <string>

#include "parameters/parabase/entry_record.h"
#include "parameters/parabase/fuzz/fuzz_work_dir.h"
#include "parameters/parabase/para_base.h"
#include "parameters/values/darray.h"
#include "parameters/values/dstring.h"

namespace parabasefuzz {

inline constexpr char kDescriptionFile[] = "[parameterdescription]\nP001=x\n";

// The work directory, made the working directory on first use.
inline const WorkDirectory& SetWorkDirectory(const char* stem) {
    static const WorkDirectory work(stem);
    static const bool entered = [] {
        work.Write("tarn_std.PIT", reinterpret_cast<const uint8_t*>(kDescriptionFile), std::strlen(kDescriptionFile));
        return chdir(work.File("").c_str()) == 0;
    }();
    if (!entered) std::abort();
    return work;
}

inline bool SameValues(ParaBase& a, ParaBase& b, int number) {
    const darray* x = a.GetArrayObject(number);
    const darray* y = b.GetArrayObject(number);
    if ((x == nullptr) != (y == nullptr)) return false;
    if (x != nullptr) {
        if (x->GetCount() != y->GetCount() || x->GetElementSize() != y->GetElementSize()) return false;
        // An empty array has no data block to compare.
        if (x->GetByteSize() > 0 && std::memcmp(x->Data(), y->Data(), x->GetByteSize()) != 0) return false;
    }
    const dstring* s = a.GetTextObject(number);
    const dstring* t = b.GetTextObject(number);
    const std::string sa = s != nullptr ? s->Text() : "";
    const std::string sb = t != nullptr ? t->Text() : "";
    return sa == sb;
}

// Reads the set at `path`; a loaded table must survive a write as set
// "again" and a second read unchanged (marks A and the value-object bytes
// aside). Aborts on any difference.
inline void ReadAndRoundTrip(const WorkDirectory& work, const std::string& path) {
    ParaBase base;
    base.InitFile(path.c_str());
    if (base.ReadFileBase() != kParaOk) {
        if (base.TableLoaded != 0) std::abort();
        return;
    }
    base.InitFile(work.File("again.00D").c_str());
    if (base.WriteFileBase() != kParaOk) std::abort();
    ParaBase again;
    again.InitFile(work.File("again.00D").c_str());
    if (again.ReadFileBase() != kParaOk) std::abort();
    for (int i = 0; i < kParameterCount; ++i) {
        uint8_t ra[kEntryRecordSize], rb[kEntryRecordSize];
        WriteEntryRecord(*base.GetEntry(i), ra);
        WriteEntryRecord(*again.GetEntry(i), rb);
        if (std::memcmp(ra, rb, entry_record::kMarkA) != 0 ||
            std::memcmp(ra + entry_record::kTransfer,
                        rb + entry_record::kTransfer,
                        kEntryRecordSize - entry_record::kTransfer) != 0)
            std::abort();
        if (base.IsPresent(i) && !SameValues(base, again, i)) std::abort();
    }
}

}  // namespace parabasefuzz
