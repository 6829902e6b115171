// The programs' Qt message handler (library messages dropped, our own printed), and catching
// what a library writes to stderr itself.
#include "imageio/QuietMessages.h"

#include <unistd.h>

#include <QString>
#include <string_view>

namespace trellisor {

bool isPrintedMessage(const char* category, QtMsgType type) {
    const std::string_view name = category ? category : "";
    return type == QtFatalMsg || name == "trellisor" || name.starts_with("trellisor.");
}

void installQuietMessageHandler() {
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext& context, const QString& message) {
        if (!isPrintedMessage(context.category, type)) return;
        const QByteArray line = qFormatLogMessage(type, context, message).toLocal8Bit();
        std::fprintf(stderr, "%s\n", line.constData());
        std::fflush(stderr);
    });
}

StderrCapture::StderrCapture() {
    std::fflush(stderr);
    m_file = std::tmpfile();
    if (!m_file) return;
    m_savedStderr = ::dup(STDERR_FILENO);
    if (m_savedStderr < 0 || ::dup2(::fileno(m_file), STDERR_FILENO) < 0) {
        if (m_savedStderr >= 0) ::close(m_savedStderr);
        m_savedStderr = -1;
    }
}

StderrCapture::~StderrCapture() { text(); }

std::string StderrCapture::text() {
    if (m_savedStderr < 0) {
        if (m_file) std::fclose(m_file);
        m_file = nullptr;
        return {};
    }
    std::fflush(stderr);
    ::dup2(m_savedStderr, STDERR_FILENO);
    ::close(m_savedStderr);
    m_savedStderr = -1;
    // The last line: what stopped the library comes last.
    std::string last;
    char line[512];
    std::rewind(m_file);
    while (std::fgets(line, sizeof line, m_file)) {
        std::string text = line;
        while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.pop_back();
        if (!text.empty()) last = std::move(text);
    }
    std::fclose(m_file);
    m_file = nullptr;
    return last;
}

}  // namespace trellisor
