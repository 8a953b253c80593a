#include "toolkit/core/gw_recorder.h"

#include "platform/reset_hooks.h"
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

class RecordingObserver : public GwObserver {
public:
    void EffectNoted(const GwEffect& effect) override { TheRecords().effects.push_back(effect); }
    void BoxShown(const GwBoxRecord& box) override { TheRecords().boxes.push_back(box); }
    void FileSelectorShown(const GwFileRequest& request) override { TheRecords().files.push_back(request); }
};

RecordingObserver g_observer;

platform::ResetHook g_reset([] { GwRecorder::Clear(); });

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
