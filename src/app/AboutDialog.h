// The About box (template 100), with a line about the open object's icons.
#pragma once

#include <QDialog>

class QLabel;

namespace trellisor {

class AboutDialog : public QDialog {
    Q_OBJECT
public:
    // iconsNote ("icons: hand-drawn, kept") is shown under the version line; "" shows nothing.
    explicit AboutDialog(QWidget* parent = nullptr, const QString& iconsNote = QString());

    QLabel* m_iconsNote = nullptr;
};

}  // namespace trellisor
