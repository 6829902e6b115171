// The widgets' QString and the objects' Windows-1252 bytes, over the one codec in base.
#pragma once

#include <QString>
#include <string>

#include "base/Windows1252.h"

namespace trellisor {

// Every byte maps to one character (the five unassigned bytes keep their value).
QString fromWindows1252(const std::string& bytes);
// The bytes, with the characters Windows-1252 cannot hold listed (and written as '?').
Windows1252Text toWindows1252(const QString& text);
// A file path as the C library wants it (the file system's encoding).
std::string localPath(const QString& path);

}  // namespace trellisor
