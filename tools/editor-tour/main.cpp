// trellisor-editor-tour OUT.png: run in the sample workspace under a window manager. Opens
// SAMPLE.DAT, recolours the Path page, then photographs the screen twice — with the context
// menu open, and with the question that leaving asks — and saves the two side by side.
#include <QApplication>
#include <QDir>
#include <QGuiApplication>
#include <QLabel>
#include <QMenu>
#include <QPainter>
#include <QScreen>
#include <QSettings>
#include <QTemporaryDir>
#include <QTimer>
#include <cstdio>

#include "app/EditorSettings.h"
#include "app/MainDialog.h"

namespace {

// The screen around the window (its frame included) and whatever stands over it.
QImage photograph(const QWidget& window) {
    const QRect area = window.frameGeometry().adjusted(-8, -8, 8, 8);
    return QGuiApplication::primaryScreen()
        ->grabWindow(0, area.x(), area.y(), area.width(), area.height())
        .toImage();
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: trellisor-editor-tour OUT.png (in the sample workspace)\n");
        return 2;
    }
    const QString out = QString::fromLocal8Bit(argv[1]);
    QTemporaryDir settings;  // the user's own recent files stay untouched
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settings.path());
    app.setApplicationName(QStringLiteral("trellisor-tour"));
    trellisor::addRecentFile(QDir::current().absoluteFilePath(QStringLiteral("SAMPLE2.DAT")));

    trellisor::MainDialog dialog;
    dialog.move(40, 40);
    dialog.show();
    dialog.openObjectFile(QStringLiteral("SAMPLE.DAT"), QStringLiteral("SAMPLE.DAT"));
    const QRect strip = dialog.m_recolorStrip->geometry();
    dialog.OnLButtonUp(strip.topLeft() + QPoint(1 + 15 * 11 + 7, 8));  // the Path page to ramp 11

    QImage withMenu, withQuestion;
    int status = 0;
    QTimer::singleShot(800, &dialog, [&] {
        dialog.contextMenu()->popup(dialog.mapToGlobal(QPoint(150, 110)));
        QTimer::singleShot(500, &dialog, [&] {
            withMenu = photograph(dialog);
            dialog.contextMenu()->close();
            // Leaving asks; the answer is Cancel, so the window stays and the tour ends it.
            QTimer::singleShot(600, &dialog, [&] {
                withQuestion = photograph(dialog);
                if (QWidget* question = QApplication::activeModalWidget()) question->close();
                QTimer::singleShot(0, &app, [&] {
                    QImage both(withMenu.width() + withQuestion.width() + 16,
                                std::max(withMenu.height(), withQuestion.height()), QImage::Format_RGB32);
                    both.fill(Qt::white);
                    QPainter painter(&both);
                    painter.drawImage(0, 0, withMenu);
                    painter.drawImage(withMenu.width() + 16, 0, withQuestion);
                    painter.end();
                    if (!both.save(out, "PNG")) {
                        std::fprintf(stderr, "trellisor-editor-tour: cannot write %s\n", qPrintable(out));
                        status = 1;
                    }
                    dialog.m_document.history().setClean();  // leave without a question
                    app.quit();
                });
            });
            dialog.close();
        });
    });
    app.exec();
    return status;
}
