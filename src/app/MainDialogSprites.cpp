// MainDialog: the current page's sprites out to a folder of pictures and back in, for
// work in any pixel editor (the same folder layout as trellisor-cli sprites). Both start
// in the folder used last and end with a line saying what they did, on the status line
// under the page.
#include <QGroupBox>
#include <QLabel>

#include "app/EditorSettings.h"
#include "app/MainDialog.h"
#include "app/TextCodec.h"
#include "imageio/SpriteFolder.h"

namespace trellisor {

namespace {

QString pageSprites(int page) {
    return QString::fromLatin1(pageInfo(page).caption) + QStringLiteral(" sprites");
}

}  // namespace

void MainDialog::createStatusLine() {
    // Under the page frame, across it; the window grows by one line for it.
    const QRect frame = m_pageFrame->geometry();
    const int line = fontMetrics().height();
    m_statusLine = new QLabel(this);
    m_statusLine->setGeometry(frame.left(), height() - line / 4, frame.width(), line);
    m_statusLine->setTextFormat(Qt::PlainText);
    setFixedSize(width(), height() + line);
}

void MainDialog::showStatus(const QString& text) {
    m_statusText = text;
    m_statusLine->setText(
        m_statusLine->fontMetrics().elidedText(text, Qt::ElideMiddle, m_statusLine->width()));
    m_statusLine->setToolTip(text);
}

QString MainDialog::statusLine() const { return m_statusText; }

std::optional<QString> MainDialog::chooseSpriteFolder(const QString& title) {
    auto folder = m_ui->chooseFolder(title, lastSpriteFolder());
    if (folder) setLastSpriteFolder(*folder);
    return folder;
}

void MainDialog::OnExportSprites() {
    if (!m_object.isLoaded() || !isSpritePage(m_currentPage)) return;
    const auto folder = chooseSpriteFolder(QStringLiteral("Export Sprites to Folder"));
    if (!folder) return;
    auto written = [&] {
        WaitCursor wait(*m_ui);
        return exportSpriteFolder(m_object, localPath(*folder), m_object.pageFirstSprite(m_currentPage),
                                  m_object.pageLastSprite(m_currentPage), false);
    }();
    if (!written)
        return reportFailure(QStringLiteral("Cannot export sprites to ") + *folder + QStringLiteral(": ") +
                             QString::fromStdString(written.error()) + QStringLiteral("."));
    showStatus(QStringLiteral("Exported %1 %2 to %3.")
                   .arg(written.value())
                   .arg(pageSprites(m_currentPage), *folder));
}

void MainDialog::OnImportSprites() {
    if (!m_object.isLoaded() || !isSpritePage(m_currentPage)) return;
    const auto folder = chooseSpriteFolder(QStringLiteral("Import Sprites from Folder"));
    if (!folder) return;
    // One undo step: the import changes the object only when every picture has passed.
    const int first = m_object.pageFirstSprite(m_currentPage), last = m_object.pageLastSprite(m_currentPage);
    int count = 0;
    Status imported = [&] {
        WaitCursor wait(*m_ui);
        return m_document.change(QStringLiteral("Import Sprites"), [&](PathObject& object) {
            Result<int> changed = importSpriteFolder(object, localPath(*folder), first, last, Matching{});
            if (changed) count = changed.value();
            return changed ? Status::ok() : Status::fail(changed.error());
        });
    }();
    if (!imported)
        return reportFailure(QStringLiteral("Cannot import sprites: ") +
                             QString::fromStdString(imported.error()) + QStringLiteral("."));
    showStatus(QStringLiteral("Imported %1 from %2: %3 of %4 changed.")
                   .arg(pageSprites(m_currentPage), *folder)
                   .arg(count)
                   .arg(last - first + 1));
    refreshPreview();
}

}  // namespace trellisor
