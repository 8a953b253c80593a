#include "app/services/line_breaks.h"

std::string ExpandLineBreaks(const char* text) {
    std::string result;
    for (const char* p = text != nullptr ? text : ""; *p != '\0'; ++p) {
        if (p[0] == '\\' && p[1] == 'n') {
            result += '\n';
            ++p;
        } else {
            result += *p;
        }
    }
    return result;
}
