// The name prompt (template 131): asks for the name of an exported type.
#pragma once

#include <QDialog>
#include <QString>

class QLabel;
class QLineEdit;

namespace trellisor {

class NameDialog : public QDialog {
    Q_OBJECT
public:
    explicit NameDialog(QWidget* parent = nullptr);

    QLabel* m_promptLabel;  // 1013
    QLineEdit* m_nameEdit;  // 1012
    QString m_prompt;       // shown in place of the template's label text
    QString m_name;         // proposed before the run, entered after OK

    // Puts m_name into the edit and m_prompt into the label.
    void doDataExchange();

public slots:
    void accept() override;  // OnOK: takes the edit's text, then ends with OK

protected:
    void showEvent(QShowEvent* event) override;
};

}  // namespace trellisor
