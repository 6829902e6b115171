// The About box (template 100).
#pragma once

#include <QDialog>

namespace trellisor {

class AboutDialog : public QDialog {
    Q_OBJECT
public:
    explicit AboutDialog(QWidget* parent = nullptr);
};

}  // namespace trellisor
