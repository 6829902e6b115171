// The Qt layer's own parts: presented buffers into the preview pane, bitmap buffers of each depth,
// the icon as pixels and SVG, and the real UI port: each message box's title, buttons, default and
// answer, the name prompt, the file dialogs, and the arrow cursor over a box shown under the wait cursor.
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <functional>

#include "EditorFixture.h"
#include "app/AppArt.h"
#include "app/QtUiPort.h"
#include "app/QtWindowPort.h"
#include "preview/PreviewFrame.h"
#include "preview/PreviewIcons.h"
#include "support/ImageFileBuilders.h"

namespace trellisor::test {
namespace {

using PreviewPaneTest = EditorFixture;

TEST_F(PreviewPaneTest, PaneShowsTheFrameTheDisplayPresentedAndTeardownGivesTheStoreBack) {
    MainDialog& d = open();
    EXPECT_EQ(SpriteStore::useCount(), 1);
    load(writeObject("SHOW.DAT"));
    click(1008);  // the grid of all Path elements: no grass, so the same headless
    HeadlessWindowPort port(32);
    auto display = createDisplay(2, &port, 1);
    ASSERT_TRUE(display && display->setMode(360, 260, kDisplayDepth, 0));
    PathObject copy = d.m_object.clone();
    drawPreviewFrame(copy, *display, nullptr, PreviewAllPathElements, PagePath);
    const QImage& frame = d.m_preview->frame();  // the presented pixels are blue, green, red, unused
    EXPECT_EQ(frame.convertToFormat(QImage::Format_RGB32),
              QImage(port.lastPixels().data(), port.lastWidth(), port.lastHeight(), QImage::Format_RGB32));
    EXPECT_EQ(d.m_preview->grab().toImage().convertToFormat(QImage::Format_RGB32),
              frame.convertToFormat(QImage::Format_RGB32));
    copy.clearObject();
    display->releaseScreen();
    m_dialog.reset();
    EXPECT_EQ(SpriteStore::useCount(), 0);
}

TEST(QtLayerConversions, BitmapBuffersOfEachDepth) {
    // The 40-byte header of a top-down bitmap file and what follows it: the colour table or masks.
    auto header = [](int width, int bits, std::vector<std::uint8_t> table = {}, std::uint32_t colours = 0) {
        const auto file = bitmapBytes({width, -1, std::uint16_t(bits), colours, std::move(table), {}});
        return std::vector<std::uint8_t>(file.begin() + 14, file.end());
    };
    const std::uint8_t p8[4] = {1, 0, 9, 9};  // pitch 4: the last two are beyond the width
    QImage i8 = imageFromBitmapBuffer(p8, header(2, 8, {0, 0, 0, 0, 0x30, 0x20, 0x10, 0}, 2).data(), 4, 1);
    ASSERT_EQ(i8.size(), QSize(2, 1));
    EXPECT_EQ(std::pair(i8.pixel(0, 0), i8.pixel(1, 0)), std::pair(qRgb(0x10, 0x20, 0x30), qRgb(0, 0, 0)));

    auto h565 = header(1, 16, {0, 0xF8, 0, 0, 0xE0, 0x07, 0, 0, 0x1F, 0, 0, 0});
    h565[16] = 3;                                           // the masks follow the header
    const std::uint8_t p565[4] = {0x1F, 0xF8, 0xE0, 0x07};  // magenta then green, one per row
    QImage i565 = imageFromBitmapBuffer(p565, h565.data(), 1, 2);
    EXPECT_EQ(std::pair(i565.pixel(0, 0), i565.pixel(0, 1)), std::pair(qRgb(255, 0, 255), qRgb(0, 255, 0)));
    const std::uint8_t p555[2] = {0x00, 0x7C};
    EXPECT_EQ(imageFromBitmapBuffer(p555, header(1, 16).data(), 1, 1).pixel(0, 0), qRgb(255, 0, 0));
    const std::uint8_t p24[6] = {1, 2, 3, 4, 5, 6};
    EXPECT_EQ(imageFromBitmapBuffer(p24, header(2, 24).data(), 2, 1).pixel(1, 0), qRgb(6, 5, 4));
    EXPECT_TRUE(imageFromBitmapBuffer(p24, header(2, 4).data(), 2, 1).isNull());
    EXPECT_TRUE(imageFromBitmapBuffer(p24, header(0, 24).data(), 2, 1).isNull());
}

// The icon at two sizes, as pixels and as SVG text (the strip: in the main window's picture).
TEST(AppArt, IconMatchesItsReferences) {
    for (int size : {32, 256}) {
        const std::string name = "app/icon-" + std::to_string(size);
        EXPECT_TRUE(matchesReference(colours(pathTileImage(size)), name, 2));
        const QByteArray svg = pathTileSvg(size);
        EXPECT_TRUE(matchesReferenceBytes(
            std::span(reinterpret_cast<const std::uint8_t*>(svg.data()), std::size_t(svg.size())),
            name + "-svg"));
    }
}

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
