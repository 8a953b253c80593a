// Fonts on the screen: DejaVu Sans at the size whose average character is
// closest to the model's fixed character width, and a widget's database font
// ("Face,points") with DejaVu Sans standing in for a face not installed.
#pragma once

#include <QFont>
#include <string>

class GwCore;

namespace screen {

constexpr const char* kDefaultFace = "DejaVu Sans";

// Computed once the application exists.
const QFont& DefaultFont();
QFont FontOf(const GwCore* widget);
// A face and pixel height as drawings give them.
QFont DrawingFont(const std::string& face, int pixel_height);
// The face that is used for `face`.
QString InstalledFace(const std::string& face);

}  // namespace screen
