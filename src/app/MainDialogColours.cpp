// MainDialog: the colour commands (brightness, strip click, sparkles, bitmap
// import), the protection boxes and the "Draw Paths over Supports" flag.
#include <QCheckBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>

#include "app/MainDialog.h"
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
    int& counter = m_brightness[std::size_t(m_currentPage)];
    if (!stepPageBrightness(m_object, m_currentPage, counter, delta, protectedRamps())) return;
    m_brightnessEdit->setText(QString::number(counter));
    refreshPreview();
}

void MainDialog::OnBrightnessUp() { stepBrightness(+1); }

void MainDialog::OnBrightnessDown() { stepBrightness(-1); }

void MainDialog::OnLButtonUp(QPoint point) {
    if (!m_object.isLoaded() || m_currentPage == PageStringTable) return;
    const QRect strip = m_recolorStrip->geometry();  // outer rectangle, border included
    if (!strip.contains(point)) return;
    {
        WaitCursor wait(*m_ui);
        const int ramp = rampOfStripClick(point.x() - strip.left());
        recolourPage(m_object, m_currentPage, std::uint8_t(ramp), protectedRamps());
    }
    refreshPreview();
}

void MainDialog::OnAddSparkles() {
    if (m_object.isLoaded() && isSpritePage(m_currentPage))
        addSparkles(m_object, m_currentPage, protectedRamps());
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
        auto bitmap = readImportBitmap(QFile::encodeName(choice->path).toStdString());
        if (!bitmap) {
            m_ui->messageBox(QStringLiteral("Cannot import ") + choice->fileName + QStringLiteral(": ") +
                                 QString::fromStdString(bitmap.error()) + QStringLiteral("."),
                             QString(), MessageButtons::Ok);
        } else if (!isImportableDepth(bitmap.value())) {
            m_ui->messageBox(QString::fromLatin1(kBitmapDepthMessage), QString(), MessageButtons::Ok);
        } else {
            (void)importBitmapIntoPage(m_object, m_currentPage, bitmap.value(), protectedRamps());
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
    m_object.setDrawsPathsOverSupports(m_drawOverSupportsCheck->isChecked());
    refreshPreview();
}

}  // namespace trellisor
