// The main dialog as built from its template: ids, texts, geometry, the strip,
// the protection row, and the state before the first tab change.
#include <QAction>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QRadioButton>

#include "EditorFixture.h"
#include "app/AppArt.h"
#include "preview/GamePalette.h"

namespace trellisor::test {
namespace {

using EditorLayout = EditorFixture;

TEST_F(EditorLayout, TemplateControlsCarryTheirIdsTextsAndRectangles) {
    MainDialog& d = open();
    const DialogUnits units = dialogBaseUnits(d.font());
    const DialogTemplate& t = dialogTemplate(102);
    EXPECT_EQ(d.windowTitle(), "Visual Trellisor");
    EXPECT_EQ(d.size(), QSize(units.toPixelsX(320), units.toPixelsY(335)));
    int checked = 0;
    for (const ControlTemplate& c : t.controls) {
        if (c.id == -1 || c.id == 1005 || c.id == 1014 || c.id == 1017) continue;
        QWidget* w = control(c.id);
        ASSERT_NE(w, nullptr) << c.id;
        EXPECT_EQ(w->geometry(), units.toPixels(c.x, c.y, c.width, c.height)) << c.id;
        if (c.text[0]) {
            EXPECT_EQ(text(c.id), QString::fromLatin1(c.text)) << c.id;
        }
        ++checked;
    }
    EXPECT_EQ(checked, 18);
    QStringList labels;
    for (QLabel* label : d.findChildren<QLabel*>(Qt::FindDirectChildrenOnly)) labels << label->text();
    for (const char* expected : {"Brightness:", "Set Path Type:", "Recolor:", "Protected:", "All Checkboxes:",
                                 "Import Bitmaps doesn't affect stairs/ramps."}) {
        EXPECT_TRUE(labels.contains(QString::fromLatin1(expected))) << expected;
    }
    ASSERT_EQ(d.m_tabs->count(), 6);
    const char* tabs[] = {"Path", "Path Railings", "Queue", "Queue Railings", "Supports", "String Table"};
    for (int i = 0; i < 6; ++i) EXPECT_EQ(d.m_tabs->tabText(i), QString::fromLatin1(tabs[i]));

    // The preview pane keeps its template position and takes the display's size.
    const QRect pane = units.toPixels(39, 52, 246, 159);
    EXPECT_EQ(d.m_preview->geometry(), QRect(pane.topLeft(), QSize(360, 260)));
}

TEST_F(EditorLayout, StripShowsTheRampBlocksWithTheProtectionRowUnderIt) {
    MainDialog& d = open();
    const DialogUnits units = dialogBaseUnits(d.font());
    const QRect strip = d.m_recolorStrip->geometry();
    EXPECT_EQ(strip.topLeft(), units.toPixels(59, 251, 181, 12).topLeft());
    EXPECT_EQ(strip.size(), QSize(272, 19));  // 270 x 17 inside a one-pixel border
    EXPECT_TRUE(d.m_recolorStrip->testAttribute(Qt::WA_TransparentForMouseEvents));

    const QImage art = recolourStripImage();
    ASSERT_EQ(art.size(), QSize(270, 17));
    for (int k = 0; k < 18; ++k) {
        const RgbQuad q = previewColour(kStripBlockColours[std::size_t(k)]);
        for (int x : {15 * k, 15 * k + 14}) {
            EXPECT_EQ(art.pixel(x, 8), qRgb(q.red, q.green, q.blue)) << "block " << k << " x " << x;
        }
    }

    QLabel* protectedLabel = nullptr;
    for (QLabel* label : d.findChildren<QLabel*>(Qt::FindDirectChildrenOnly)) {
        if (label->text() == "Protected:") protectedLabel = label;
    }
    ASSERT_NE(protectedLabel, nullptr);
    for (int ramp = 0; ramp < 18; ++ramp) {
        auto* check = qobject_cast<QCheckBox*>(control(9000 + ramp));
        ASSERT_NE(check, nullptr) << ramp;
        EXPECT_EQ(check, d.m_protectedChecks[std::size_t(ramp)]);
        const QRect box = check->geometry();
        // Under block `ramp` of the strip, below it, level with the label.
        EXPECT_EQ(box.left(), strip.left() + 1 + 15 * ramp);
        EXPECT_EQ(box.width(), 15);
        EXPECT_GT(box.top(), strip.bottom());
        EXPECT_TRUE(box.top() <= protectedLabel->geometry().center().y() &&
                    protectedLabel->geometry().center().y() <= box.bottom());
        EXPECT_TRUE(check->isVisible() && check->isEnabled() && !check->isChecked());
    }
}

TEST_F(EditorLayout, BeforeTheFirstTabChangeTheTemplateTextsShow) {
    MainDialog& d = open();
    EXPECT_EQ(d.m_currentPage, 0);
    EXPECT_EQ(d.m_previewMode, 0);
    EXPECT_TRUE(d.m_showExampleCheck->isChecked());
    EXPECT_FALSE(d.m_showAllCheck->isChecked());
    EXPECT_EQ(text(1008), "Show all Path Elements");
    EXPECT_EQ(text(1010), "0");
    for (int id : {1006, 1007, 1008, 1010, 1011, 1012, 1022, 1023, 1024, 1025, 1026, 1027})
        EXPECT_TRUE(shown(id)) << id;
    EXPECT_FALSE(d.m_stringTablePage->isVisible());
    // Radio buttons start groups of their own: pressing one leaves the other to the handler.
    EXPECT_FALSE(d.m_showExampleCheck->autoExclusive());
    click(1007);
    EXPECT_TRUE(d.m_showExampleCheck->isChecked()) << "a checked radio button stays checked";
}

TEST_F(EditorLayout, StringTablePageHasTwelveRowsWithTheirOwnIds) {
    MainDialog& d = open();
    StringTableDialog* page = d.m_stringTablePage;
    const char* labels[] = {"British:", "American:", "French:", "German:",  "Spanish:", "Italian:",
                            "Dutch:",   "Swedish:",  "Korean:", "Chinese:", "Chinese:", "Portugese:"};
    QList<QLabel*> rowLabels = page->findChildren<QLabel*>(Qt::FindDirectChildrenOnly);
    ASSERT_EQ(rowLabels.size(), 12);
    for (int i = 0; i < 12; ++i) {
        EXPECT_EQ(rowLabels[i]->text(), QString::fromLatin1(labels[i]));
        EXPECT_EQ(page->m_languageEdits[std::size_t(i)], controlAs<QLineEdit>(page, 1019 + 2 * i));
        auto* toAll = controlAs<QAbstractButton>(page, 1020 + 2 * i);
        ASSERT_NE(toAll, nullptr);
        EXPECT_EQ(toAll->text(), "To All");
    }
    // 1022 means "Set" in the dialog and a "To All" button on the page.
    EXPECT_EQ(text(1022), "Set");
}

TEST_F(EditorLayout, AboutAndHelpAreOwnPagesAndExitAsksNothing) {
    MainDialog& d = open();
    ASSERT_NE(d.contextMenu(), nullptr);
    ASSERT_FALSE(d.contextMenu()->actions().isEmpty());  // About first, the sprite commands after it
    EXPECT_EQ(d.contextMenu()->actions().front()->text(), "&About trellisor...");
    d.contextMenu()->actions().front()->trigger();
    d.OnSysCommand(0xF060);  // any other system command is not ours
    d.OnHelp();
    ASSERT_EQ(m_ui.modalTitles.size(), 2u);
    EXPECT_EQ(m_ui.modalTitles[0], "About trellisor");
    EXPECT_EQ(m_ui.modalTitles[1], "Visual Trellisor Help");

    load(writeObject("A.DAT", standardSprites()));
    click(1);
    EXPECT_FALSE(d.isVisible());
    EXPECT_EQ(d.result(), QDialog::Accepted);
    EXPECT_TRUE(m_ui.messages.empty());
}

}  // namespace
}  // namespace trellisor::test
