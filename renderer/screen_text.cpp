#include "renderer/screen_text.h"

#include <QByteArray>

namespace screen {
namespace {

bool IsValidUtf8(const std::string& text) {
    size_t i = 0;
    while (i < text.size()) {
        const auto c = static_cast<unsigned char>(text[i]);
        int follow = 0;
        uint32_t code = 0;
        if (c < 0x80) {
            ++i;
            continue;
        } else if ((c & 0xE0) == 0xC0) {
            follow = 1;
            code = c & 0x1F;
        } else if ((c & 0xF0) == 0xE0) {
            follow = 2;
            code = c & 0x0F;
        } else if ((c & 0xF8) == 0xF0) {
            follow = 3;
            code = c & 0x07;
        } else {
            return false;
        }
        if (i + follow >= text.size()) return false;
        for (int k = 1; k <= follow; ++k) {
            const auto n = static_cast<unsigned char>(text[i + k]);
            if ((n & 0xC0) != 0x80) return false;
            code = (code << 6) | (n & 0x3F);
        }
        // Overlong forms, surrogates and values beyond Unicode are not UTF-8.
        static const uint32_t kMinimum[] = {0, 0x80, 0x800, 0x10000};
        if (code < kMinimum[follow] || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return false;
        i += follow + 1;
    }
    return true;
}

// Windows-1252 in 0x80..0x9F; the rest is Latin-1.
constexpr char16_t kHigh[32] = {
    0x20AC, 0xFFFD, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0xFFFD, 0x017D, 0xFFFD, 0xFFFD, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0xFFFD, 0x017E, 0x0178,
};

}  // namespace

QString ToScreen(const std::string& text) {
    if (IsValidUtf8(text)) return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
    QString out;
    out.reserve(static_cast<qsizetype>(text.size()));
    for (char ch : text) {
        const auto c = static_cast<unsigned char>(ch);
        out.append(c >= 0x80 && c < 0xA0 ? QChar(kHigh[c - 0x80]) : QChar(static_cast<char16_t>(c)));
    }
    return out;
}

std::string FromScreen(const QString& text) {
    const QByteArray bytes = text.toUtf8();
    return std::string(bytes.constData(), static_cast<size_t>(bytes.size()));
}

}  // namespace screen
