#include "toolkit/core/gw_recorder.h"

#include <cstddef>

#include "platform/base/reset_hooks.h"
#include "toolkit/core/gw_observer.h"

namespace {

struct Records {
    std::vector<GwEffect> effects;
    std::vector<GwBoxRecord> boxes;
    std::vector<GwFileRequest> files;
};

Records& TheRecords() {
    static Records records;
    return records;
}

template <typename T>
void Append(std::vector<T>& records, const T& record) {
    if (records.size() >= kGwRecorderLimit) records.erase(records.begin(), records.begin() + kGwRecorderLimit / 2);
    records.push_back(record);
}

class RecordingObserver : public GwObserver {
public:
    void EffectNoted(const GwEffect& effect) override { Append(TheRecords().effects, effect); }
    void BoxShown(const GwBoxRecord& box) override { Append(TheRecords().boxes, box); }
    void FileSelectorShown(const GwFileRequest& request) override { Append(TheRecords().files, request); }
};

RecordingObserver g_observer;

platform::ResetHook ResetState([] { GwRecorder::Clear(); });

}  // namespace

GwObserver* GwRecorder::Observer() { return &g_observer; }

void GwRecorder::Record(const std::string& what, const std::string& widget, const std::string& value) {
    GwNotifyEffect(what, widget, value);
}

void GwRecorder::RecordBox(const GwBoxRecord& box) {
    GwNotifyBox(box);
    Record("box", box.parent, box.kind + ": " + box.caption + ": " + box.text);
}

void GwRecorder::RecordFileRequest(const GwFileRequest& request) {
    GwNotifyFileSelector(request);
    Record("file selector", request.parent, request.title);
}

const std::vector<GwEffect>& GwRecorder::Effects() { return TheRecords().effects; }

std::vector<GwEffect> GwRecorder::EffectsOf(const std::string& what) {
    std::vector<GwEffect> out;
    for (const auto& e : TheRecords().effects)
        if (e.what == what) out.push_back(e);
    return out;
}

const std::vector<GwBoxRecord>& GwRecorder::Boxes() { return TheRecords().boxes; }

const std::vector<GwFileRequest>& GwRecorder::FileRequests() { return TheRecords().files; }

void GwRecorder::Clear() {
    auto& r = TheRecords();
    r.effects.clear();
    r.boxes.clear();
    r.files.clear();
}
