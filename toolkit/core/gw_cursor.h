// The wait cursor for the length of a scope: GwWaitObject sets the global
// cursor to GwCURSOR_WAIT and puts the old one back when it ends.
#pragma once

class GwWaitObject {
public:
    GwWaitObject();
    ~GwWaitObject();
    GwWaitObject(const GwWaitObject&) = delete;
    GwWaitObject& operator=(const GwWaitObject&) = delete;

private:
    int saved_;
};
