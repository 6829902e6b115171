// The four dialog templates and the helper that turns a template into widgets.
#include "app/DialogTemplates.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFontInfo>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabBar>
#include <array>

#include "app/AppArt.h"
#include "app/PreviewPane.h"

namespace trellisor {

namespace {

using K = ControlKind;
namespace S = ControlStyle;

// Template 102, the main dialog, in template order.
constexpr std::array<ControlTemplate, 27> kMainControls = {{
    {1, K::PushButton, S::Default, 263, 7, 50, 12, "Exit"},
    {1000, K::TabControl, S::HotTrack, 7, 31, 306, 15, ""},
    {1002, K::PushButton, S::None, 7, 7, 53, 12, "Load"},
    {1003, K::PushButton, S::None, 64, 7, 53, 12, "Save"},
    {1004, K::PushButton, S::None, 121, 7, 53, 12, "New"},
    {1005, K::BlackRect, S::None, 39, 52, 246, 159, ""},
    {1006, K::PushButton, S::None, 236, 300, 69, 13, "Export Path Type"},
    {1018, K::GroupBox, S::Flat, 7, 41, 306, 287, ""},
    {1007, K::RadioButton, S::Group, 208, 218, 84, 12, "Show Example Path"},
    {1008, K::RadioButton, S::Group, 208, 233, 104, 12, "Show all Path Elements"},
    {-1, K::Text, S::None, 14, 289, 41, 9, "Brightness:"},
    {1010, K::Edit, S::ReadOnly | S::Number | S::Centre | S::Border, 36, 300, 22, 13, ""},
    {1011, K::PushButton, S::None, 60, 300, 13, 13, ">"},
    {1012, K::PushButton, S::None, 20, 300, 13, 13, "<"},
    {-1, K::Text, S::None, 16, 224, 51, 10, "Set Path Type:"},
    {1014, K::DropList, S::VScroll, 67, 223, 126, 48, ""},
    {-1, K::Text, S::None, 16, 252, 34, 9, "Recolor:"},
    {1017, K::Bitmap, S::Border, 59, 251, 181, 12, "", kStripBitmapResource},
    {-1, K::Text, S::None, 16, 267, 37, 9, "Protected:"},
    {1022, K::PushButton, S::None, 242, 264, 19, 11, "Set"},
    {1023, K::PushButton, S::None, 263, 264, 19, 11, "Clear"},
    {1024, K::PushButton, S::None, 284, 264, 26, 11, "Toggle"},
    {-1, K::Text, S::None, 250, 254, 54, 8, "All Checkboxes:"},
    {1025, K::PushButton, S::None, 84, 300, 69, 13, "Import Bitmap"},
    {-1, K::Text, S::None, 85, 315, 193, 9, "Import Bitmaps doesn't affect stairs/ramps."},
    {1026, K::PushButton, S::None, 167, 300, 55, 13, "Add Sparkles"},
    {1027, K::CheckBox, S::None, 84, 288, 106, 9, "Draw Paths over Supports"},
}};

// Template 100, the About box.
constexpr std::array<ControlTemplate, 3> kAboutControls = {{
    {-1, K::Icon, S::None, 11, 17, 20, 20, "", kAboutIconResource},
    {-1, K::Text, S::None, 40, 10, 119, 8, "trellisor Version 1.0"},
    {1, K::PushButton, S::Default | S::Group, 178, 7, 50, 14, "OK"},
}};

// Template 131, the name prompt.
constexpr std::array<ControlTemplate, 4> kNameControls = {{
    {1013, K::Text, S::None, 7, 7, 65, 13, "Enter Path Name:"},
    {1012, K::Edit, S::Border | S::AutoHScroll, 27, 27, 122, 21, ""},
    {1, K::PushButton, S::Default, 35, 74, 50, 14, "OK"},
    {2, K::PushButton, S::None, 97, 74, 50, 14, "Cancel"},
}};

// Template 138, the String Table page: per row a label, the edit 1019 + 2i and
// "To All" 1020 + 2i.
constexpr std::array<const char*, 12> kLanguageLabels = {
    "British:", "American:", "French:", "German:",  "Spanish:", "Italian:",
    "Dutch:",   "Swedish:",  "Korean:", "Chinese:", "Chinese:", "Portugese:"};

constexpr std::array<ControlTemplate, 36> makeStringTableControls() {
    std::array<ControlTemplate, 36> controls{};
    for (int i = 0; i < 12; ++i) {
        const int top = 7 + 15 * i;
        controls[std::size_t(3 * i)] = {-1,  K::Text, S::VCentre, 7,
                                        top, 44,      12,         kLanguageLabels[std::size_t(i)]};
        controls[std::size_t(3 * i + 1)] = {1019 + 2 * i, K::Edit, S::Border | S::AutoHScroll, 57, top, 194,
                                            12,           ""};
        controls[std::size_t(3 * i + 2)] = {1020 + 2 * i, K::PushButton, S::None, 259, top, 36, 12, "To All"};
    }
    return controls;
}
constexpr std::array<ControlTemplate, 36> kStringTableControls = makeStringTableControls();

constexpr const char* kDialogFont = "MS Sans Serif";

const DialogTemplate kTemplates[] = {
    {102, "Visual Trellisor", 320, 335, kDialogFont, 8, kMainControls},
    {100, "About trellisor", 235, 55, kDialogFont, 8, kAboutControls},
    {131, "Enter Name", 186, 95, kDialogFont, 8, kNameControls},
    {138, "", 310, 261, kDialogFont, 8, kStringTableControls},
};

// Radio buttons that each start a group of their own: the system never clears
// one when another is pressed, and pressing a checked one keeps it checked.
class GroupRadioButton : public QRadioButton {
public:
    using QRadioButton::QRadioButton;

protected:
    void nextCheckState() override { setChecked(true); }
};

QWidget* createControl(QWidget* parent, const ControlTemplate& c, const DialogUnits& units) {
    const QString text = QString::fromLatin1(c.text);
    const QRect rect = units.toPixels(c.x, c.y, c.width, c.height);
    QWidget* widget = nullptr;
    switch (c.kind) {
        case K::PushButton: {
            auto* button = new QPushButton(text, parent);
            button->setDefault(c.style & S::Default);
            widget = button;
            break;
        }
        case K::TabControl: {
            auto* tabs = new QTabBar(parent);
            tabs->setExpanding(false);
            tabs->setDrawBase(false);
            tabs->setMouseTracking(c.style & S::HotTrack);
            widget = tabs;
            break;
        }
        case K::BlackRect:
            widget = new PreviewPane(parent);
            break;
        case K::GroupBox: {
            auto* box = new QGroupBox(text, parent);
            box->setFlat(false);
            box->setAttribute(Qt::WA_TransparentForMouseEvents);
            widget = box;
            break;
        }
        case K::RadioButton: {
            auto* radio = new GroupRadioButton(text, parent);
            radio->setAutoExclusive(false);
            widget = radio;
            break;
        }
        case K::CheckBox:
            widget = new QCheckBox(text, parent);
            break;
        case K::Text: {
            auto* label = new QLabel(text, parent);
            label->setAlignment(Qt::AlignLeft | ((c.style & S::VCentre) ? Qt::AlignVCenter : Qt::AlignTop));
            label->setWordWrap(true);
            widget = label;
            break;
        }
        case K::Edit: {
            auto* edit = new QLineEdit(parent);
            edit->setReadOnly(c.style & S::ReadOnly);
            if (c.style & S::Centre) edit->setAlignment(Qt::AlignCenter);
            edit->setFrame(c.style & S::Border);
            widget = edit;
            break;
        }
        case K::DropList: {
            auto* combo = new QComboBox(parent);
            combo->setEditable(false);
            // The template's height is the dropped-down list's.
            combo->setMaxVisibleItems(std::max(1, rect.height() / std::max(1, units.baseY) - 1));
            widget = combo;
            break;
        }
        case K::Bitmap:
        case K::Icon: {
            auto* label = new QLabel(parent);
            QPixmap pixmap =
                c.kind == K::Bitmap ? resourceBitmap(c.resource) : resourceIconPixmap(c.resource);
            label->setPixmap(pixmap);
            // A static picture takes no mouse input: clicks reach the dialog.
            label->setAttribute(Qt::WA_TransparentForMouseEvents);
            int border = 0;
            if (c.style & S::Border) {
                label->setFrameStyle(QFrame::Box | QFrame::Plain);
                label->setLineWidth(1);
                border = 1;
            }
            // The frame's width is the label's contents margin: the picture lies inside the border.
            // Shown at its natural size: the control takes the image's size plus its border.
            label->setGeometry(rect.x(), rect.y(), pixmap.width() + 2 * border, pixmap.height() + 2 * border);
            label->setProperty(kControlIdProperty, c.id);
            return label;
        }
    }
    widget->setProperty(kControlIdProperty, c.id);
    if (c.kind == K::DropList) {
        widget->setGeometry(rect.x(), rect.y(), rect.width(), widget->sizeHint().height());
    } else {
        widget->setGeometry(rect);
    }
    return widget;
}

}  // namespace

const DialogTemplate& dialogTemplate(int id) {
    for (const auto& t : kTemplates) {
        if (t.id == id) return t;
    }
    return kTemplates[0];
}

DialogUnits dialogBaseUnits(const QFont& font) {
    QFontMetrics metrics(font);
    DialogUnits units;
    const int letters =
        metrics.horizontalAdvance(QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
    units.baseX = std::max(1, (letters / 26 + 1) / 2);
    units.baseY = std::max(1, metrics.height());
    return units;
}

QFont dialogFont(const DialogTemplate& dialog) {
    QFont font(QString::fromLatin1(dialog.fontName));
    font.setPointSize(dialog.pointSize);
    font.setStyleHint(QFont::SansSerif);
    return font;
}

DialogUnits buildDialog(QWidget* window, const DialogTemplate& dialog) {
    QFont font = dialogFont(dialog);
    window->setFont(font);
    const DialogUnits units = dialogBaseUnits(font);
    if (dialog.caption[0] != '\0') window->setWindowTitle(QString::fromLatin1(dialog.caption));
    window->setFixedSize(units.toPixelsX(dialog.width), units.toPixelsY(dialog.height));
    for (const auto& control : dialog.controls) {
        QWidget* widget = createControl(window, control, units);
        // The page frame lies under everything drawn inside it.
        if (control.kind == K::GroupBox) widget->lower();
    }
    return units;
}

QWidget* findControl(const QWidget* window, int id) {
    for (QWidget* child : window->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        QVariant value = child->property(kControlIdProperty);
        if (value.isValid() && value.toInt() == id) return child;
    }
    return nullptr;
}

}  // namespace trellisor
