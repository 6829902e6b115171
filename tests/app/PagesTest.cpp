// Tab changes: texts, shown and hidden controls, preview modes, per-page
// brightness and the String Table page.
#include <QGroupBox>
#include <QRadioButton>

#include "EditorFixture.h"
#include "object/DescriptorFile.h"

namespace trellisor::test {
namespace {

using EditorPages = EditorFixture;

struct PageRow {
    int page;
    const char* exportText;
    const char* exampleText;
    const char* allText;
    bool importShown;
    bool sparklesShown;
    int exampleMode;
    int allMode;
};

TEST_F(EditorPages, EachPageSetsItsTextsControlsAndModes) {
    MainDialog& d = open();
    const PageRow rows[] = {
        {1, "Export Railing Type", "Show Example Path", "Show All Railing Elements", false, false, 0, 2},
        {2, "Export Queue Type", "Show Example Queue", "Show All Queue Elements", true, false, 3, 4},
        {3, "Export Queue Rail", "Show Example Queue", "Show All Queue Railings", false, false, 3, 5},
        {4, "Export Support Type", "Show Example Path", "Show All Support Elements", false, false, 0, 6},
        {0, "Export Path Type", "Show Example Path", "Show All Path Elements", true, true, 0, 1},
    };
    for (bool example : {true, false}) {
        for (const PageRow& row : rows) {
            // Leave through the String Table page so every row is a real change.
            selectTab(5);
            d.m_showExampleCheck->setChecked(example);
            d.m_showAllCheck->setChecked(!example);
            selectTab(row.page);
            SCOPED_TRACE(row.page);
            EXPECT_EQ(d.m_currentPage, row.page);
            EXPECT_EQ(text(1006), row.exportText);
            EXPECT_EQ(text(1007), row.exampleText);
            EXPECT_EQ(text(1008), row.allText);
            EXPECT_EQ(shown(1025), row.importShown);
            EXPECT_EQ(shown(1026), row.sparklesShown);
            EXPECT_EQ(d.m_previewMode, example ? row.exampleMode : row.allMode);
            for (int id :
                 {1006, 1007, 1008, 1010, 1011, 1012, 1014, 1017, 1022, 1023, 1024, 1027, 9000, 9017})
                EXPECT_TRUE(shown(id)) << id;
            EXPECT_TRUE(d.m_preview->isVisible());
            EXPECT_FALSE(d.m_stringTablePage->isVisible());
        }
    }
}

TEST_F(EditorPages, ViewChoicesFollowThePageAndCarryOver) {
    MainDialog& d = open();
    click(1008);  // all elements on the Path page
    EXPECT_EQ(d.m_previewMode, 1);
    EXPECT_FALSE(d.m_showExampleCheck->isChecked());
    selectTab(1);
    EXPECT_EQ(d.m_previewMode, 2);
    selectTab(0);
    EXPECT_EQ(d.m_previewMode, 1);
    selectTab(2);
    click(1007);
    EXPECT_EQ(d.m_previewMode, 3);
    EXPECT_FALSE(d.m_showAllCheck->isChecked());
    selectTab(4);
    EXPECT_EQ(d.m_previewMode, 0) << "the Supports page shows the example path";
    click(1008);
    EXPECT_EQ(d.m_previewMode, 6);
    selectTab(3);
    EXPECT_EQ(d.m_previewMode, 5);
    click(1007);
    EXPECT_EQ(d.m_previewMode, 3);
}

TEST_F(EditorPages, StringTablePageHidesTheEditorAndKeepsTheMode) {
    m_dir.writeText("queue.txt", "2\nFirst\nq1.pth\nSecond\nq2.pth\n");
    MainDialog& d = open();
    selectTab(2);
    ASSERT_EQ(d.m_typeCombo->count(), 2);
    d.m_typeCombo->setCurrentIndex(1);
    click(1008);
    const int mode = d.m_previewMode;
    selectTab(5);
    EXPECT_EQ(d.m_currentPage, 5);
    EXPECT_EQ(d.m_previewMode, mode);
    EXPECT_EQ(d.m_typeCombo->count(), 0);
    for (int id : {1006, 1007, 1008, 1010, 1011, 1012, 1014, 1017, 1022, 1023, 1024, 1025, 1026, 1027, 9000})
        EXPECT_FALSE(shown(id)) << id;
    EXPECT_FALSE(d.m_preview->isVisible());
    for (int id : {1, 1000, 1002, 1003, 1004, 1018}) EXPECT_TRUE(shown(id)) << id;
    ASSERT_TRUE(d.m_stringTablePage->isVisible());
    QRect frame = d.m_pageFrame->geometry();
    EXPECT_EQ(d.m_stringTablePage->geometry(), frame.adjusted(0, 5, 0, 0));

    selectTab(2);
    EXPECT_EQ(d.m_typeCombo->count(), 2);
    EXPECT_EQ(d.m_typeCombo->currentIndex(), 0) << "refilled with the first entry selected";
    EXPECT_EQ(d.m_previewMode, 4);
}

TEST_F(EditorPages, TypeListsComeFromTheDescriptorFiles) {
    m_dir.writeText("path.txt", "3\n  Spaced  \na.pth\nSecond\n");  // two lines short
    m_dir.writeText("prail.txt", "0\nIgnored\nx.pth\n");
    m_dir.writeText("qrail.txt", "words\n");
    MainDialog& d = open();
    ASSERT_EQ(d.m_typeLists[0].size(), 3u);
    EXPECT_EQ(d.m_typeLists[0][0], (TypeEntry{"  Spaced  ", "a.pth"}));
    EXPECT_EQ(d.m_typeLists[0][2], (TypeEntry{"", ""}));
    EXPECT_TRUE(d.m_typeLists[1].empty());
    EXPECT_TRUE(d.m_typeLists[3].empty());
    EXPECT_TRUE(d.m_typeLists[4].empty()) << "a missing file gives an empty list";
    ASSERT_EQ(d.m_typeCombo->count(), 3);
    EXPECT_EQ(d.m_typeCombo->itemText(0), "  Spaced  ");
    EXPECT_EQ(d.m_typeCombo->currentIndex(), 0);
    selectTab(1);
    EXPECT_EQ(d.m_typeCombo->count(), 0);
}

}  // namespace
}  // namespace trellisor::test
