// MainDialog: the current page's sprites out to a folder of pictures and back in, for
// work in any pixel editor (the same folder layout as trellisor-cli sprites).
#include "app/MainDialog.h"
#include "app/TextCodec.h"
#include "imageio/SpriteFolder.h"

namespace trellisor {

void MainDialog::OnExportSprites() {
    if (!m_object.isLoaded() || !isSpritePage(m_currentPage)) return;
    const auto folder = m_ui->chooseFolder(QStringLiteral("Export Sprites to Folder"));
    if (!folder) return;
    Status written = [&] {
        WaitCursor wait(*m_ui);
        return exportSpriteFolder(m_object, localPath(*folder),
                                  m_object.pageFirstSprite(m_currentPage),
                                  m_object.pageLastSprite(m_currentPage), false);
    }();
    if (!written)
        reportFailure(QStringLiteral("Cannot export sprites to ") + *folder + QStringLiteral(": ") +
                      QString::fromStdString(written.error()) + QStringLiteral("."));
}

void MainDialog::OnImportSprites() {
    if (!m_object.isLoaded() || !isSpritePage(m_currentPage)) return;
    const auto folder = m_ui->chooseFolder(QStringLiteral("Import Sprites from Folder"));
    if (!folder) return;
    // One undo step: the import changes the object only when every picture has passed.
    const int first = m_object.pageFirstSprite(m_currentPage), last = m_object.pageLastSprite(m_currentPage);
    Status imported = [&] {
        WaitCursor wait(*m_ui);
        return m_document.change(QStringLiteral("Import Sprites"), [&](PathObject& object) {
            Result<int> count = importSpriteFolder(object, localPath(*folder), first, last, Matching{});
            return count ? Status::ok() : Status::fail(count.error());
        });
    }();
    if (!imported)
        return reportFailure(QStringLiteral("Cannot import sprites: ") +
                             QString::fromStdString(imported.error()) + QStringLiteral("."));
    refreshPreview();
}

}  // namespace trellisor
