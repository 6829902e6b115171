// Dialog templates as data (controls with id, kind, style, rectangle in dialog
// units and text) and the helper that builds them into Qt widgets.
#pragma once

#include <QFont>
#include <QRect>
#include <QString>
#include <QWidget>
#include <cstdint>
#include <span>

namespace trellisor {

enum class ControlKind {
    PushButton,
    TabControl,
    BlackRect,  // the preview pane
    GroupBox,
    RadioButton,
    CheckBox,
    Text,
    Edit,
    DropList,
    Bitmap,  // shows a bitmap resource at its natural size
    Icon,    // shows an icon resource at its natural size
};

// Style bits, after the window styles they stand for.
namespace ControlStyle {
inline constexpr std::uint32_t None = 0;
inline constexpr std::uint32_t Default = 1u << 0;  // default push button
inline constexpr std::uint32_t Group = 1u << 1;    // starts a group of its own
inline constexpr std::uint32_t ReadOnly = 1u << 2;
inline constexpr std::uint32_t Number = 1u << 3;       // digits only
inline constexpr std::uint32_t Centre = 1u << 4;       // centred text
inline constexpr std::uint32_t Border = 1u << 5;       // thin border
inline constexpr std::uint32_t AutoHScroll = 1u << 6;  // edit scrolls horizontally
inline constexpr std::uint32_t VScroll = 1u << 7;
inline constexpr std::uint32_t VCentre = 1u << 8;  // text centred vertically
inline constexpr std::uint32_t HotTrack = 1u << 9;
inline constexpr std::uint32_t Flat = 1u << 10;
}  // namespace ControlStyle

struct ControlTemplate {
    int id;  // -1 for labels nobody addresses
    ControlKind kind;
    std::uint32_t style;
    int x, y, width, height;  // dialog units
    const char* text;
    int resource = 0;  // bitmap or icon resource of Bitmap and Icon controls
};

struct DialogTemplate {
    int id;
    const char* caption;  // "" for a child page without caption
    int width, height;    // client area in dialog units
    const char* fontName;
    int pointSize;
    std::span<const ControlTemplate> controls;
};

// Templates 102 (main dialog), 100 (About), 131 (name) and 138 (String Table page).
const DialogTemplate& dialogTemplate(int id);

// A font's dialog base units, measured as the template engine measured them:
// the average width of the 52 letters (rounded) and the font's line height.
struct DialogUnits {
    int baseX = 6;
    int baseY = 13;
    int toPixelsX(int du) const { return (du * baseX + 2) / 4; }
    int toPixelsY(int du) const { return (du * baseY + 4) / 8; }
    QRect toPixels(int x, int y, int width, int height) const {
        return QRect(toPixelsX(x), toPixelsY(y), toPixelsX(width), toPixelsY(height));
    }
};
DialogUnits dialogBaseUnits(const QFont& font);

// The template's font, or the nearest sans serif the system has.
QFont dialogFont(const DialogTemplate& dialog);

// Gives window the template's font, caption and client size and creates every
// control as a child, in template order, each with its `controlId` property.
// Returns the base units used.
DialogUnits buildDialog(QWidget* window, const DialogTemplate& dialog);

// The child of window (not of its child windows) carrying id; null if none.
QWidget* findControl(const QWidget* window, int id);
template <class T>
T* controlAs(const QWidget* window, int id) {
    return qobject_cast<T*>(findControl(window, id));
}

// The name of the dynamic property holding a control's id.
inline constexpr const char* kControlIdProperty = "controlId";

}  // namespace trellisor
