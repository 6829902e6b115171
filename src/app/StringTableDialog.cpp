// StringTableDialog: built hidden from its template; MainDialog shows it and lays
// it onto the page frame.
#include "app/StringTableDialog.h"

#include <QLineEdit>
#include <QPushButton>

#include "app/DialogTemplates.h"

namespace trellisor {

StringTableDialog::StringTableDialog(QWidget* parent) : QFrame(parent) {
    setFrameStyle(QFrame::Box | QFrame::Plain);  // thin border, no caption
    setLineWidth(1);
    setAutoFillBackground(true);  // covers the main dialog's labels under the page frame
    buildDialog(this, dialogTemplate(138));
    setMinimumSize(0, 0);
    setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    for (int i = 0; i < kRows; ++i) {
        m_languageEdits[std::size_t(i)] = controlAs<QLineEdit>(this, 1019 + 2 * i);
        connect(controlAs<QPushButton>(this, 1020 + 2 * i), &QPushButton::clicked, this,
                [this, i] { OnToAll(i); });
    }
    hide();  // the template is not visible when created
}

QString StringTableDialog::text(int row) const {
    return row >= 0 && row < kRows ? m_languageEdits[std::size_t(row)]->text() : QString();
}

void StringTableDialog::setText(int row, const QString& value) {
    if (row >= 0 && row < kRows) m_languageEdits[std::size_t(row)]->setText(value);
}

void StringTableDialog::copyToAll(int row) {
    const QString value = text(row);
    for (QLineEdit* edit : m_languageEdits) edit->setText(value);
}

}  // namespace trellisor
