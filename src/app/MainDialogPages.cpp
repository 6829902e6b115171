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
#include "preview/PreviewFrame.h"

namespace trellisor {

namespace {

struct PageTexts {
    const char* exportText;
    const char* exampleText;
    const char* allText;
    int exampleMode;
    int allMode;
};

// Pages 0..4: the export button, the two view choices and their preview modes.
constexpr PageTexts kPageTexts[5] = {
    {"Export Path Type", "Show Example Path", "Show All Path Elements", PreviewExamplePath,
     PreviewAllPathElements},
    {"Export Railing Type", "Show Example Path", "Show All Railing Elements", PreviewExamplePath,
     PreviewAllRailingElements},
    {"Export Queue Type", "Show Example Queue", "Show All Queue Elements", PreviewExampleQueue,
     PreviewAllQueueElements},
    {"Export Queue Rail", "Show Example Queue", "Show All Queue Railings", PreviewExampleQueue,
     PreviewAllQueueRailings},
    {"Export Support Type", "Show Example Path", "Show All Support Elements", PreviewExamplePath,
     PreviewAllSupportElements},
};

void enableAndShow(QWidget* widget, bool on) {
    widget->setEnabled(on);
    widget->setVisible(on);
}

}  // namespace

void MainDialog::OnSelchangeTabs() {
    m_currentPage = m_tabs->currentIndex();
    switch (m_currentPage) {
        case PagePath:
            showPathPage();
            break;
        case PagePathRailings:
            showPathRailingsPage();
            break;
        case PageQueue:
            showQueuePage();
            break;
        case PageQueueRailings:
            showQueueRailingsPage();
            break;
        case PageSupports:
            showSupportsPage();
            break;
        case PageStringTable:
            showStringTablePage();
            break;
        default:
            break;
    }
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

// Steps 3 to 5 of an editing page's set-up: texts, brightness, preview mode.
void MainDialog::showPageControls(int page) {
    const PageTexts& texts = kPageTexts[page];
    m_exportButton->setText(QString::fromLatin1(texts.exportText));
    m_showExampleCheck->setText(QString::fromLatin1(texts.exampleText));
    m_showAllCheck->setText(QString::fromLatin1(texts.allText));
    m_brightnessEdit->setText(QString::number(m_brightness[std::size_t(m_currentPage)]));
    m_previewMode = m_showExampleCheck->isChecked() ? texts.exampleMode : texts.allMode;
}

void MainDialog::showPathPage() {
    enableAndShow(m_stringTablePage, false);
    showEditorControls(true, true);
    showPageControls(PagePath);
    enableAndShow(m_addSparklesButton, true);
}

void MainDialog::showPathRailingsPage() {
    enableAndShow(m_stringTablePage, false);
    showEditorControls(true, true);
    enableAndShow(m_importBitmapButton, false);
    showPageControls(PagePathRailings);
}

void MainDialog::showQueuePage() {
    enableAndShow(m_stringTablePage, false);
    showEditorControls(true, true);
    showPageControls(PageQueue);
}

void MainDialog::showQueueRailingsPage() {
    enableAndShow(m_stringTablePage, false);
    showEditorControls(true, true);
    enableAndShow(m_importBitmapButton, false);
    showPageControls(PageQueueRailings);
}

void MainDialog::showSupportsPage() {
    showEditorControls(true, true);
    enableAndShow(m_stringTablePage, false);
    enableAndShow(m_importBitmapButton, false);
    showPageControls(PageSupports);
}

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
    switch (m_tabs->currentIndex()) {
        case PagePath:
        case PagePathRailings:
        case PageSupports:
            m_previewMode = PreviewExamplePath;
            break;
        case PageQueue:
        case PageQueueRailings:
            m_previewMode = PreviewExampleQueue;
            break;
        default:
            break;
    }
    refreshPreview();
}

void MainDialog::OnShowAll() {
    m_showExampleCheck->setChecked(false);
    switch (m_tabs->currentIndex()) {
        case PagePath:
            m_previewMode = PreviewAllPathElements;
            break;
        case PagePathRailings:
            m_previewMode = PreviewAllRailingElements;
            break;
        case PageQueue:
            m_previewMode = PreviewAllQueueElements;
            break;
        case PageQueueRailings:
            m_previewMode = PreviewAllQueueRailings;
            break;
        case PageSupports:
            m_previewMode = PreviewAllSupportElements;
            break;
        default:
            break;
    }
    refreshPreview();
}

}  // namespace trellisor
