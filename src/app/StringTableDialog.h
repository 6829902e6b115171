// The String Table page (template 138): the object's name in twelve languages,
// one edit per language code, each with a "To All" button.
#pragma once

#include <QFrame>
#include <QString>
#include <array>

class QLineEdit;

namespace trellisor {

class StringTableDialog : public QFrame {
    Q_OBJECT
public:
    static constexpr int kRows = 12;

    explicit StringTableDialog(QWidget* parent);

    // Element i is edit 1019 + 2i, the text of language code i.
    std::array<QLineEdit*, kRows> m_languageEdits{};

    QString text(int row) const;
    // As if typed: textEdited follows.
    void setText(int row, const QString& text);
    // Shows the document's texts (no signal).
    void showTexts(const std::array<QString, kRows>& texts);
    std::array<QString, kRows> texts() const;

    // Copies row's text into all twelve edits, row included; copiedToAll follows.
    void copyToAll(int row);
    // The "To All" button 1020 + 2 * row.
    void OnToAll(int row) { copyToAll(row); }

signals:
    // The text of one row was changed (typed, or set by setText).
    void textEdited(int row);
    // "To All" of row filled every row.
    void copiedToAll(int row);

private:
    bool m_quiet = false;  // the edits are being filled by program
};

}  // namespace trellisor
