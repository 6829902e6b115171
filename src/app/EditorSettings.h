// What the editor remembers between runs, in the user's settings: the object
// files opened or saved last, the sprite folder used last, where the window stood, and the
// Viewer's geometry and zoom.
#pragma once

#include <QByteArray>
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

std::optional<QByteArray> savedViewerGeometry();
void saveViewerGeometry(const QByteArray& geometry);
std::optional<int> savedViewerZoom();
void saveViewerZoom(int zoom);

}  // namespace trellisor
