// A bitmap by name, as trees, pictures and device contexts show it. Only the
// names that the definition files (or GwRcMgr::add_bitmap) made known can be
// loaded; the size is theirs.
#pragma once

#include <string>

class GwBitmap {
public:
    explicit GwBitmap(const std::string& name) : name_(name) {}

    const std::string& name() const { return name_; }
    // Whether the name is a known bitmap; an unknown one draws nothing.
    bool is_loaded() const;
    // Pixel size; 0 when not loaded.
    int width() const;
    int height() const;

private:
    std::string name_;
};
