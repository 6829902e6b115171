// MainDialog: the commands that read and write files — Load, Save, Export,
// choosing a type, and New.
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <filesystem>

#include "app/MainDialog.h"
#include "app/StringTableDialog.h"
#include "app/TextCodec.h"
#include "base/Files.h"
#include "object/NewPath.h"
#include "object/ObjectFile.h"
#include "object/TypeFile.h"

namespace trellisor {

namespace {

const QString kTitlePrefix = QStringLiteral("Visual Trellisor - ");

std::string localPath(const QString& path) { return QFile::encodeName(path).toStdString(); }

QString overwriteQuestion(const QString& name) {
    return QStringLiteral("File ") + name + QStringLiteral(" exists.  Overwrite?");
}

bool isRegularFile(const std::string& path) {
    std::error_code ec;
    return std::filesystem::is_regular_file(path, ec);
}

}  // namespace

void MainDialog::OnLoad() {
    auto choice =
        m_ui->chooseFile(fileDialogRequest(QStringLiteral("Open Path DAT File"), QStringLiteral("DAT")));
    if (!choice) return;
    openObjectFile(choice->path, choice->fileName);
}

void MainDialog::openObjectFile(const QString& path, const QString& fileName) {
    m_ui->beginWaitCursor();
    LoadReport report = loadObjectFile(m_object, localPath(path));
    switch (report.outcome) {
        case LoadOutcome::Loaded:
            followDrawOverSupportsFlag();
            break;
        case LoadOutcome::NotAPath:
            m_ui->messageBox(QString::fromLatin1(kNotAPathMessage), QString(), MessageButtons::Ok);
            break;
        case LoadOutcome::Malformed:
            m_ui->messageBox(QStringLiteral("Error: ") + fileName + QStringLiteral(" is damaged: ") +
                                 QString::fromStdString(report.reason) + QStringLiteral("."),
                             QString(), MessageButtons::Ok);
            break;
        case LoadOutcome::CannotOpen:
            break;  // no message: the title still changes
    }
    showObjectStrings();
    setWindowTitle(kTitlePrefix + fileName);
    m_ui->endWaitCursor();
    refreshPreview();
}

void MainDialog::showObjectStrings() {
    if (!m_object.isLoaded()) return;
    const auto texts = objectStrings(m_object);
    for (int i = 0; i < kLanguageCount; ++i)
        m_stringTablePage->setText(i, fromWindows1252(texts[std::size_t(i)]));
}

void MainDialog::followDrawOverSupportsFlag() {
    m_drawOverSupportsCheck->setChecked(m_object.drawsPathsOverSupports());
}

void MainDialog::OnSave() {
    if (!m_object.isLoaded()) return;  // nothing to save (after a failed load, say)
    auto choice = m_ui->chooseFile(
        fileDialogRequest(QStringLiteral("Save Path DAT File"), QStringLiteral("DAT"), true));
    if (!choice) return;
    const std::string path = localPath(choice->path);
    bool goOn = true;
    if (existingWritableFile(path)) {
        goOn = m_ui->messageBox(overwriteQuestion(choice->path), QStringLiteral("Question"),
                                MessageButtons::OkCancel) == MessageAnswer::Ok;
    }
    if (goOn) {
        WaitCursor wait(*m_ui);
        std::array<std::string, kLanguageCount> texts;
        for (int i = 0; i < kLanguageCount; ++i)
            texts[std::size_t(i)] = toWindows1252(m_stringTablePage->text(i)).bytes;
        // A file that cannot be created leaves the object as it was, without a word.
        (void)saveObjectFile(m_object, path, toWindows1252(choice->fileName).bytes, texts);
        setWindowTitle(kTitlePrefix + choice->fileName);
    }
    refreshPreview();
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
    // A type file that cannot be written still gets its list entry.
    (void)writeTypeFile(m_object, m_currentPage, path);

    auto& list = m_typeLists[std::size_t(m_currentPage)];
    list.push_back(TypeEntry{toWindows1252(*name).bytes, fileName});
    const std::string descriptor = resolveCaseInsensitive(
        joinPath(m_workingDirectory, m_descriptorFileNames[std::size_t(m_currentPage)]));
    if (writeDescriptorFile(descriptor, list)) fillTypeCombo(m_currentPage);
    refreshPreview();
}

void MainDialog::OnSelchangeTypeCombo() {
    if (!m_object.isLoaded()) return;
    const auto& list = m_typeLists[std::size_t(m_currentPage)];
    const int index = m_typeCombo->currentIndex();
    if (index < 0 || index >= int(list.size())) return;
    const std::string path =
        resolveCaseInsensitive(joinPath(m_workingDirectory, list[std::size_t(index)].fileName));
    {
        WaitCursor wait(*m_ui);
        Status loaded = loadTypeFile(m_object, m_currentPage, path);
        // A missing file changes nothing without a word; a damaged one says why.
        if (!loaded && isRegularFile(path)) {
            m_ui->messageBox(QStringLiteral("Error: ") +
                                 QString::fromStdString(list[std::size_t(index)].fileName) +
                                 QStringLiteral(" is damaged: ") + QString::fromStdString(loaded.error()) +
                                 QStringLiteral("."),
                             QString(), MessageButtons::Ok);
        }
        if (loaded && m_currentPage == PageSupports) followDrawOverSupportsFlag();
    }
    m_brightness[std::size_t(m_currentPage)] = 0;
    m_brightnessEdit->setText(QStringLiteral("0"));
    refreshPreview();
}

void MainDialog::OnNew() {
    {
        WaitCursor wait(*m_ui);
        Status made = assembleNewPath(m_object, m_typeLists, m_workingDirectory);
        if (!made) {
            // Every list needs an entry to choose from; the object stays as it was.
            m_ui->messageBox(QStringLiteral("Cannot make a new path: ") +
                                 QString::fromStdString(made.error()) + QStringLiteral("."),
                             QString(), MessageButtons::Ok);
            return;
        }
        for (int i = 0; i < kLanguageCount; ++i)
            m_stringTablePage->setText(i, QString::fromLatin1(kNewPathText));
        followDrawOverSupportsFlag();
        setWindowTitle(kTitlePrefix + QStringLiteral("New Path"));
    }
    refreshPreview();
}

}  // namespace trellisor
