// The help page shown by F1: the pages and commands of the editor in brief.
#pragma once

#include <QDialog>
#include <QString>

namespace trellisor {

QString editorHelpHtml();

class HelpDialog : public QDialog {
    Q_OBJECT
public:
    explicit HelpDialog(QWidget* parent = nullptr);
};

}  // namespace trellisor
