// The application object: runs the main dialog modally and ends when it closes.
#pragma once

#include <QApplication>
#include <QString>
#include <optional>

namespace trellisor {

class EditorApp : public QApplication {
    Q_OBJECT
public:
    EditorApp(int& argc, char** argv);

    // Answers --help and --version before anything touches a window system: the man page is
    // made from them at build time, where there is no display. Returns the exit code when the
    // command line asks for either, nothing when the editor should start.
    static std::optional<int> answerHelpOrVersion(int& argc, char** argv);

    // Start-up: the dialog, an object file named on the command line opened as
    // Load would, the modal run. --screenshot FILE saves the window as a PNG
    // once it has painted and closes it, --page N starts on another page (both
    // used by the documentation script).
    // Returns the exit code.
    int run();
};

}  // namespace trellisor
