// Pictures of the model's bitmaps on the screen.
#pragma once

#include <QPixmap>
#include <string>

namespace screen {

// The image of a bitmap named in the resources; null for none.
QPixmap BitmapImage(const std::string& name);

}  // namespace screen
