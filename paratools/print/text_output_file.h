// A file written as text (line feeds as they stand) whose texts go out
// literally: a percent sign in a cell or a report is no format.
#pragma once

#include <cstdio>
#include <string>

class TextOutputFile {
public:
    // Creates or replaces the file at a path in the program's form.
    explicit TextOutputFile(const std::string& path);
    ~TextOutputFile();
    TextOutputFile(const TextOutputFile&) = delete;
    TextOutputFile& operator=(const TextOutputFile&) = delete;

    bool IsOpen() const { return file_ != nullptr; }
    std::FILE* get() const { return file_; }
    void Put(const std::string& text);
    // False when the file could not be completed.
    bool Close();

private:
    std::FILE* file_;
};
