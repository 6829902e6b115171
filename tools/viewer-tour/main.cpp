// trellisor-viewer-tour OUT.png: run in the sample workspace under a window manager. Opens
// SAMPLE.DAT, opens the Viewer (F4), zooms the Scene to 4x over the example path with the
// anchors shown, points at a railing pixel and clicks it, shows that sprite at 4x, and
// photographs the Viewer with its frame.
#include <QApplication>
#include <QGuiApplication>
#include <QScreen>
#include <QScrollBar>
#include <QSettings>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolButton>
#include <cstdio>

#include "app/MainDialog.h"
#include "app/PixelView.h"
#include "app/SpritePanel.h"
#include "app/ViewerWindow.h"

using namespace trellisor;

namespace {

// The first pixel of the Scene that sprite drew, or nothing.
std::optional<QPoint> pixelOf(const ViewerWindow& viewer, unsigned sprite) {
    const FrameOwners& owners = viewer.shownShot().owners;
    for (int y = 0; y < owners.height(); ++y)
        for (int x = 0; x < owners.width(); ++x)
            if (const PixelOwner o = owners.at(x, y); o.source == PixelSource::Sprite && o.sprite == sprite)
                return QPoint(x, y);
    return std::nullopt;
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: trellisor-viewer-tour OUT.png (in the sample workspace)\n");
        return 2;
    }
    const QString out = QString::fromLocal8Bit(argv[1]);
    QTemporaryDir settings;  // the user's own settings stay untouched
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settings.path());
    app.setApplicationName(QStringLiteral("trellisor-tour"));

    MainDialog dialog;
    dialog.move(0, 0);
    dialog.show();
    dialog.openObjectFile(QStringLiteral("SAMPLE.DAT"), QStringLiteral("SAMPLE.DAT"));
    dialog.OnViewer();
    ViewerWindow& viewer = *dialog.viewer();
    viewer.setGeometry(30, 40, 1380, 860);

    int status = 0;
    QTimer::singleShot(800, &viewer, [&] {
        viewer.anchorsButton()->setChecked(true);
        PixelView* scene = viewer.scene();
        scene->setZoom(4);
        scene->horizontalScrollBar()->setValue(4 * 150 - scene->viewport()->width() / 2);
        scene->verticalScrollBar()->setValue(4 * 70 - scene->viewport()->height() / 2);
        if (const auto railing = pixelOf(viewer, 82)) {
            emit scene->clicked(*railing);
            emit scene->hovered(*railing);
        }
        viewer.spritePanel()->view()->setZoom(4);
        QTimer::singleShot(600, &viewer, [&] {
            const QRect area = viewer.frameGeometry();
            const QImage shot = QGuiApplication::primaryScreen()
                                    ->grabWindow(0, area.x(), area.y(), area.width(), area.height())
                                    .toImage();
            if (!shot.save(out, "PNG")) {
                std::fprintf(stderr, "trellisor-viewer-tour: cannot write %s\n", qPrintable(out));
                status = 1;
            }
            app.quit();
        });
    });
    app.exec();
    return status;
}
