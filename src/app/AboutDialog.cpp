// AboutDialog: icon 128, the version line and OK.
#include "app/AboutDialog.h"

#include <QPushButton>

#include "app/AppArt.h"
#include "app/DialogTemplates.h"

namespace trellisor {

AboutDialog::AboutDialog(QWidget* parent) : QDialog(parent) {
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    buildDialog(this, dialogTemplate(100));
    setWindowIcon(resourceIcon(kAppIconResource));
    connect(controlAs<QPushButton>(this, 1), &QPushButton::clicked, this, &QDialog::accept);
}

}  // namespace trellisor
