// NameDialog: the caller sets the prompt and the proposal; OK takes the edit's text.
#include "app/NameDialog.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "app/DialogTemplates.h"

namespace trellisor {

NameDialog::NameDialog(QWidget* parent) : QDialog(parent) {
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    buildDialog(this, dialogTemplate(131));
    m_promptLabel = controlAs<QLabel>(this, 1013);
    m_nameEdit = controlAs<QLineEdit>(this, 1012);
    connect(controlAs<QPushButton>(this, 1), &QPushButton::clicked, this, &NameDialog::accept);
    connect(controlAs<QPushButton>(this, 2), &QPushButton::clicked, this, &NameDialog::reject);
}

void NameDialog::doDataExchange() {
    m_nameEdit->setText(m_name);
    m_promptLabel->setText(m_prompt);
}

void NameDialog::showEvent(QShowEvent* event) {
    doDataExchange();
    m_nameEdit->setFocus();
    QDialog::showEvent(event);
}

void NameDialog::accept() {
    m_name = m_nameEdit->text();
    QDialog::accept();
}

}  // namespace trellisor
