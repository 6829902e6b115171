// The UI port: the few places where a command waits for the user (file
// and folder dialogs, message boxes, the name prompt, modal pages) and the wait cursor.
// The editor uses QtUiPort; tests script the answers.
#pragma once

#include <QString>
#include <optional>

class QDialog;

namespace trellisor {

struct FileDialogRequest {
    bool save = false;         // save dialog (else open)
    QString title;             // "Open Path DAT File"
    QString defaultExtension;  // "DAT", appended when the user types none
    QString initialName;       // "*.DAT"
    QString filter;            // "*.DAT"
    QString initialFolder;     // empty: wherever the last dialog was
};

// A dialog for "*.EXT" files: the title, and the extension as initial name, filter and default.
inline FileDialogRequest fileDialogRequest(const QString& title, const QString& extension,
                                           bool save = false) {
    const QString pattern = QStringLiteral("*.") + extension;
    return {save, title, extension, pattern, pattern, QString()};
}

struct FileChoice {
    QString path;      // full path
    QString fileName;  // name and extension, no folder
};

enum class MessageButtons { Ok, OkCancel, SaveDiscardCancel };
enum class MessageAnswer { Ok, Cancel, Save, Discard };

class UiPort {
public:
    virtual ~UiPort() = default;
    // Nothing when the user cancels.
    virtual std::optional<FileChoice> chooseFile(const FileDialogRequest& request) = 0;
    // A folder chooser with a title, opened in initialFolder (wherever the last dialog was
    // when it is empty); the chosen folder's full path, nothing on Cancel.
    virtual std::optional<QString> chooseFolder(const QString& title, const QString& initialFolder) = 0;
    // An empty caption means the editor's name. A box closed without a choice answers Cancel
    // (Ok for a box with only Ok).
    virtual MessageAnswer messageBox(const QString& text, const QString& caption, MessageButtons buttons) = 0;
    // Runs the name dialog with a prompt and a proposed name; nothing on Cancel.
    virtual std::optional<QString> promptName(const QString& prompt, const QString& proposed) = 0;
    // Runs a dialog of ours (About, help) modally and returns its result code.
    virtual int runModal(QDialog& dialog) = 0;
    virtual void beginWaitCursor() = 0;
    virtual void endWaitCursor() = 0;
};

// Shows the wait cursor for one scope.
class WaitCursor {
public:
    explicit WaitCursor(UiPort& ui) : m_ui(ui) { m_ui.beginWaitCursor(); }
    ~WaitCursor() { m_ui.endWaitCursor(); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;

private:
    UiPort& m_ui;
};

}  // namespace trellisor
