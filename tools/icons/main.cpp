// trellisor-icons SIZE FILE: the editor's application icon art as a desktop icon file,
// PNG when FILE ends in .png, SVG when it ends in .svg.
#include <QSaveFile>
#include <QString>
#include <cstdio>

#include "app/AppArt.h"

int main(int argc, char** argv) {
    const int size = argc == 3 ? QString::fromLocal8Bit(argv[1]).toInt() : 0;
    const QString file = argc == 3 ? QString::fromLocal8Bit(argv[2]) : QString();
    const bool svg = file.endsWith(QStringLiteral(".svg"));
    if (size < 16 || size > 1024 || !(svg || file.endsWith(QStringLiteral(".png")))) {
        std::fprintf(stderr, "usage: trellisor-icons SIZE FILE.png|FILE.svg (SIZE 16..1024)\n");
        return 2;
    }
    bool written = false;
    if (svg) {
        const QByteArray text = trellisor::pathTileSvg(size);
        QSaveFile out(file);
        written = out.open(QIODevice::WriteOnly) && out.write(text) == text.size() && out.commit();
    } else {
        written = trellisor::pathTileImage(size).save(file, "PNG");
    }
    if (!written) {
        std::fprintf(stderr, "trellisor-icons: cannot write %s\n", argv[2]);
        return 1;
    }
    return 0;
}
