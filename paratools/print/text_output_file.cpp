#include "paratools/print/text_output_file.h"

#include "platform/files/paths.h"

TextOutputFile::TextOutputFile(const std::string& path)
    : file_(std::fopen(platform::ResolveForWrite(path).c_str(), "w")) {}

TextOutputFile::~TextOutputFile() { Close(); }

void TextOutputFile::Put(const std::string& text) {
    if (file_ != nullptr) std::fwrite(text.data(), 1, text.size(), file_);
}

bool TextOutputFile::Close() {
    if (file_ == nullptr) return false;
    const bool ok = std::fclose(file_) == 0;
    file_ = nullptr;
    return ok;
}
