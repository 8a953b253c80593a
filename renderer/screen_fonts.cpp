#include "renderer/screen_fonts.h"

#include <QFontDatabase>
#include <QFontMetrics>
#include <QStringList>
#include <cstdlib>

#include "renderer/screen_text.h"
#include "toolkit/core/gw_core.h"
#include "toolkit/core/gw_types.h"

namespace screen {

const QFont& DefaultFont() {
    static const QFont font = [] {
        QFont best(kDefaultFace, 9);
        int bestDistance = 1 << 20;
        for (int points = 6; points <= 16; ++points) {
            QFont candidate(kDefaultFace, points);
            const int distance = std::abs(QFontMetrics(candidate).averageCharWidth() - GwCHAR_WIDTH_UNITS);
            if (distance < bestDistance) {
                bestDistance = distance;
                best = candidate;
            }
        }
        return best;
    }();
    return font;
}

QString InstalledFace(const std::string& face) {
    const QString name = ToScreen(face);
    if (!name.isEmpty() && QFontDatabase::families().contains(name, Qt::CaseInsensitive)) return name;
    return kDefaultFace;
}

QFont FontOf(const GwCore* widget) {
    const GwFontInfo info = widget->font_info();
    if (info.face.empty()) return DefaultFont();
    QFont font(InstalledFace(info.face), info.points > 0 ? info.points : kGwDefaultFontPoints);
    return font;
}

QFont DrawingFont(const std::string& face, int pixel_height) {
    QFont font(InstalledFace(face));
    font.setPixelSize(pixel_height > 0 ? pixel_height : 12);
    return font;
}

}  // namespace screen
