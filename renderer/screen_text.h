// The model's texts as the screen shows them: UTF-8, or Windows-1252 for a
// text that is not valid UTF-8 (a file of another tool). Showing never
// changes the model's bytes.
#pragma once

#include <QString>
#include <string>

namespace screen {

QString ToScreen(const std::string& text);
// What the user typed, as the bytes the model takes.
std::string FromScreen(const QString& text);

}  // namespace screen
