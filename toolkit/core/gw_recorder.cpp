#include "toolkit/core/gw_recorder.h"

#include "platform/base/reset_hooks.h"

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

platform::ResetHook g_reset([] { GwRecorder::Clear(); });

}  // namespace

void GwRecorder::Record(const std::string& what, const std::string& widget, const std::string& value) {
    TheRecords().effects.push_back({what, widget, value});
}

void GwRecorder::RecordBox(const GwBoxRecord& box) {
    TheRecords().boxes.push_back(box);
    Record("box", box.parent, box.kind + ": " + box.caption + ": " + box.text);
}

void GwRecorder::RecordFileRequest(const GwFileRequest& request) {
    TheRecords().files.push_back(request);
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
