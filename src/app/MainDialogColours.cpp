// MainDialog: the colour commands (brightness, strip click, sparkles, bitmap
// import), the protection boxes and the "Draw Paths over Supports" flag.
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>

#include "app/MainDialog.h"
#include "app/TextCodec.h"
#include "imageio/PictureFiles.h"
#include "preview/BitmapImport.h"
#include "preview/ColourOperations.h"

namespace trellisor {

ProtectedRamps MainDialog::protectedRamps() const {
    ProtectedRamps marks{};
    for (int ramp = 0; ramp < kRampCount; ++ramp)
        marks[std::size_t(ramp)] = m_protectedChecks[std::size_t(ramp)]->isChecked();
    return marks;
}

bool MainDialog::isRampProtected(int ramp) const {
    return trellisor::isRampProtected(protectedRamps(), ramp);
}

void MainDialog::stepBrightness(int delta) {
    // The buttons are hidden on the String Table page, whose range is no page's.
    if (!isSpritePage(m_currentPage)) return;
    const int page = m_currentPage;
    bool stepped = false;
    (void)m_document.change(QStringLiteral("Brightness"), [&](PathObject& object,
                                                              BrightnessCounters& brightness) {
        stepped = stepPageBrightness(object, page, brightness[std::size_t(page)], delta, protectedRamps());
        return Status::ok();
    });
    if (stepped) refreshPreview();  // at the limit: nothing, not even a repaint
}

void MainDialog::OnBrightnessUp() { stepBrightness(+1); }

void MainDialog::OnBrightnessDown() { stepBrightness(-1); }

void MainDialog::OnLButtonUp(QPoint point) {
    // The strip's outer rectangle, border included, and a reach beyond its last column.
    if (stripHitArea().contains(point)) recolourPageTo(rampAtStripPoint(point));
}

void MainDialog::recolourPageTo(int ramp) {
    if (!m_object.isLoaded() || m_currentPage == PageStringTable) return;
    {
        WaitCursor wait(*m_ui);
        const int page = m_currentPage;
        (void)m_document.change(QStringLiteral("Recolor"), [&](PathObject& object) {
            recolourPage(object, page, std::uint8_t(ramp), protectedRamps());
            return Status::ok();
        });
    }
    refreshPreview();
}

void MainDialog::OnAddSparkles() {
    if (m_object.isLoaded() && isSpritePage(m_currentPage)) {
        const int page = m_currentPage;
        (void)m_document.change(QStringLiteral("Add Sparkles"), [&](PathObject& object) {
            addSparkles(object, page, protectedRamps());
            return Status::ok();
        });
    }
    refreshPreview();
}

void MainDialog::OnImportBitmap() {
    if (!m_object.isLoaded() || m_object.m_dataSize == 0 || !isSpritePage(m_currentPage)) return;
    FileDialogRequest request =
        fileDialogRequest(QStringLiteral("Import Bitmap File"), QStringLiteral("BMP"));
    request.filter = QStringLiteral("*.BMP *.PNG");
    auto choice = m_ui->chooseFile(request);
    if (!choice) return;
    {
        WaitCursor wait(*m_ui);
        auto bitmap = readImportBitmap(localPath(choice->path));
        if (!bitmap) {
            reportFailure(QStringLiteral("Cannot import ") + choice->fileName + QStringLiteral(": ") +
                          QString::fromStdString(bitmap.error()) + QLatin1Char('.'));
        } else if (!isImportableDepth(bitmap.value())) {
            reportFailure(QString::fromLatin1(kBitmapDepthMessage));
        } else {
            const int page = m_currentPage;
            Status imported = m_document.change(QStringLiteral("Import Bitmap"), [&](PathObject& object) {
                return importBitmapIntoPage(object, page, bitmap.value(), protectedRamps());
            });
            if (!imported)
                reportFailure(QStringLiteral("Cannot import ") + choice->fileName + QStringLiteral(": ") +
                              QString::fromStdString(imported.error()) + QLatin1Char('.'));
        }
    }
    refreshPreview();
}

void MainDialog::OnProtectedSet() {
    for (QCheckBox* check : m_protectedChecks) check->setChecked(true);
}

void MainDialog::OnProtectedClear() {
    for (QCheckBox* check : m_protectedChecks) check->setChecked(false);
}

void MainDialog::OnProtectedToggle() {
    for (QCheckBox* check : m_protectedChecks) check->setChecked(!check->isChecked());
}

void MainDialog::OnDrawOverSupports() {
    const bool on = m_drawOverSupportsCheck->isChecked();
    (void)m_document.change(QStringLiteral("Draw Paths over Supports"), [on](PathObject& object) {
        object.setDrawsPathsOverSupports(on);
        return Status::ok();
    });
    refreshPreview();
}

}  // namespace trellisor
