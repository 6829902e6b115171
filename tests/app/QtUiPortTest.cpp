// The real UI port: each message box's title, buttons and default, the answer of the button
// pressed, the name prompt, and the arrow cursor over a box shown while the wait cursor is up.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <functional>

#include "app/DialogTemplates.h"
#include "app/QtUiPort.h"

namespace trellisor::test {
namespace {

// Runs answer on the modal dialog that the next call brings up.
void onNextModal(std::function<void(QWidget*)> answer) {
    QTimer::singleShot(0, [answer] { answer(QApplication::activeModalWidget()); });
}

TEST(QtUiPort, MessageBoxesNameTheirButtonsAndAnswerThePressedOne) {
    QtUiPort port;
    const struct {
        MessageButtons buttons;
        QMessageBox::StandardButton press;  // NoButton: closed without a choice
        MessageAnswer answer;
        QString caption, title;
        QMessageBox::StandardButtons offered;
    } rows[] = {
        {MessageButtons::Ok, QMessageBox::NoButton, MessageAnswer::Ok, "", "Visual Trellisor",
         QMessageBox::Ok},
        {MessageButtons::OkCancel, QMessageBox::Ok, MessageAnswer::Ok, "Question", "Question",
         QMessageBox::Ok | QMessageBox::Cancel},
        {MessageButtons::OkCancel, QMessageBox::NoButton, MessageAnswer::Cancel, "Question", "Question",
         QMessageBox::Ok | QMessageBox::Cancel},
        {MessageButtons::SaveDiscardCancel, QMessageBox::Save, MessageAnswer::Save, "", "Visual Trellisor",
         QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel},
        {MessageButtons::SaveDiscardCancel, QMessageBox::Discard, MessageAnswer::Discard, "",
         "Visual Trellisor", QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel},
    };
    port.beginWaitCursor();
    for (const auto& row : rows) {
        onNextModal([&row](QWidget* widget) {
            auto* box = qobject_cast<QMessageBox*>(widget);
            ASSERT_TRUE(box);
            EXPECT_EQ(box->windowTitle(), row.title);
            EXPECT_EQ(box->text(), "Text");
            EXPECT_EQ(box->standardButtons(), row.offered);
            if (row.buttons == MessageButtons::SaveDiscardCancel) {
                EXPECT_EQ(box->defaultButton(), box->button(QMessageBox::Save));
            }
            EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::ArrowCursor);
            if (row.press == QMessageBox::NoButton) return box->reject();
            box->button(row.press)->click();
        });
        EXPECT_EQ(port.messageBox("Text", row.caption, row.buttons), row.answer);
        EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
    }
    port.endWaitCursor();
    port.endWaitCursor();  // one end too many changes nothing
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST(QtUiPort, NamePromptShowsThePromptAndProposalAndGivesWhatWasTyped) {
    QtUiPort port;
    for (bool ok : {true, false}) {
        onNextModal([ok](QWidget* dialog) {
            EXPECT_EQ(controlAs<QLabel>(dialog, 1013)->text(), "Enter Path Name");
            auto* edit = controlAs<QLineEdit>(dialog, 1012);
            EXPECT_EQ(edit->text(), "Proposed");
            edit->setText("Typed");
            controlAs<QPushButton>(dialog, ok ? 1 : 2)->click();
        });
        EXPECT_EQ(port.promptName("Enter Path Name", "Proposed"),
                  ok ? std::optional<QString>("Typed") : std::nullopt);
    }
}

}  // namespace
}  // namespace trellisor::test
