// EditorApp: command line, the one MainDialog, and the optional screenshot.
#include "app/EditorApp.h"

#include <QCommandLineParser>
#include <QFileInfo>
#include <QTabBar>
#include <QTimer>
#include <cstdio>

#include "app/MainDialog.h"

namespace trellisor {

EditorApp::EditorApp(int& argc, char** argv) : QApplication(argc, argv) {
    // No display name: the toolkit would add it to every window title.
    setOrganizationName(QStringLiteral("trellisor"));
    setApplicationName(QStringLiteral("trellisor"));
}

int EditorApp::run() {
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Editor for the path objects of the game."));
    parser.addHelpOption();
    QCommandLineOption screenshot(
        QStringLiteral("screenshot"),
        QStringLiteral("Save the window as a PNG file once it has painted, then quit."),
        QStringLiteral("file"));
    parser.addOption(screenshot);
    QCommandLineOption page(QStringLiteral("page"),
                            QStringLiteral("Start on page N (0 Path ... 5 String Table)."),
                            QStringLiteral("N"));
    parser.addOption(page);
    parser.addPositionalArgument(QStringLiteral("file"), QStringLiteral("An object file (.DAT) to open."),
                                 QStringLiteral("[file]"));
    parser.process(arguments());

    MainDialog dialog;
    const QStringList files = parser.positionalArguments();
    // Opened once the window shows, so that a message about the file stands over it.
    if (!files.isEmpty()) {
        const QString file = files.front();
        QTimer::singleShot(0, &dialog,
                           [&dialog, file] { dialog.openObjectFile(file, QFileInfo(file).fileName()); });
    }

    if (parser.isSet(page)) dialog.m_tabs->setCurrentIndex(parser.value(page).toInt());

    int status = 0;
    if (parser.isSet(screenshot)) {
        const QString target = parser.value(screenshot);
        QTimer::singleShot(700, &dialog, [&dialog, &status, target] {
            if (!dialog.grab().save(target, "PNG")) {
                std::fprintf(stderr, "trellisor: cannot write %s\n", qPrintable(target));
                status = 1;
            }
            dialog.accept();
        });
    }
    dialog.exec();
    return status;
}

}  // namespace trellisor
