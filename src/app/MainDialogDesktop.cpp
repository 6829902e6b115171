// MainDialog: the desktop habits around the commands — keys that do not close
// the window, the one way out, shortcuts, the context menu with undo, the
// recent files, the sprite folder commands, Rebuild Icons and the Viewer, dropped files, the
// strip's tooltips and the Tab order.
#include <QAbstractButton>
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDropEvent>
#include <QFileInfo>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QRadioButton>
#include <QShortcut>
#include <QTabBar>
#include <QUrl>

#include "app/DialogTemplates.h"
#include "app/EditorSettings.h"
#include "app/MainDialog.h"
#include "app/StringTableDialog.h"
#include "preview/ColourOperations.h"
#include "preview/PreviewIcons.h"

namespace trellisor {

namespace {

// Controls whose Return and Esc belong to them, not to the window.
bool takesInput(const QWidget* widget) {
    if (qobject_cast<const QLineEdit*>(widget) || qobject_cast<const QComboBox*>(widget)) return true;
    const auto* button = qobject_cast<const QAbstractButton*>(widget);
    return button && button->isCheckable();
}

bool isUndoOrRedo(const QKeyEvent* key) {
    return key->matches(QKeySequence::Undo) || key->matches(QKeySequence::Redo) ||
           QKeySequence(key->keyCombination()) == QKeySequence(Qt::CTRL | Qt::Key_Y);
}

// The local object file a drag brings, or nothing.
QString draggedObjectFile(const QMimeData* mime) {
    if (!mime || mime->urls().size() != 1) return QString();
    const QUrl url = mime->urls().front();
    if (!url.isLocalFile() ||
        QFileInfo(url.toLocalFile()).suffix().compare(QLatin1String("DAT"), Qt::CaseInsensitive))
        return QString();
    return url.toLocalFile();
}

}  // namespace

void MainDialog::keyPressEvent(QKeyEvent* event) {
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    const bool escape = event->matches(QKeySequence::Cancel);
    if (!enter && !escape) return QDialog::keyPressEvent(event);
    event->accept();
    // Return never ends the editor (a push button answers it itself); Esc is the
    // window's only when no edit, box or list has the focus.
    if (enter || takesInput(focusWidget())) return;
    reject();
}

void MainDialog::done(int result) {
    if (!mayDiscardChanges()) return;
    unlinkSpriteFolder();
    saveWindowPosition(pos());
    QDialog::done(result);
}

// The edits' own undo would make a second history: Ctrl+Z and its kin go to the document's.
bool MainDialog::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::ShortcutOverride && isUndoOrRedo(static_cast<QKeyEvent*>(event)))
        return true;
    if (stripOrBoxKey(watched, event)) return true;
    return QDialog::eventFilter(watched, event);
}

void MainDialog::createShortcuts() {
    auto shortcut = [this](QKeySequence keys, void (MainDialog::*handler)()) {
        connect(new QShortcut(keys, this), &QShortcut::activated, this, handler);
    };
    shortcut(QKeySequence(Qt::CTRL | Qt::Key_O), &MainDialog::OnLoad);
    shortcut(QKeySequence(Qt::CTRL | Qt::Key_S), &MainDialog::OnSave);
    shortcut(QKeySequence(Qt::CTRL | Qt::Key_N), &MainDialog::OnNew);
    shortcut(QKeySequence(Qt::Key_F1), &MainDialog::OnHelp);

    m_undoAction = m_document.history().createUndoAction(this, QStringLiteral("Undo"));
    m_undoAction->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
    m_redoAction = m_document.history().createRedoAction(this, QStringLiteral("Redo"));
    m_redoAction->setShortcuts(
        {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y)});
    for (QAction* action : {m_undoAction, m_redoAction}) {
        addAction(action);  // the keys work without the menu
        connect(action, &QAction::triggered, this, &MainDialog::refreshPreview);
    }
    m_exportSpritesAction = new QAction(QString::fromUtf8("Export Sprites\u2026"), this);
    m_exportSpritesAction->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_E));
    connect(m_exportSpritesAction, &QAction::triggered, this, &MainDialog::OnExportSprites);
    m_importSpritesAction = new QAction(QString::fromUtf8("Import Sprites\u2026"), this);
    m_importSpritesAction->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_I));
    connect(m_importSpritesAction, &QAction::triggered, this, &MainDialog::OnImportSprites);
    m_linkAction = new QAction(QString::fromUtf8("Link Sprite Folder\u2026"), this);
    m_linkAction->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_L));
    connect(m_linkAction, &QAction::triggered, this, &MainDialog::OnLinkSpriteFolder);
    m_unlinkAction = new QAction(QStringLiteral("Unlink Sprite Folder"), this);
    connect(m_unlinkAction, &QAction::triggered, this, &MainDialog::OnUnlinkSpriteFolder);
    m_viewerAction = new QAction(QString::fromUtf8("Viewer\u2026"), this);
    m_viewerAction->setShortcut(QKeySequence(Qt::Key_F4));
    connect(m_viewerAction, &QAction::triggered, this, &MainDialog::OnViewer);
    addActions({m_exportSpritesAction, m_importSpritesAction, m_linkAction, m_viewerAction});
    m_rebuildIconsAction = new QAction(QStringLiteral("Rebuild Icons"), this);
    connect(m_rebuildIconsAction, &QAction::triggered, this, &MainDialog::OnRebuildIcons);
    for (QLineEdit* edit : findChildren<QLineEdit*>()) edit->installEventFilter(this);
}

QMenu* MainDialog::contextMenu() {
    m_contextMenu->clear();
    m_contextMenu->addAction(m_undoAction);
    m_contextMenu->addAction(m_redoAction);
    m_contextMenu->addSeparator();
    const QStringList files = recentFiles();
    for (int i = 0; i < files.size(); ++i) {
        const QString path = files[i];
        m_contextMenu->addAction(QStringLiteral("&%1 %2").arg(i + 1).arg(path), this,
                                 [this, path] { openDroppedOrRecentFile(path); });
    }
    if (!files.isEmpty()) m_contextMenu->addSeparator();
    // The system menu's About entry lives here, beside the page's sprites out and in and the Viewer.
    m_contextMenu->addAction(m_exportSpritesAction);
    m_contextMenu->addAction(m_importSpritesAction);
    m_contextMenu->addAction(m_linkedFolder ? m_unlinkAction : m_linkAction);
    // Offered while an icon is hand-drawn: generated icons follow the sprites already.
    m_rebuildIconsAction->setEnabled(!m_document.iconsNote().isEmpty());
    m_contextMenu->addAction(m_rebuildIconsAction);
    m_contextMenu->addAction(m_viewerAction);
    m_contextMenu->addAction(QStringLiteral("&About trellisor..."), this,
                             [this] { OnSysCommand(kAboutCommand); });
    return m_contextMenu;
}

void MainDialog::OnRebuildIcons() {
    (void)m_document.change(QStringLiteral("Rebuild Icons"), [](PathObject& object) {
        composePreviewIcons(object);
        return Status::ok();
    });
    refreshPreview();
}

void MainDialog::openDroppedOrRecentFile(const QString& path) {
    if (!mayDiscardChanges()) return;
    openObjectFile(path, QFileInfo(path).fileName());
}

void MainDialog::connectDocument() {
    connect(&m_document, &EditorDocument::stateReplaced, this, &MainDialog::showDocument);
    connect(&m_document, &EditorDocument::stateReplaced, this, &MainDialog::writeBackToFolder);
    connect(&m_document, &EditorDocument::titleChanged, this, &MainDialog::showTitle);
    connect(m_stringTablePage, &StringTableDialog::textEdited, this,
            [this](int row) { m_document.setText(row, m_stringTablePage->text(row)); });
    connect(m_stringTablePage, &StringTableDialog::copiedToAll, this,
            [this] { m_document.setTexts(QStringLiteral("To All"), m_stringTablePage->texts()); });

    setAcceptDrops(true);
    onMessage(QEvent::DragEnter, [](QEvent* e) {
        auto* drag = static_cast<QDragEnterEvent*>(e);
        if (draggedObjectFile(drag->mimeData()).isEmpty()) return drag->ignore();
        drag->acceptProposedAction();
    });
    onMessage(QEvent::Drop, [this](QEvent* e) {
        auto* drop = static_cast<QDropEvent*>(e);
        const QString path = draggedObjectFile(drop->mimeData());
        if (path.isEmpty()) return drop->ignore();
        drop->acceptProposedAction();
        // Opened once the drop is over: the question must not hold the dragging program.
        QMetaObject::invokeMethod(
            this, [this, path] { openDroppedOrRecentFile(path); }, Qt::QueuedConnection);
    });
    onMessage(QEvent::ToolTip, [this](QEvent* e) {
        if (!showStripToolTip(static_cast<QHelpEvent*>(e))) QDialog::event(e);
    });
}

// Top-left to bottom-right, row by row as the template lays the controls out.
void MainDialog::setReadingTabOrder() {
    std::vector<QWidget*> order = {controlAs<QWidget>(this, 1002), controlAs<QWidget>(this, 1003),
                                   controlAs<QWidget>(this, 1004), controlAs<QWidget>(this, 1), m_tabs};
    for (int row = 0; row < StringTableDialog::kRows; ++row) {
        order.push_back(m_stringTablePage->m_languageEdits[std::size_t(row)]);
        order.push_back(findControl(m_stringTablePage, 1020 + 2 * row));
    }
    order.insert(order.end(), {m_typeCombo, m_showExampleCheck, m_showAllCheck, m_recolorStrip});
    order.insert(order.end(), m_protectedChecks.begin(), m_protectedChecks.end());
    order.insert(order.end(), {m_setButton, m_clearButton, m_toggleButton, m_drawOverSupportsCheck,
                               m_brightnessDownButton, m_brightnessEdit, m_brightnessUpButton,
                               m_importBitmapButton, m_addSparklesButton, m_exportButton});
    for (std::size_t i = 1; i < order.size(); ++i) setTabOrder(order[i - 1], order[i]);
}

}  // namespace trellisor
