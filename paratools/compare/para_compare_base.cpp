#include "paratools/compare/para_compare_base.h"

#include <memory>

#include "app/services/activity_message.h"
#include "app/services/message_text.h"
#include "parameters/parabase/para_types.h"
#include "parameters/values/darray.h"
#include "parameters/values/dstring.h"
#include "platform/base/format.h"
#include "platform/base/reset_hooks.h"
#include "scope/rounding/significant_digits.h"
#include "toolkit/profile/gw_profile.h"

namespace {

constexpr int kCompareProgressMessage = 21;
constexpr int kCompareDigits = 6;
enum Remark : int {
    kOnlyInSet2 = 98,
    kOnlyInSet1 = 99,
    kDifferentType = 100,
    kDifferentName = 101,
    kSet2NoArray = 102,
    kDifferentCount = 103,
    kReadErrorSet1 = 104,
    kReadErrorSet2 = 105,
    kSet2NoText = 106,
};

ParaCompareBase& Instance() {
    static ParaCompareBase base;
    return base;
}

platform::ResetHook ResetState([] { Instance().Reset(); });

// Texts from message files are applied as formats only through the checked
// substitution.
std::string FormatMessage(int n, const std::vector<platform::FormatArg>& args) {
    return platform::FormatChecked(MainMessageText(n), args).text;
}

class Report {
public:
    Report(ParaCompareBase& side1, ParaBase& side2, std::FILE* file, bool defaults)
        : a_(side1), b_(side2), file_(file), defaults_(defaults) {}

    void Run() {
        ProgressMessage progress(kCompareProgressMessage, kParaCount);
        for (int n = 0; n < kParaCount; ++n) {
            progress.SetValue(static_cast<unsigned>(n));
            Compare(n);
        }
    }

private:
    static constexpr int kParaCount = 1000;

    static bool In(ParaBase& base, int n) {
        const ParameterEntry* e = base.GetEntry(n);
        return e->number != 0 && e->valid != 0 && e->transfer != 0;
    }
    void Put(const std::string& text) { std::fwrite(text.data(), 1, text.size(), file_); }
    std::string Head(ParaBase& base, int n) {
        const std::string name = base.GetParameterName(n);
        return platform::Format("%3d-%-10s \t%-60s \t", n, name, std::string(base.GetParameterDescription(n)));
    }
    std::string ElementHead(int n, int j) {
        const std::string name = a_.GetParameterName(n);
        return platform::Format("%3d-%-5s[%3d] \t%-60s \t", n, name, j, std::string(a_.GetParameterDescription(n)));
    }
    void LineA(ParaBase& base, int n, int remark) { Put(Head(base, n) + MainMessageText(remark) + "!\n"); }
    static std::string Rounded(double v) {
        return platform::Format("%lf", RoundToSignificantDigits(v, kCompareDigits));
    }
    bool IsArray(ParaBase& base, int n) { return (base.GetEntry(n)->flags & kFlagArray) != 0; }
    bool IsString(ParaBase& base, int n) { return base.GetEntry(n)->type == kTypeString; }

    // Side 2's value: stored, or the default of side 2's entry.
    int Side2Double(int n, int element, double* out) {
        if (!defaults_) return b_.GetValueDouble(n, out, element);
        return b_.RawToDouble(n, b_.GetEntry(n)->defaultValue, out);
    }
    std::string Side2Text(int n, int element) {
        if (!defaults_) return b_.FormatStoredValue(n, element, false);
        return b_.FormatRawValue(n, b_.GetEntry(n)->defaultValue, false);
    }

    void Compare(int n) {
        const bool in1 = In(a_, n);
        const bool in2 = In(b_, n);
        if (!in1 && !in2) return;
        if (!in1) return LineA(b_, n, kOnlyInSet2);
        if (!in2) return LineA(a_, n, kOnlyInSet1);
        const ParameterEntry& e1 = *a_.GetEntry(n);
        const ParameterEntry& e2 = *b_.GetEntry(n);
        const CompareOptions& o = a_.Options;
        if (o.OnlyDataSetPara && (e1.SCGroup == 0 || e2.SCGroup == 0)) return;
        if (e1.kind == '1' && !o.ActualValues) return;
        if (e1.kind == '0' && !o.NonFixValues) return;
        if (e1.kind == '1' ? !a_.IsReadAllowed(n, o.Level) : !a_.IsWriteAllowed(n, o.Level)) return;
        if (e1.type != e2.type || e1.kind != e2.kind) return LineA(a_, n, kDifferentType);
        const std::string name2 = b_.GetParameterName(n);
        if (std::string(a_.GetParameterName(n)) != name2)
            Put(Head(a_, n) + FormatMessage(kDifferentName, {name2}) + "!\n");
        if (IsArray(a_, n)) return CompareArray(n);
        if (IsString(a_, n)) return CompareString(n);
        CompareScalar(n);
    }

    void CompareArray(int n) {
        if (!IsArray(b_, n)) return LineA(a_, n, kSet2NoArray);
        const int count = a_.GetValueCount(n);
        if (count != b_.GetValueCount(n)) return LineA(a_, n, kDifferentCount);
        for (int j = 0; j < count; ++j) {
            double v2 = 0, v1 = 0;
            if (Side2Double(n, j, &v2) != kParaOk) {
                Put(ElementHead(n, j) + MainMessageText(kReadErrorSet2) + " " + b_.MessageBuffer + "!\n");
                continue;
            }
            if (a_.GetValueDouble(n, &v1, j) != kParaOk) {
                Put(ElementHead(n, j) + MainMessageText(kReadErrorSet1) + " " + a_.MessageBuffer + "!\n");
                continue;
            }
            if (Rounded(v1) == Rounded(v2)) continue;
            const std::string t1 = a_.FormatStoredValue(n, j, false);
            Put(ElementHead(n, j) + platform::Format("1 = %-20s \t2 = %s\n", t1, Side2Text(n, j)));
        }
    }

    void CompareString(int n) {
        if (!IsString(b_, n)) return LineA(a_, n, kSet2NoText);
        dstring t1, t2;
        if (!defaults_ && b_.GetValueString(n, t2) != kParaOk)
            return Put(Head(a_, n) + MainMessageText(kReadErrorSet2) + " " + b_.MessageBuffer + "!\n");
        if (a_.GetValueString(n, t1) != kParaOk)
            return Put(Head(a_, n) + MainMessageText(kReadErrorSet1) + " " + a_.MessageBuffer + "!\n");
        const std::string s1 = t1.Text();
        const std::string s2 = defaults_ ? std::string() : std::string(t2.Text());
        if (s1 != s2) Put(Head(a_, n) + platform::Format("1 = \"%-18s\" \t2 = \"%s\"\n", s1, s2));
    }

    void CompareScalar(int n) {
        if (IsArray(b_, n)) return LineA(a_, n, kSet2NoArray);
        if (IsString(b_, n)) return LineA(a_, n, kSet2NoText);
        double v1 = 0, v2 = 0;
        if (Side2Double(n, 0, &v2) != kParaOk) return Put(Head(a_, n) + " " + MainMessageText(kReadErrorSet2) + "!\n");
        if (a_.GetValueDouble(n, &v1) != kParaOk)
            return Put(Head(a_, n) + " " + MainMessageText(kReadErrorSet1) + "!\n");
        if (Rounded(v1) == Rounded(v2)) return;
        const std::string t1 = a_.FormatStoredValue(n, 0, false);
        Put(Head(a_, n) + platform::Format("1 = %-20s \t2 = %s\n", t1, Side2Text(n, 0)));
    }

    ParaCompareBase& a_;
    ParaBase& b_;
    std::FILE* file_;
    bool defaults_;
};

}  // namespace

void ParaCompareBase::Reset() {
    Init();
    Options = CompareOptions{};
}

ParaCompareBase& TheCompareBase() { return Instance(); }

void LoadCompareOptions(CompareOptions& o, GwProfile* profile, const char* section) {
    if (profile == nullptr || !profile->is_valid() || !profile->section_exists(section)) {
        o = CompareOptions{};
        return;
    }
    profile->select_section(section);
    o.ActualValues = profile->read_int("ActualValues");
    o.FixValues = profile->read_int("FixValues");
    o.NonFixValues = profile->read_int("NonFixValues");
    o.OnlyDataSetPara = profile->read_int("OnlyDataSetPara");
    o.Level = profile->read_int("Level");
    o.Editor = profile->read("Editor");
    o.OutFile = profile->read("OutFile");
    o.ExternEditor = profile->read_int("ExternEditor");
    o.TextWindow = profile->read_int("TextWindow");
}

bool SaveCompareOptions(const CompareOptions& o, GwProfile* profile, const char* section) {
    if (profile == nullptr || !profile->is_valid() || !profile->select_section(section, true)) return false;
    profile->write_int("ActualValues", o.ActualValues);
    profile->write_int("FixValues", o.FixValues);
    profile->write_int("NonFixValues", o.NonFixValues);
    profile->write_int("OnlyDataSetPara", o.OnlyDataSetPara);
    profile->write_int("Level", o.Level);
    profile->write("Editor", o.Editor.c_str());
    profile->write("OutFile", o.OutFile.c_str());
    profile->write_int("ExternEditor", o.ExternEditor);
    profile->write_int("TextWindow", o.TextWindow);
    return true;
}

std::string MainMessageText(int n) {
    char text[kMessageTextSize];
    const std::string key = platform::Format(kMainMessageKeyFormat, n);
    GetMessageText(text, kMainMessagesSection, key.c_str(), kMessageTextSize);
    return text;
}

bool CompareBases(ParaCompareBase& side1, ParaBase& side2, std::FILE* file) {
    Report(side1, side2, file, false).Run();
    return true;
}

bool CompareWithDefaults(ParaCompareBase& side1, ParaBase& side2, std::FILE* file) {
    Report(side1, side2, file, true).Run();
    return true;
}
