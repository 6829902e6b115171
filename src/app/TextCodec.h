// Object texts are Windows-1252 bytes; the widgets speak Unicode. These two
// functions convert between them without any codec library.
#pragma once

#include <QString>
#include <string>

namespace trellisor {

// Every byte maps to one character (the five unassigned bytes keep their value).
QString fromWindows1252(const std::string& bytes);
// Characters without a Windows-1252 byte become '?'.
std::string toWindows1252(const QString& text);

}  // namespace trellisor
