// QtUiPort: the real dialogs and the override cursor.
#include "app/QtUiPort.h"

#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>

#include "app/NameDialog.h"

namespace trellisor {

namespace {

// A modal dialog shown while the wait cursor is up gets the ordinary arrow.
class ArrowWhileWaiting {
public:
    explicit ArrowWhileWaiting(int waitDepth) : m_active(waitDepth > 0) {
        if (m_active) QApplication::setOverrideCursor(Qt::ArrowCursor);
    }
    ~ArrowWhileWaiting() {
        if (m_active) QApplication::restoreOverrideCursor();
    }

private:
    bool m_active;
};

}  // namespace

QString caseInsensitiveNameFilter(const QString& pattern) {
    QString wildcard;
    for (QChar c : pattern) {
        if (c.isLetter() && c.toLower() != c.toUpper()) {
            wildcard += QLatin1Char('[') + c.toUpper() + c.toLower() + QLatin1Char(']');
        } else {
            wildcard += c;
        }
    }
    return pattern + QStringLiteral(" (") + wildcard + QLatin1Char(')');
}

std::optional<FileChoice> QtUiPort::chooseFile(const FileDialogRequest& request) {
    ArrowWhileWaiting arrow(m_waitDepth);
    QFileDialog dialog(m_parent, request.title, request.initialFolder);
    dialog.setAcceptMode(request.save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(request.save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dialog.setNameFilter(caseInsensitiveNameFilter(request.filter));
    dialog.setDefaultSuffix(request.defaultExtension);
    // The proposed name is a pattern ("*.DAT"); the filter already does its work.
    if (!request.initialName.contains(QLatin1Char('*'))) dialog.selectFile(request.initialName);
    if (request.save) dialog.setOption(QFileDialog::DontConfirmOverwrite);  // the editor asks itself
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    FileChoice choice;
    choice.path = dialog.selectedFiles().front();
    choice.fileName = QFileInfo(choice.path).fileName();
    return choice;
}

std::optional<QString> QtUiPort::chooseFolder(const QString& title, const QString& initialFolder) {
    ArrowWhileWaiting arrow(m_waitDepth);
    const QString folder = QFileDialog::getExistingDirectory(m_parent, title, initialFolder);
    if (folder.isEmpty()) return std::nullopt;
    return folder;
}

MessageAnswer QtUiPort::messageBox(const QString& text, const QString& caption, MessageButtons buttons) {
    ArrowWhileWaiting arrow(m_waitDepth);
    QMessageBox box(m_parent);
    box.setWindowTitle(caption.isEmpty() ? QStringLiteral("Visual Trellisor") : caption);
    box.setText(text);
    switch (buttons) {
        case MessageButtons::Ok:
            box.setIcon(QMessageBox::Warning);
            box.setStandardButtons(QMessageBox::Ok);
            break;
        case MessageButtons::OkCancel:
            box.setIcon(QMessageBox::Question);
            box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
            break;
        case MessageButtons::SaveDiscardCancel:
            box.setIcon(QMessageBox::Question);
            box.setStandardButtons(QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel);
            box.setDefaultButton(QMessageBox::Save);
            break;
    }
    switch (box.exec()) {
        case QMessageBox::Ok:
            return MessageAnswer::Ok;
        case QMessageBox::Save:
            return MessageAnswer::Save;
        case QMessageBox::Discard:
            return MessageAnswer::Discard;
        default:
            return buttons == MessageButtons::Ok ? MessageAnswer::Ok : MessageAnswer::Cancel;
    }
}

std::optional<QString> QtUiPort::promptName(const QString& prompt, const QString& proposed) {
    ArrowWhileWaiting arrow(m_waitDepth);
    NameDialog dialog(nullptr);
    dialog.m_prompt = prompt;
    dialog.m_name = proposed;
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return dialog.m_name;
}

int QtUiPort::runModal(QDialog& dialog) {
    ArrowWhileWaiting arrow(m_waitDepth);
    return dialog.exec();
}

void QtUiPort::beginWaitCursor() {
    ++m_waitDepth;
    QApplication::setOverrideCursor(Qt::WaitCursor);
}

void QtUiPort::endWaitCursor() {
    if (m_waitDepth == 0) return;
    --m_waitDepth;
    QApplication::restoreOverrideCursor();
}

}  // namespace trellisor
