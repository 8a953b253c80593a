#include "app/services/file_name_component.h"

std::string RunModeFileComponent(const std::string& text) {
    std::string out = text;
    for (char& c : out) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '\\' || c == '/' || c == ':' || c == '.' || byte < 0x20 || byte == 0x7F) c = '_';
    }
    return out;
}
