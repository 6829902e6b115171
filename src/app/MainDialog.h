// The editor's main window: the controls of template 102, the document (path
// object, brightness counters, texts, undo history), the display the preview is
// drawn on, and one handler per command. Handlers are short sequences over the
// object and preview libraries; every change goes through the document.
#pragma once

#include <QDialog>
#include <QIcon>
#include <QPoint>
#include <array>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "app/EditorDocument.h"
#include "app/UiPort.h"
#include "gfx/Display.h"
#include "gfx/Image.h"
#include "object/DescriptorFile.h"
#include "object/PathObject.h"
#include "preview/ColourRamps.h"

class QCheckBox;
class QComboBox;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QAction;
class QMenu;
class QPushButton;
class QRadioButton;
class QTabBar;
class QHelpEvent;
class QKeyEvent;

namespace trellisor {

class PreviewPane;
class QtUiPort;
class QtWindowPort;
class LinkedFolder;
class SpriteStore;
class StringTableDialog;
class ViewerWindow;

// The system-menu command that opens the About box.
inline constexpr int kAboutCommand = 16;
// Ids of the protection checkboxes: 9000 + ramp.
inline constexpr int kFirstProtectedCheckId = 9000;

class MainDialog : public QDialog {
    Q_OBJECT
public:
    // The process's current directory and the real dialogs.
    explicit MainDialog(QWidget* parent = nullptr);
    // A chosen working directory and UI port (tests script the port).
    MainDialog(const std::string& workingDirectory, UiPort& ui, QWidget* parent = nullptr);
    ~MainDialog() override;

    // --- controls of template 102, bound by id ---
    QCheckBox* m_drawOverSupportsCheck = nullptr;            // 1027
    QPushButton* m_addSparklesButton = nullptr;              // 1026
    QPushButton* m_importBitmapButton = nullptr;             // 1025
    QPushButton* m_toggleButton = nullptr;                   // 1024
    QPushButton* m_setButton = nullptr;                      // 1022
    QPushButton* m_clearButton = nullptr;                    // 1023
    QPushButton* m_brightnessDownButton = nullptr;           // 1012
    QPushButton* m_brightnessUpButton = nullptr;             // 1011
    QGroupBox* m_pageFrame = nullptr;                        // 1018
    QLabel* m_recolorStrip = nullptr;                        // 1017, bitmap 137
    QComboBox* m_typeCombo = nullptr;                        // 1014
    QLineEdit* m_brightnessEdit = nullptr;                   // 1010
    QPushButton* m_exportButton = nullptr;                   // 1006
    QRadioButton* m_showExampleCheck = nullptr;              // 1007
    QRadioButton* m_showAllCheck = nullptr;                  // 1008
    PreviewPane* m_preview = nullptr;                        // 1005
    QTabBar* m_tabs = nullptr;                               // 1000
    std::array<QCheckBox*, kRampCount> m_protectedChecks{};  // 9000 + ramp
    QIcon m_hIcon;                                           // icon 130

    // --- editor state ---
    std::unique_ptr<QtWindowPort> m_windowPort;  // the display's window: the preview pane
    std::unique_ptr<Display> m_display;
    SpriteStore* m_spriteStore = nullptr;  // one reference on the shared store
    Image* m_grassSprite = nullptr;        // borrowed from the store; may be null
    EditorDocument m_document;
    PathObject& m_object = m_document.m_object;  // changed only through m_document
    std::string m_workingDirectory;
    StringTableDialog* m_stringTablePage = nullptr;
    int m_previewMode = 0;
    BrightnessCounters& m_brightness = m_document.m_brightness;  // changed only through m_document
    int m_currentPage = 0;
    std::array<std::string, kPageCount> m_descriptorFileNames;
    std::array<std::vector<TypeEntry>, kPageCount> m_typeLists;

    // --- set-up ---
    void fillTypeCombo(int page);
    void refreshPreview();
    // Loads an object file as Load does once the file is chosen (also the
    // command-line argument, a dropped file and a recent file). A file that
    // cannot be read is reported and the open object stays.
    void openObjectFile(const QString& path, const QString& fileName);
    // The document's texts in the String Table page's edits.
    void showObjectStrings();
    // The check state of the eighteen protection boxes.
    ProtectedRamps protectedRamps() const;
    bool isRampProtected(int ramp) const;
    // The dialog's context menu, brought up to date: Undo, Redo, the recent files,
    // the sprite commands, Rebuild Icons and the About entry of the system menu.
    QMenu* contextMenu();
    // With unsaved changes asks "Save changes to NAME?": true when the changes were
    // saved or may be dropped, false on Cancel or when the save did not happen.
    bool mayDiscardChanges();
    // The line under the page that says what Export, Import and the linked folder did.
    QLabel* m_statusLine = nullptr;
    QString statusLine() const;  // its whole text (the label may show it shortened)
    // The linked sprite folder, or null (MainDialogLink.cpp).
    LinkedFolder* linkedFolder() const { return m_linkedFolder.get(); }

    // --- pages ---
    void showPathPage();
    void showPathRailingsPage();
    void showQueuePage();
    void showQueueRailingsPage();
    void showSupportsPage();
    void showStringTablePage();
    void showEditorControls(bool enable, bool show);

    // --- the message map's handlers ---
    void OnSysCommand(int id);
    void OnPaint(QPaintEvent* event);
    void OnSelchangeTabs();
    void OnExportType();
    void OnLoad();
    void OnShowExample();
    void OnShowAll();
    void OnBrightnessUp();
    void OnBrightnessDown();
    void OnSelchangeTypeCombo();
    void OnLButtonUp(QPoint point);
    void OnProtectedSet();
    void OnProtectedClear();
    void OnProtectedToggle();
    void OnImportBitmap();
    void OnNew();
    void OnSave();
    void OnAddSparkles();
    void OnDrawOverSupports();
    void OnHelp();
    // Beyond the message map: sprites out to a folder of pictures and back (MainDialogSprites.cpp).
    void OnExportSprites();
    void OnImportSprites();
    // Beyond the message map: hand-drawn icons replaced by generated ones, one undo step.
    void OnRebuildIcons();
    // The Viewer window (F4): opened, or brought to the front.
    void OnViewer();
    ViewerWindow* viewer() const { return m_viewer.get(); }
    // The linked folder (MainDialogLink.cpp): pictures saved there come in as undo steps,
    // the object's changes go out to it.
    void OnLinkSpriteFolder();
    void OnUnlinkSpriteFolder();

    // The window closes (Exit, Esc on the window, the close box) only once
    // mayDiscardChanges agrees; it remembers its position.
    void done(int result) override;

protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void construct();
    void bindControls();
    void OnInitDialog();
    void createProtectedChecks();
    void readTypeLists();
    void connectMessageMap();
    void onMessage(int eventType, std::function<void(QEvent*)> handler);
    void showPageControls(int page);
    void stepBrightness(int delta);
    // The views of the document: texts, flag box, brightness box, title, preview.
    void showDocument();
    void showTitle();
    bool saveObject();
    void reportFailure(const QString& text);
    void connectDocument();
    void createShortcuts();
    void setReadingTabOrder();
    void openDroppedOrRecentFile(const QString& path);
    // The strip and the Protected boxes by keyboard, the strip's tooltips and hit area
    // (MainDialogKeyboard.cpp).
    void setUpKeyboardAccess();
    QRect stripHitArea() const;
    int rampAtStripPoint(QPoint point) const;
    void showKeyboardFocus();
    bool stripOrBoxKey(QObject* watched, QEvent* event);
    bool showStripToolTip(QHelpEvent* help);
    // The strip's command: the current page's colours moved to ramp.
    void recolourPageTo(int ramp);
    void createStatusLine();
    void showStatus(const QString& text);
    // The sprite folder chooser, starting in the folder used last, which it remembers.
    std::optional<QString> chooseSpriteFolder(const QString& title);
    void showLinkStatus(const QString& what);
    void checkLinkedFolder();
    void writeBackToFolder();
    // Ends the link (Unlink, Load, New, closing); the folder stays as it is.
    void unlinkSpriteFolder();

    std::unique_ptr<QtUiPort> m_ownUi;  // the default port, when none was given
    UiPort* m_ui = nullptr;
    QMenu* m_contextMenu = nullptr;
    QAction* m_undoAction = nullptr;
    QAction* m_redoAction = nullptr;
    QAction* m_exportSpritesAction = nullptr;
    QAction* m_importSpritesAction = nullptr;
    QAction* m_rebuildIconsAction = nullptr;
    QAction* m_viewerAction = nullptr;
    QFrame* m_focusMark = nullptr;  // around the strip's block or the box with the focus
    int m_stripRamp = 0;            // the strip's block the keyboard is on
    std::unique_ptr<ViewerWindow> m_viewer;
    QAction* m_linkAction = nullptr;
    QAction* m_unlinkAction = nullptr;
    std::map<int, std::function<void(QEvent*)>> m_messageHandlers;
    QString m_statusText;
    // Last, so that it goes before the document it writes back from.
    std::unique_ptr<LinkedFolder> m_linkedFolder;
    bool m_updatingFromFolder = false;
};

}  // namespace trellisor
