// What the editor remembers between runs, in the user's settings: the object
// files opened or saved last, the sprite folder used last and where the window stood.
#pragma once

#include <QPoint>
#include <QString>
#include <QStringList>
#include <optional>

namespace trellisor {

inline constexpr int kMaxRecentFiles = 8;

// Newest first, at most kMaxRecentFiles.
QStringList recentFiles();
// Puts path first (once).
void addRecentFile(const QString& path);

// The folder chosen last for sprites (export, import, link); empty before the first.
QString lastSpriteFolder();
void setLastSpriteFolder(const QString& folder);

std::optional<QPoint> savedWindowPosition();
void saveWindowPosition(QPoint position);

}  // namespace trellisor
