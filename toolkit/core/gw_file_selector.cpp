#include "toolkit/core/gw_file_selector.h"

#include "platform/files/paths.h"
#include "toolkit/core/gw_core.h"
#include "toolkit/core/gw_interaction.h"
#include "toolkit/core/gw_rcmgr.h"

GwFileSelector::GwFileSelector(GwCore* parent, const std::string& id) : parent_(parent) { request_.id = id; }

bool GwFileSelector::go() {
    GwFileRequest req = request_;
    req.parent = parent_ != nullptr ? parent_->identifier() : std::string();
    std::string path;
    ok_ = GwGetInteraction().ChooseFile(req, &path);
    selection_ = ok_ ? path : std::string();
    req.chosen = ok_;
    req.answer = selection_;
    GwRecorder::RecordFileRequest(req);
    return ok_;
}

std::string GwFileSelector::directory() const {
    if (!ok_) return request_.directory;
    size_t sep = selection_.find_last_of("\\/");
    return sep == std::string::npos ? std::string() : selection_.substr(0, sep + 1);
}

std::string GwFileSelectorControl::folder() const {
    if (request_.folder_mode && selection_ok()) return selection();
    return directory();
}

bool GwFilterMatches(const std::string& filter, const std::string& file_name) {
    // Fields alternate: description, pattern; a pattern may list several
    // wildcards separated by ';'.
    size_t start = 0;
    for (int field = 0; start <= filter.size(); ++field) {
        size_t bar = filter.find('|', start);
        std::string part = filter.substr(start, bar == std::string::npos ? std::string::npos : bar - start);
        if (field % 2 == 1) {
            size_t p = 0;
            while (p <= part.size()) {
                size_t semi = part.find(';', p);
                std::string pattern = part.substr(p, semi == std::string::npos ? std::string::npos : semi - p);
                if (!pattern.empty() && platform::WildcardMatch(pattern, file_name)) return true;
                if (semi == std::string::npos) break;
                p = semi + 1;
            }
        }
        if (bar == std::string::npos) break;
        start = bar + 1;
    }
    return false;
}
