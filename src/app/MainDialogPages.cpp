// MainDialog: the tab change, the six page set-ups and the two view choices.
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabBar>

#include "app/MainDialog.h"
#include "app/PreviewPane.h"
#include "app/StringTableDialog.h"

namespace trellisor {

namespace {

void enableAndShow(QWidget* widget, bool on) {
    widget->setEnabled(on);
    widget->setVisible(on);
}

}  // namespace

void MainDialog::OnSelchangeTabs() {
    m_currentPage = m_tabs->currentIndex();
    // The five editing pages' set-ups (showPathPage ... showSupportsPage) differ only by
    // their row of the page table.
    if (isSpritePage(m_currentPage))
        showPageControls(m_currentPage);
    else if (m_currentPage == PageStringTable)
        showStringTablePage();
    fillTypeCombo(m_currentPage);  // the String Table page has an empty list
    refreshPreview();
}

void MainDialog::showEditorControls(bool enable, bool show) {
    QWidget* group[] = {
        m_exportButton, m_showExampleCheck, m_showAllCheck,         m_brightnessEdit,       m_recolorStrip,
        m_typeCombo,    m_preview,          m_brightnessDownButton, m_brightnessUpButton,   m_setButton,
        m_clearButton,  m_toggleButton,     m_importBitmapButton,   m_drawOverSupportsCheck};
    for (QWidget* control : group) {
        control->setEnabled(enable);
        control->setVisible(show);
    }
    for (QCheckBox* check : m_protectedChecks) {
        check->setEnabled(enable);
        check->setVisible(show);
    }
    enableAndShow(m_addSparklesButton, false);
}

// An editing page's set-up: the group shown, the page's own buttons, its texts,
// its brightness and its preview mode.
void MainDialog::showPageControls(int page) {
    const PageInfo& info = pageInfo(page);
    enableAndShow(m_stringTablePage, false);
    showEditorControls(true, true);
    if (!info.importsBitmaps) enableAndShow(m_importBitmapButton, false);
    m_exportButton->setText(QString::fromLatin1(info.exportText));
    m_showExampleCheck->setText(QString::fromLatin1(info.exampleText));
    m_showAllCheck->setText(QString::fromLatin1(info.allText));
    m_brightnessEdit->setText(QString::number(m_brightness[std::size_t(page)]));
    m_previewMode = m_showExampleCheck->isChecked() ? info.exampleMode : info.allMode;
    if (info.addsSparkles) enableAndShow(m_addSparklesButton, true);
}

void MainDialog::showPathPage() { showPageControls(PagePath); }
void MainDialog::showPathRailingsPage() { showPageControls(PagePathRailings); }
void MainDialog::showQueuePage() { showPageControls(PageQueue); }
void MainDialog::showQueueRailingsPage() { showPageControls(PageQueueRailings); }
void MainDialog::showSupportsPage() { showPageControls(PageSupports); }

void MainDialog::showStringTablePage() {
    showEditorControls(false, false);
    enableAndShow(m_stringTablePage, true);
    QRect area = m_pageFrame->geometry();
    area.setTop(area.top() + 5);
    m_stringTablePage->setGeometry(area);
    m_stringTablePage->raise();
    m_stringTablePage->activateWindow();
    if (m_stringTablePage->m_languageEdits[0]) m_stringTablePage->m_languageEdits[0]->setFocus();
}

void MainDialog::OnShowExample() {
    m_showAllCheck->setChecked(false);
    const int page = m_tabs->currentIndex();
    if (isSpritePage(page)) m_previewMode = pageInfo(page).exampleMode;
    refreshPreview();
}

void MainDialog::OnShowAll() {
    m_showExampleCheck->setChecked(false);
    const int page = m_tabs->currentIndex();
    if (isSpritePage(page)) m_previewMode = pageInfo(page).allMode;
    refreshPreview();
}

}  // namespace trellisor
