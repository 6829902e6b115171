// EditorApp: command line, the one MainDialog, and the optional screenshot.
#include "app/EditorApp.h"

#include <QCommandLineParser>
#include <QFileInfo>
#include <QTabBar>
#include <QTimer>
#include <cstdio>
#include <string_view>

#include "app/MainDialog.h"
#include "trellisor/Version.h"

namespace trellisor {

namespace {

// The editor's command line: one definition serves the help text and the start-up.
struct EditorCommandLine {
    QCommandLineParser parser;
    QCommandLineOption screenshot{
        QStringLiteral("screenshot"),
        QStringLiteral("Save the window as a PNG file once it has painted, then quit."),
        QStringLiteral("file")};
    QCommandLineOption page{QStringLiteral("page"),
                            QStringLiteral("Start on page N (0 Path ... 5 String Table)."),
                            QStringLiteral("N")};

    EditorCommandLine() {
        parser.setApplicationDescription(QStringLiteral(
            "Visual Trellisor edits the path objects (.DAT object files) of an isometric park game.\n"
            "It works in the current directory, where it finds the grass picture, the type files (.PTH)\n"
            "and their descriptor lists; trellisor-workspace DIR writes a starter set of them."));
        parser.addHelpOption();
        parser.addVersionOption();
        parser.addOption(screenshot);
        parser.addOption(page);
        parser.addPositionalArgument(QStringLiteral("file"),
                                     QStringLiteral("An object file (.DAT) to open at start (optional)."),
                                     QStringLiteral("[file]"));
    }
};

void nameProgram() {
    QCoreApplication::setApplicationName(QStringLiteral("trellisor"));
    QCoreApplication::setApplicationVersion(QString::fromLatin1(kTrellisorVersion));
}

bool asksHelpOrVersion(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        const std::string_view a = argv[i];
        if (a == "--") return false;
        if (a == "-h" || a == "-?" || a == "--help" || a == "--help-all" || a == "-v" || a == "--version")
            return true;
    }
    return false;
}

}  // namespace

EditorApp::EditorApp(int& argc, char** argv) : QApplication(argc, argv) {
    nameProgram();
    // No display name: the toolkit would add it to every window title.
    setOrganizationName(QStringLiteral("trellisor"));
}

std::optional<int> EditorApp::answerHelpOrVersion(int& argc, char** argv) {
    if (!asksHelpOrVersion(argc, argv)) return std::nullopt;
    // A core application has no window system; process() prints the help or the version and exits.
    QCoreApplication core(argc, argv);
    nameProgram();
    EditorCommandLine line;
    line.parser.process(core);
    return std::nullopt;  // "--help" was an option's value after all: start the editor
}

int EditorApp::run() {
    EditorCommandLine line;
    QCommandLineParser& parser = line.parser;
    const QCommandLineOption& screenshot = line.screenshot;
    const QCommandLineOption& page = line.page;
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
