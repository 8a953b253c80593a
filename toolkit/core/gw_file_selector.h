// File selectors: the dialog (GwFileSelector) and the selector control that
// a frame holds (GwFileSelectorControl, with a folder mode). Each request is
// recorded and answered by the installed interaction. Paths stay in the
// program's form ("..\TMP\x.00D").
#pragma once

#include <string>

#include "toolkit/core/gw_recorder.h"
#include "toolkit/core/gw_ref.h"

class GwCore;

// Modes of GwFileSelector.
constexpr int GwFILESELECTOR_OPEN = 0;
constexpr int GwFILESELECTOR_SAVE = 1;
// Modes of GwFileSelectorControl.
constexpr int GwFILESELECTORCONTROL_TARGET = 0;
constexpr int GwFILESELECTORCONTROL_SOURCE = 1;

class GwFileSelector {
public:
    explicit GwFileSelector(GwCore* parent = nullptr, const std::string& id = "id");
    virtual ~GwFileSelector() = default;

    void set_title(const std::string& title) { request_.title = title; }
    // "description|pattern|description|pattern|"
    void set_filter(const std::string& filter) { request_.filter = filter; }
    void set_directory(const std::string& dir) { request_.directory = dir; }
    void set_file_name(const std::string& name) { request_.preset = name; }
    void set_mode(int mode) {
        request_.mode = mode;
        request_.action = mode == GwFILESELECTOR_SAVE ? GwFileAction::kSave : GwFileAction::kOpen;
    }
    void set_id(const std::string& id) { request_.id = id; }
    const GwFileRequest& request() const { return request_; }

    // Runs the selector; true when a file was chosen.
    bool go();
    bool selection_ok() const { return ok_; }
    const std::string& selection() const { return selection_; }
    // The folder the user ended in: the chosen path's directory (with its
    // separator), or the start directory after a cancel.
    std::string directory() const;

protected:
    GwFileRequest request_;

private:
    GwRef<> parent_;
    bool ok_ = false;
    std::string selection_;
};

class GwFileSelectorControl : public GwFileSelector {
public:
    GwFileSelectorControl(const std::string& id, GwCore* parent) : GwFileSelector(parent, id) {
        request_.action = GwFileAction::kSave;
    }

    // The control's modes: GwFILESELECTORCONTROL_SOURCE chooses an existing
    // file, GwFILESELECTORCONTROL_TARGET (the default) a file to write.
    void set_mode(int mode) {
        request_.mode = mode;
        FollowModes();
    }
    void set_start_folder(const std::string& dir) { set_directory(dir); }
    // Choose a folder instead of a file.
    void set_folder_mode(bool on) {
        request_.folder_mode = on;
        FollowModes();
    }
    // The folder ended in: the chosen folder in folder mode.
    std::string folder() const;

private:
    void FollowModes() {
        request_.action = request_.folder_mode                            ? GwFileAction::kFolder
                          : request_.mode == GwFILESELECTORCONTROL_SOURCE ? GwFileAction::kOpen
                                                                          : GwFileAction::kSave;
    }
};

// Whether a file name matches a pattern of the filter ("desc|*.00D|...").
// Patterns match without regard to case.
bool GwFilterMatches(const std::string& filter, const std::string& file_name);
