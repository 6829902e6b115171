// EditorSettings: QSettings under the application's name.
#include "app/EditorSettings.h"

#include <QSettings>

namespace trellisor {

namespace {

const QString kRecentFilesKey = QStringLiteral("recentFiles");
const QString kWindowPositionKey = QStringLiteral("windowPosition");
const QString kViewerGeometryKey = QStringLiteral("viewer/geometry");
const QString kViewerZoomKey = QStringLiteral("viewer/sceneZoom");
const QString kSpriteFolderKey = QStringLiteral("spriteFolder");

}  // namespace

QStringList recentFiles() {
    QStringList files = QSettings().value(kRecentFilesKey).toStringList();
    files.removeDuplicates();
    return files.mid(0, kMaxRecentFiles);
}

void addRecentFile(const QString& path) {
    QStringList files = recentFiles();
    files.removeAll(path);
    files.prepend(path);
    QSettings().setValue(kRecentFilesKey, files.mid(0, kMaxRecentFiles));
}

QString lastSpriteFolder() { return QSettings().value(kSpriteFolderKey).toString(); }

void setLastSpriteFolder(const QString& folder) { QSettings().setValue(kSpriteFolderKey, folder); }

std::optional<QPoint> savedWindowPosition() {
    const QVariant value = QSettings().value(kWindowPositionKey);
    if (!value.isValid()) return std::nullopt;
    return value.toPoint();
}

void saveWindowPosition(QPoint position) { QSettings().setValue(kWindowPositionKey, position); }

std::optional<QByteArray> savedViewerGeometry() {
    const QVariant value = QSettings().value(kViewerGeometryKey);
    if (!value.isValid()) return std::nullopt;
    return value.toByteArray();
}

void saveViewerGeometry(const QByteArray& geometry) { QSettings().setValue(kViewerGeometryKey, geometry); }

std::optional<int> savedViewerZoom() {
    const QVariant value = QSettings().value(kViewerZoomKey);
    if (!value.isValid()) return std::nullopt;
    return value.toInt();
}

void saveViewerZoom(int zoom) { QSettings().setValue(kViewerZoomKey, zoom); }

}  // namespace trellisor
