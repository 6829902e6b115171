// MainDialog: the current page's sprites out to a folder of pictures and back in, for
// work in any pixel editor (the same folder layout as trellisor-cli sprites).
#include <QFile>

#include "app/MainDialog.h"
#include "imageio/SpriteFolder.h"

namespace trellisor {

void MainDialog::OnExportSprites() {
    if (!m_object.isLoaded() || !isSpritePage(m_currentPage)) return;
    const auto folder = m_ui->chooseFolder(QStringLiteral("Export Sprites to Folder"));
    if (!folder) return;
    Status written = [&] {
        WaitCursor wait(*m_ui);
        return exportSpriteFolder(m_object, QFile::encodeName(*folder).toStdString(),
                                  m_object.pageFirstSprite(m_currentPage),
                                  m_object.pageLastSprite(m_currentPage), false);
    }();
    if (!written)
        m_ui->messageBox(QStringLiteral("Cannot export sprites to ") + *folder + QStringLiteral(": ") +
                             QString::fromStdString(written.error()) + QStringLiteral("."),
                         QString(), MessageButtons::Ok);
}

void MainDialog::OnImportSprites() {
    if (!m_object.isLoaded() || !isSpritePage(m_currentPage)) return;
    const auto folder = m_ui->chooseFolder(QStringLiteral("Import Sprites from Folder"));
    if (!folder) return;
    // Becomes one undo step once the editor keeps a document: the import changes the
    // object only when every picture has passed, so before and after are its snapshots.
    Result<int> imported = [&] {
        WaitCursor wait(*m_ui);
        return importSpriteFolder(m_object, QFile::encodeName(*folder).toStdString(),
                                  m_object.pageFirstSprite(m_currentPage),
                                  m_object.pageLastSprite(m_currentPage), Matching{});
    }();
    if (!imported) {
        m_ui->messageBox(QStringLiteral("Cannot import sprites: ") +
                             QString::fromStdString(imported.error()) + QStringLiteral("."),
                         QString(), MessageButtons::Ok);
        return;
    }
    refreshPreview();
}

}  // namespace trellisor
