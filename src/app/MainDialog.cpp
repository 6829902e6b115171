// MainDialog: construction, window set-up, the message map, refresh and paint.
#include "app/MainDialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QTabBar>
#include <cstdlib>
#include <ctime>

#include "app/AboutDialog.h"
#include "app/AppArt.h"
#include "app/DialogTemplates.h"
#include "app/EditorHelp.h"
#include "app/EditorSettings.h"
#include "app/LinkedFolder.h"
#include "app/PreviewPane.h"
#include "app/QtUiPort.h"
#include "app/QtWindowPort.h"
#include "app/StringTableDialog.h"
#include "app/TextCodec.h"
#include "app/ViewerWindow.h"
#include "base/Files.h"
#include "object/SpriteStore.h"
#include "preview/GamePalette.h"
#include "preview/PreviewFrame.h"

namespace trellisor {

MainDialog::MainDialog(QWidget* parent)
    : QDialog(parent), m_ownUi(std::make_unique<QtUiPort>(this)), m_ui(m_ownUi.get()) {
    m_workingDirectory = currentDirectory();
    construct();
}

MainDialog::MainDialog(const std::string& workingDirectory, UiPort& ui, QWidget* parent)
    : QDialog(parent), m_ui(&ui) {
    m_workingDirectory = workingDirectory;
    construct();
}

void MainDialog::construct() {
    m_hIcon = resourceIcon(kAppIconResource);
    m_previewMode = PreviewExamplePath;
    for (int page = 0; page < kPageCount; ++page)
        m_descriptorFileNames[std::size_t(page)] = kPages[std::size_t(page)].descriptorFile;
    std::srand(unsigned(std::time(nullptr)));

    // Creating the window: the template's controls, then the dialog's own set-up.
    // A normal top-level window, so that task bars show it.
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowCloseButtonHint);
    buildDialog(this, dialogTemplate(102));
    bindControls();
    createStatusLine();
    OnInitDialog();
    connectMessageMap();
    connectDocument();
    createShortcuts();
    setUpKeyboardAccess();
    setReadingTabOrder();
    if (auto position = savedWindowPosition(); position && QGuiApplication::screenAt(*position))
        move(*position);
}

MainDialog::~MainDialog() {
    m_viewer.reset();  // it watches the document and the preview pane
    // The store goes first: its images were made by the display.
    if (m_spriteStore) m_spriteStore->release();
    m_spriteStore = nullptr;
    m_grassSprite = nullptr;
    m_object.clearObject();
    if (m_display) m_display->releaseScreen();
    m_display.reset();
}

void MainDialog::bindControls() {
    m_drawOverSupportsCheck = controlAs<QCheckBox>(this, 1027);
    m_addSparklesButton = controlAs<QPushButton>(this, 1026);
    m_importBitmapButton = controlAs<QPushButton>(this, 1025);
    m_toggleButton = controlAs<QPushButton>(this, 1024);
    m_setButton = controlAs<QPushButton>(this, 1022);
    m_clearButton = controlAs<QPushButton>(this, 1023);
    m_brightnessDownButton = controlAs<QPushButton>(this, 1012);
    m_brightnessUpButton = controlAs<QPushButton>(this, 1011);
    m_pageFrame = controlAs<QGroupBox>(this, 1018);
    m_recolorStrip = controlAs<QLabel>(this, 1017);
    m_typeCombo = controlAs<QComboBox>(this, 1014);
    m_brightnessEdit = controlAs<QLineEdit>(this, 1010);
    m_exportButton = controlAs<QPushButton>(this, 1006);
    m_showExampleCheck = controlAs<QRadioButton>(this, 1007);
    m_showAllCheck = controlAs<QRadioButton>(this, 1008);
    m_preview = controlAs<PreviewPane>(this, 1005);
    m_tabs = controlAs<QTabBar>(this, 1000);
}

void MainDialog::OnInitDialog() {
    // The system menu's About entry lives in the dialog's context menu here (contextMenu()).
    m_contextMenu = new QMenu(this);

    setWindowIcon(m_hIcon);
    for (const PageInfo& page : kPages) m_tabs->addTab(QString::fromLatin1(page.caption));
    m_currentPage = PagePath;
    m_brightness.fill(0);
    m_showExampleCheck->setChecked(true);

    m_windowPort = std::make_unique<QtWindowPort>(m_preview);
    m_display = createDisplay(2, m_windowPort.get(), 1);
    if (m_display) m_display->setMode(kPreviewWidth, kPreviewHeight, kDisplayDepth, 0);
    m_spriteStore = acquireSpriteStore(m_display.get());
    m_grassSprite = m_spriteStore ? m_spriteStore->getSprite("grass.pcx") : nullptr;

    m_brightnessEdit->setText(QStringLiteral("0"));
    readTypeLists();
    fillTypeCombo(PagePath);

    m_stringTablePage = new StringTableDialog(this);
    createProtectedChecks();
}

// One box under each block of the strip, in a row just below it, in
// line with the "Protected:" label.
void MainDialog::createProtectedChecks() {
    const QRect strip = m_recolorStrip->geometry();
    QLabel* label = nullptr;
    for (QLabel* candidate : findChildren<QLabel*>(Qt::FindDirectChildrenOnly)) {
        if (candidate->text() == QStringLiteral("Protected:")) label = candidate;
    }
    const int height = 16;
    int top = strip.bottom() + 1;
    if (label) top = std::max(top, label->geometry().center().y() - height / 2);
    QRect box(strip.left() + 1, top, kStripBlockWidth, height);  // +1: the strip's border
    for (int ramp = 0; ramp < kRampCount; ++ramp) {
        auto* check = new QCheckBox(this);
        check->setProperty(kControlIdProperty, kFirstProtectedCheckId + ramp);
        check->setGeometry(box);
        check->setEnabled(true);
        check->show();
        m_protectedChecks[std::size_t(ramp)] = check;
        box.translate(kStripBlockWidth, 0);
    }
}

void MainDialog::readTypeLists() { m_typeLists = trellisor::readTypeLists(m_workingDirectory); }

void MainDialog::fillTypeCombo(int page) {
    if (page < 0 || page >= kPageCount) return;
    QSignalBlocker quiet(m_typeCombo);  // selecting by program loads nothing
    m_typeCombo->clear();
    for (const TypeEntry& entry : m_typeLists[std::size_t(page)]) {
        m_typeCombo->addItem(fromWindows1252(entry.name));
    }
    m_typeCombo->setCurrentIndex(m_typeCombo->count() > 0 ? 0 : -1);
}

void MainDialog::onMessage(int eventType, std::function<void(QEvent*)> handler) {
    m_messageHandlers[eventType] = std::move(handler);
}

// The message map, in the order of the editor's table.
void MainDialog::connectMessageMap() {
    onMessage(QEvent::ContextMenu, [this](QEvent* e) {  // the system menu
        contextMenu()->exec(static_cast<QContextMenuEvent*>(e)->globalPos());
    });
    onMessage(QEvent::Paint, [this](QEvent* e) { OnPaint(static_cast<QPaintEvent*>(e)); });
    // The drag icon of a minimised window is the window icon (set at init).
    connect(m_tabs, &QTabBar::currentChanged, this, &MainDialog::OnSelchangeTabs);
    connect(m_exportButton, &QPushButton::clicked, this, &MainDialog::OnExportType);
    connect(controlAs<QPushButton>(this, 1002), &QPushButton::clicked, this, &MainDialog::OnLoad);
    connect(m_showExampleCheck, &QRadioButton::clicked, this, &MainDialog::OnShowExample);
    connect(m_showAllCheck, &QRadioButton::clicked, this, &MainDialog::OnShowAll);
    connect(m_brightnessUpButton, &QPushButton::clicked, this, &MainDialog::OnBrightnessUp);
    connect(m_brightnessDownButton, &QPushButton::clicked, this, &MainDialog::OnBrightnessDown);
    connect(m_typeCombo, &QComboBox::activated, this, &MainDialog::OnSelchangeTypeCombo);
    onMessage(QEvent::MouseButtonRelease, [this](QEvent* e) {
        auto* mouse = static_cast<QMouseEvent*>(e);
        QDialog::mouseReleaseEvent(mouse);
        if (mouse->button() == Qt::LeftButton) OnLButtonUp(mouse->position().toPoint());
    });
    connect(m_setButton, &QPushButton::clicked, this, &MainDialog::OnProtectedSet);
    connect(m_clearButton, &QPushButton::clicked, this, &MainDialog::OnProtectedClear);
    connect(m_toggleButton, &QPushButton::clicked, this, &MainDialog::OnProtectedToggle);
    connect(m_importBitmapButton, &QPushButton::clicked, this, &MainDialog::OnImportBitmap);
    connect(controlAs<QPushButton>(this, 1004), &QPushButton::clicked, this, &MainDialog::OnNew);
    connect(controlAs<QPushButton>(this, 1003), &QPushButton::clicked, this, &MainDialog::OnSave);
    connect(m_addSparklesButton, &QPushButton::clicked, this, &MainDialog::OnAddSparkles);
    connect(m_drawOverSupportsCheck, &QCheckBox::clicked, this, &MainDialog::OnDrawOverSupports);

    // The framework's part: "Exit" is the default OK handling (which asks first, see done).
    connect(controlAs<QPushButton>(this, 1), &QPushButton::clicked, this, &QDialog::accept);
}

bool MainDialog::event(QEvent* event) {
    auto handler = m_messageHandlers.find(int(event->type()));
    if (handler == m_messageHandlers.end()) return QDialog::event(event);
    handler->second(event);
    return true;
}

void MainDialog::showDocument() {
    showObjectStrings();
    m_drawOverSupportsCheck->setChecked(m_object.drawsPathsOverSupports());
    if (isSpritePage(m_currentPage))
        m_brightnessEdit->setText(QString::number(m_brightness[std::size_t(m_currentPage)]));
    m_preview->setToolTip(m_document.iconsNote());  // where the icons are shown
    showTitle();
}

void MainDialog::showTitle() {
    // Set whole, so the toolkit adds nothing of its own.
    if (m_document.fileName().isEmpty())
        return setWindowTitle(QString::fromLatin1(dialogTemplate(102).caption));
    setWindowTitle(QStringLiteral("Visual Trellisor - ") + m_document.fileName() +
                   (m_document.isModified() ? QStringLiteral("*") : QString()));
}

// The icons are not rebuilt here, as the game's editor did before every repaint: every change
// already brings the generated ones up to date (EditorDocument::change), and hand-drawn ones
// are kept (preview/PreviewIcons.h).
void MainDialog::refreshPreview() {
    repaint();  // paints (and presents) before returning
}

void MainDialog::OnPaint(QPaintEvent* event) {
    QDialog::paintEvent(event);
    if (isMinimized() || !m_display) return;
    drawPreviewFrame(m_object, *m_display, m_grassSprite, m_previewMode, m_currentPage);
}

void MainDialog::OnSysCommand(int id) {
    if ((id & 0xFFF0) != kAboutCommand) return;
    AboutDialog about(this, m_document.iconsNote());
    m_ui->runModal(about);
}

void MainDialog::OnViewer() {
    if (!m_viewer) {
        m_viewer = std::make_unique<ViewerWindow>(m_document, *m_preview, [this] {
            return PreviewSettings{m_previewMode, m_currentPage, m_grassSprite};
        });
    }
    m_viewer->show();
    m_viewer->raise();
    m_viewer->activateWindow();
}

void MainDialog::OnHelp() {
    HelpDialog help(this);
    m_ui->runModal(help);
}

}  // namespace trellisor
