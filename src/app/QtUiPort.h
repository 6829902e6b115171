// The UI port on Qt: QFileDialog, QMessageBox, NameDialog and the override cursor.
#pragma once

#include <QString>

#include "app/UiPort.h"

class QWidget;

namespace trellisor {

class QtUiPort : public UiPort {
public:
    // parent: the window the dialogs belong to (may be set later).
    explicit QtUiPort(QWidget* parent = nullptr) : m_parent(parent) {}
    void setParent(QWidget* parent) { m_parent = parent; }

    std::optional<FileChoice> chooseFile(const FileDialogRequest& request) override;
    std::optional<QString> chooseFolder(const QString& title, const QString& initialFolder) override;
    MessageAnswer messageBox(const QString& text, const QString& caption, MessageButtons buttons) override;
    std::optional<QString> promptName(const QString& prompt, const QString& proposed) override;
    int runModal(QDialog& dialog) override;
    void beginWaitCursor() override;
    void endWaitCursor() override;

private:
    QWidget* m_parent;
    int m_waitDepth = 0;
};

// A filter pattern such as "*.DAT" as a name filter that also matches the
// extension in any case on a case-sensitive file system: "*.DAT (*.[Dd][Aa][Tt])".
QString caseInsensitiveNameFilter(const QString& pattern);

}  // namespace trellisor
