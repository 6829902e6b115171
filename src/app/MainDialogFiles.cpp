// MainDialog: the commands that read and write files — Load, Save, Export,
// choosing a type, and New — and the question before unsaved changes are dropped.
#include <QCheckBox>
#include <QComboBox>
#include <QFileInfo>
#include <QLineEdit>
#include <filesystem>

#include "app/EditorSettings.h"
#include "app/MainDialog.h"
#include "app/StringTableDialog.h"
#include "app/TextCodec.h"
#include "base/Files.h"
#include "object/NewPath.h"
#include "object/ObjectFile.h"
#include "object/TypeFile.h"

namespace trellisor {

namespace {

QString overwriteQuestion(const QString& name) {
    return QStringLiteral("File ") + name + QStringLiteral(" exists.  Overwrite?");
}

QString cannotSave(const QString& name, const Status& failed) {
    return QStringLiteral("Cannot save ") + name + QStringLiteral(": ") +
           QString::fromStdString(failed.error()) + QLatin1Char('.');
}

bool isRegularFile(const std::string& path) {
    std::error_code ec;
    return std::filesystem::is_regular_file(path, ec);
}

}  // namespace

void MainDialog::reportFailure(const QString& text) { m_ui->messageBox(text, QString(), MessageButtons::Ok); }

bool MainDialog::mayDiscardChanges() {
    if (!m_document.isModified()) return true;
    const MessageAnswer answer =
        m_ui->messageBox(QStringLiteral("Save changes to ") + m_document.fileName() + QLatin1Char('?'),
                         QString(), MessageButtons::SaveDiscardCancel);
    if (answer == MessageAnswer::Discard) return true;
    return answer == MessageAnswer::Save && saveObject();
}

void MainDialog::OnLoad() {
    if (!mayDiscardChanges()) return;
    auto choice =
        m_ui->chooseFile(fileDialogRequest(QStringLiteral("Open Path DAT File"), QStringLiteral("DAT")));
    if (!choice) return;
    openObjectFile(choice->path, choice->fileName);
}

void MainDialog::openObjectFile(const QString& path, const QString& fileName) {
    bool damaged = false;
    {
        WaitCursor wait(*m_ui);
        PathObject loaded;  // the open object stays until this one is read whole
        LoadReport report = loadObjectFile(loaded, localPath(path));
        const QString reason = QString::fromStdString(report.reason);
        switch (report.outcome) {
            case LoadOutcome::Loaded:
                unlinkSpriteFolder();  // the folder shows the object that goes
                damaged = !checksumMatches(loaded);
                m_document.open(std::move(loaded), path, fileName);
                addRecentFile(QFileInfo(path).absoluteFilePath());
                break;
            case LoadOutcome::NotAPath:
                reportFailure(QString::fromLatin1(kNotAPathMessage));
                break;
            case LoadOutcome::Malformed:
                reportFailure(QStringLiteral("Error: ") + fileName + QStringLiteral(" is damaged: ") +
                              reason + QLatin1Char('.'));
                break;
            case LoadOutcome::CannotOpen:
                reportFailure(QStringLiteral("Cannot open ") + fileName + QStringLiteral(": ") + reason +
                              QLatin1Char('.'));
                break;
        }
    }
    refreshPreview();
    // Said once the object shows; Save writes a correct checksum.
    if (damaged)
        reportFailure(fileName + QStringLiteral("'s checksum does not match its contents: it may be damaged. "
                                                "It is opened as it is."));
}

void MainDialog::showObjectStrings() { m_stringTablePage->showTexts(m_document.texts()); }

void MainDialog::OnSave() {
    if (!m_object.isLoaded()) return;  // nothing to save
    (void)saveObject();                // what went wrong has been said
    refreshPreview();
}

bool MainDialog::saveObject() {
    if (!m_object.isLoaded()) return false;  // nothing to save
    if (auto bad = m_document.unencodableText()) {
        reportFailure(QStringLiteral("The %1 text holds characters that a path object cannot store: %2. "
                                     "Change the text, then save again.")
                          .arg(QString::fromLatin1(kLanguageNames[std::size_t(bad->first)]), bad->second));
        return false;
    }
    // The file's own name and folder are proposed.
    FileDialogRequest request =
        fileDialogRequest(QStringLiteral("Save Path DAT File"), QStringLiteral("DAT"), true);
    if (!m_document.filePath().isEmpty()) {
        request.initialName = m_document.fileName();
        request.initialFolder = QFileInfo(m_document.filePath()).absolutePath();
    }
    auto choice = m_ui->chooseFile(request);
    if (!choice) return false;
    if (existingWritableFile(localPath(choice->path)) &&
        m_ui->messageBox(overwriteQuestion(choice->path), QStringLiteral("Question"),
                         MessageButtons::OkCancel) != MessageAnswer::Ok) {
        return false;
    }
    Status saved = [&] {
        WaitCursor wait(*m_ui);
        return m_document.save(choice->path, choice->fileName);
    }();
    if (!saved) {
        reportFailure(cannotSave(choice->fileName, saved));
        return false;
    }
    addRecentFile(QFileInfo(choice->path).absoluteFilePath());
    return true;
}

void MainDialog::OnExportType() {
    QString proposedName;
    std::string stored;
    if (m_object.getObjectString(0, stored)) proposedName = fromWindows1252(stored);
    FileDialogRequest request =
        fileDialogRequest(QStringLiteral("Export Path File"), QStringLiteral("PTH"), true);
    request.initialFolder = QString::fromStdString(m_workingDirectory);

    if (!m_object.isLoaded() || m_currentPage < PagePath || m_currentPage > PageSupports) return;
    auto name = m_ui->promptName(QStringLiteral("Enter Path Name"), proposedName);
    if (!name) return;
    auto choice = m_ui->chooseFile(request);
    if (!choice) return;

    // Type files always live in the working directory, whatever folder was chosen.
    const std::string fileName = localPath(choice->fileName);
    const std::string path = resolveCaseInsensitive(joinPath(m_workingDirectory, fileName));
    if (existingWritableFile(path) &&
        m_ui->messageBox(overwriteQuestion(choice->fileName), QStringLiteral("Question"),
                         MessageButtons::OkCancel) != MessageAnswer::Ok) {
        return;
    }
    // A type file that was not written gets no list entry.
    if (Status written = writeTypeFile(m_object, m_currentPage, path); !written) {
        reportFailure(cannotSave(choice->fileName, written));
        return;
    }

    auto& list = m_typeLists[std::size_t(m_currentPage)];
    list.push_back(TypeEntry{toWindows1252(*name).bytes, fileName});
    const std::string& descriptorName = m_descriptorFileNames[std::size_t(m_currentPage)];
    const std::string descriptor = resolveCaseInsensitive(joinPath(m_workingDirectory, descriptorName));
    if (Status listed = writeDescriptorFile(descriptor, list); listed) {
        fillTypeCombo(m_currentPage);
    } else {
        // The entry stays in the list for this run.
        reportFailure(cannotSave(QString::fromStdString(descriptorName), listed));
    }
    refreshPreview();
}

void MainDialog::OnSelchangeTypeCombo() {
    if (!m_object.isLoaded()) return;
    const auto& list = m_typeLists[std::size_t(m_currentPage)];
    const int index = m_typeCombo->currentIndex();
    if (index < 0 || index >= int(list.size())) return;
    const TypeEntry& entry = list[std::size_t(index)];
    const std::string path = resolveCaseInsensitive(joinPath(m_workingDirectory, entry.fileName));
    {
        WaitCursor wait(*m_ui);
        const int page = m_currentPage;
        Status loaded = m_document.change(QStringLiteral("Set Path Type"),
                                          [&](PathObject& object, BrightnessCounters& brightness) {
                                              // A missing file changes nothing in the object; the page's
                                              // brightness is reset all the same.
                                              Status read = loadTypeFile(object, page, path);
                                              brightness[std::size_t(page)] = 0;
                                              return read || !isRegularFile(path) ? Status::ok() : read;
                                          });
        if (!loaded) {
            reportFailure(QStringLiteral("Error: ") + QString::fromStdString(entry.fileName) +
                          QStringLiteral(" is damaged: ") + QString::fromStdString(loaded.error()) +
                          QLatin1Char('.'));
        }
    }
    refreshPreview();
}

void MainDialog::OnNew() {
    if (!mayDiscardChanges()) return;
    {
        WaitCursor wait(*m_ui);
        PathObject made;
        Status assembled = assembleNewPath(made, m_typeLists, m_workingDirectory);
        if (!assembled) {
            // The open object stays as it was.
            reportFailure(QStringLiteral("Cannot make a new path: ") +
                          QString::fromStdString(assembled.error()) + QLatin1Char('.'));
            return;
        }
        unlinkSpriteFolder();
        m_document.startNew(std::move(made), QStringLiteral("New Path"), QString::fromLatin1(kNewPathText));
    }
    refreshPreview();
}

}  // namespace trellisor
