// The real UI port: each message box's title, buttons and default, the answer of the button
// pressed, the name prompt, and the arrow cursor over a box shown while the wait cursor is up.
#include <gtest/gtest.h>

#include <QApplication>
#include <QFileDialog>
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
    using B = QMessageBox;
    using A = MessageAnswer;
    using MB = MessageButtons;
    const B::StandardButtons saveDiscard = B::Save | B::Discard | B::Cancel;
    // buttons, the one pressed (NoButton: closed without a choice), answer, caption, title, buttons offered
    const std::tuple<MB, B::StandardButton, A, QString, QString, B::StandardButtons> rows[] = {
        {MB::Ok, B::NoButton, A::Ok, "", "Visual Trellisor", B::Ok},
        {MB::OkCancel, B::Ok, A::Ok, "Question", "Question", B::Ok | B::Cancel},
        {MB::OkCancel, B::NoButton, A::Cancel, "Question", "Question", B::Ok | B::Cancel},
        {MB::SaveDiscardCancel, B::Save, A::Save, "", "Visual Trellisor", saveDiscard},
        {MB::SaveDiscardCancel, B::Discard, A::Discard, "", "Visual Trellisor", saveDiscard},
    };
    port.beginWaitCursor();
    for (const auto& [buttons, press, answer, caption, title, offered] : rows) {
        onNextModal([&](QWidget* widget) {
            auto* box = qobject_cast<QMessageBox*>(widget);
            ASSERT_TRUE(box);
            EXPECT_EQ(std::tuple(box->windowTitle(), box->text(), box->standardButtons()),
                      std::tuple(title, QString("Text"), offered));
            EXPECT_TRUE(buttons != MB::SaveDiscardCancel || box->defaultButton() == box->button(B::Save));
            EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::ArrowCursor);
            if (press == B::NoButton) return box->reject();
            box->button(press)->click();
        });
        EXPECT_EQ(port.messageBox("Text", caption, buttons), answer);
        EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
    }
    port.endWaitCursor();
    port.endWaitCursor();  // one end too many changes nothing
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST(QtUiPort, NamePromptAndFileDialogsShowWhatWasAskedAndGiveTheChoice) {
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
    for (bool save : {false, true}) {  // open or save, with the name filter and extension asked for
        onNextModal([save](QWidget* widget) {
            auto* dialog = qobject_cast<QFileDialog*>(widget);
            ASSERT_TRUE(dialog);
            EXPECT_EQ(std::tuple(dialog->windowTitle(), dialog->acceptMode(), dialog->fileMode(),
                                 dialog->nameFilters(), dialog->defaultSuffix()),
                      std::tuple(QString("Title"), save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen,
                                 save ? QFileDialog::AnyFile : QFileDialog::ExistingFile,
                                 QStringList{"*.DAT (*.[Dd][Aa][Tt])"}, QString("DAT")));
            EXPECT_EQ(dialog->testOption(QFileDialog::DontConfirmOverwrite), save);
            dialog->reject();
        });
        EXPECT_FALSE(port.chooseFile(fileDialogRequest("Title", "DAT", save)));
    }
}

}  // namespace
}  // namespace trellisor::test
