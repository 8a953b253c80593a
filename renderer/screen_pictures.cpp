#include "renderer/screen_pictures.h"

#include "renderer/screen_text.h"
#include "toolkit/core/gw_rcmgr.h"

namespace screen {

QPixmap BitmapImage(const std::string& name) {
    if (name.empty()) return QPixmap();
    return QPixmap(ToScreen(GwRcMgr::bitmap_image(name)));
}

}  // namespace screen
