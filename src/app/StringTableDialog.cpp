// StringTableDialog: built hidden from its template; MainDialog shows it and lays
// it onto the page frame.
#include "app/StringTableDialog.h"

#include <QLineEdit>
#include <QPushButton>
#include <QScopedValueRollback>

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
        connect(m_languageEdits[std::size_t(i)], &QLineEdit::textChanged, this, [this, i] {
            if (!m_quiet) emit textEdited(i);
        });
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

void StringTableDialog::showTexts(const std::array<QString, kRows>& texts) {
    QScopedValueRollback quiet(m_quiet, true);
    for (int i = 0; i < kRows; ++i) {
        // Left alone when equal, so the cursor of the edit being typed in stays put.
        if (m_languageEdits[std::size_t(i)]->text() != texts[std::size_t(i)])
            m_languageEdits[std::size_t(i)]->setText(texts[std::size_t(i)]);
    }
}

std::array<QString, StringTableDialog::kRows> StringTableDialog::texts() const {
    std::array<QString, kRows> all;
    for (int i = 0; i < kRows; ++i) all[std::size_t(i)] = text(i);
    return all;
}

void StringTableDialog::copyToAll(int row) {
    const QString value = text(row);
    {
        QScopedValueRollback quiet(m_quiet, true);
        for (QLineEdit* edit : m_languageEdits) edit->setText(value);
    }
    emit copiedToAll(row);
}

}  // namespace trellisor
