// QString <-> Windows-1252 through UTF-8.
#include "app/TextCodec.h"

#include <QFile>

namespace trellisor {

QString fromWindows1252(const std::string& bytes) { return QString::fromStdString(windows1252ToUtf8(bytes)); }

Windows1252Text toWindows1252(const QString& text) { return utf8ToWindows1252(text.toStdString()); }

std::string localPath(const QString& path) { return QFile::encodeName(path).toStdString(); }

}  // namespace trellisor
