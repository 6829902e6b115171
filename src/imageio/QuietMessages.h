// What Qt and the libraries under it print, kept away from the terminal: both programs
// install a message handler that drops the messages of Qt's categories ("qt.gui.imageio:
// libpng warning: iCCP: known incorrect sRGB profile", notes of the platform and its fonts),
// so a refusal on the command line is one line and the editor prints nothing a user would
// have to find. Messages of the project's own logging categories ("trellisor" and those under
// it, "trellisor.save") and fatal messages are still printed. What a library writes to stderr
// itself, past Qt (libpng's "libpng error: ..."), is caught around the reads that call it and
// folded into their reason.
#pragma once

#include <QtGlobal>
#include <cstdio>
#include <string>

namespace trellisor {

// Whether a message of this category and type is printed.
bool isPrintedMessage(const char* category, QtMsgType type);

// Installs the handler: the messages isPrintedMessage lets through go to stderr in Qt's format.
void installQuietMessageHandler();

// While it lives, what the process writes to stderr goes to a temporary file; text() ends the
// capture and gives its last line. (Only for short reads on the thread that made it: stderr is
// the process's.)
class StderrCapture {
public:
    StderrCapture();
    ~StderrCapture();
    StderrCapture(const StderrCapture&) = delete;
    StderrCapture& operator=(const StderrCapture&) = delete;
    std::string text();

private:
    std::FILE* m_file = nullptr;
    int m_savedStderr = -1;
};

}  // namespace trellisor
