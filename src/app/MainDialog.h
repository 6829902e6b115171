// The editor's main window and whole state: the controls of template 102, the
// path object, the display the preview is drawn on, and one handler per
// command. Handlers are short sequences over the object and preview libraries.
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

#include "app/UiPort.h"
#include "gfx/Display.h"
#include "gfx/Image.h"
#include "object/DescriptorFile.h"
#include "object/PathObject.h"
#include "preview/ColourRamps.h"

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QRadioButton;
class QTabBar;

namespace trellisor {

class PreviewPane;
class QtUiPort;
class QtWindowPort;
class SpriteStore;
class StringTableDialog;

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
    PathObject m_object;
    std::string m_workingDirectory;
    StringTableDialog* m_stringTablePage = nullptr;
    int m_previewMode = 0;
    std::array<int, kPageCount> m_brightness{};
    int m_currentPage = 0;
    std::array<std::string, kPageCount> m_descriptorFileNames;
    std::array<std::vector<TypeEntry>, kPageCount> m_typeLists;

    // --- set-up ---
    void fillTypeCombo(int page);
    void refreshPreview();
    // Loads an object file as Load does once the file is chosen (also the
    // command-line argument at start).
    void openObjectFile(const QString& path, const QString& fileName);
    void showObjectStrings();
    // The check state of the eighteen protection boxes.
    ProtectedRamps protectedRamps() const;
    bool isRampProtected(int ramp) const;
    // The dialog's context menu (holds the About entry of the system menu).
    QMenu* contextMenu() const { return m_contextMenu; }

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

protected:
    bool event(QEvent* event) override;

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
    void followDrawOverSupportsFlag();

    std::unique_ptr<QtUiPort> m_ownUi;  // the default port, when none was given
    UiPort* m_ui = nullptr;
    QMenu* m_contextMenu = nullptr;
    std::map<int, std::function<void(QEvent*)>> m_messageHandlers;
};

}  // namespace trellisor
