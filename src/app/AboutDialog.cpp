// AboutDialog: icon 128, the version line, the icons line and OK.
#include "app/AboutDialog.h"

#include <QLabel>
#include <QPushButton>

#include "app/AppArt.h"
#include "app/DialogTemplates.h"

namespace trellisor {

AboutDialog::AboutDialog(QWidget* parent, const QString& iconsNote) : QDialog(parent) {
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    const DialogUnits units = buildDialog(this, dialogTemplate(100));
    setWindowIcon(resourceIcon(kAppIconResource));
    connect(controlAs<QPushButton>(this, 1), &QPushButton::clicked, this, &QDialog::accept);
    // Under the version line, as wide; the template leaves the room free.
    m_iconsNote = new QLabel(iconsNote, this);
    m_iconsNote->setGeometry(units.toPixels(40, 24, 130, 8));
    m_iconsNote->setVisible(!iconsNote.isEmpty());
}

}  // namespace trellisor
