// SpritePanel: the sprite around its anchor, and its facts.
#include "app/SpritePanel.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>

#include "app/PixelView.h"
#include "app/ViewerScene.h"
#include "preview/PixelFacts.h"
#include "preview/PreviewIcons.h"

namespace trellisor {

namespace {

constexpr int kGridFromZoom = 6;

QString factsText(const PathObject& obj, const SpriteFacts& f) {
    // An icon says whether it follows the sprites or is kept as its author drew it.
    const QString page = f.page ? QString::fromLatin1(kPages[std::size_t(*f.page)].caption)
                         : iconOrigin(obj, f.index) == IconOrigin::HandDrawn
                             ? QStringLiteral("icon: hand-drawn, kept")
                             : QStringLiteral("icon: generated from the sprites");
    return QStringLiteral(
               "<b>Sprite %1</b><br>%2<br>%3 \u00d7 %4 pixels<br>offsets x %5, y %6<br>%7, %8 bytes<br>in a "
               "sprite folder: %9")
        .arg(f.index)
        .arg(page)
        .arg(f.width)
        .arg(f.height)
        .arg(f.xOffset)
        .arg(f.yOffset)
        .arg(QString::fromStdString(spriteFormatName(f.flags)))
        .arg(f.byteCount)
        .arg(QString::fromStdString(f.fileName));
}

}  // namespace

SpritePanel::SpritePanel(QWidget* parent) : QWidget(parent) {
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    m_view = new PixelView(1, 16, this);
    m_view->zoomToFit();
    m_facts = new QLabel(this);
    m_facts->setAlignment(Qt::AlignTop | Qt::AlignLeft);
    m_facts->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_facts->setMinimumWidth(150);
    layout->addWidget(m_view, 1);
    layout->addWidget(m_facts);
    m_view->overlay = [this](QPainter& painter, const PixelMapping& m) {
        if (!m_sprite) return;
        if (m_view->zoom() >= kGridFromZoom) {
            painter.setPen(QColor(0, 0, 0, 60));
            for (int x = m.visible.left(); x <= m.visible.right() + 1; ++x)
                painter.drawLine(m.toDevice({x, m.visible.top()}), m.toDevice({x, m.visible.bottom() + 1}));
            for (int y = m.visible.top(); y <= m.visible.bottom() + 1; ++y)
                painter.drawLine(m.toDevice({m.visible.left(), y}), m.toDevice({m.visible.right() + 1, y}));
        }
        drawAnchor(painter, m, QPoint(-m_box.left, -m_box.top));
    };
    connect(m_view, &PixelView::hovered, this, [this](std::optional<QPoint> p) {
        if (!p || !m_obj || !m_sprite) return emit hovered(QString());
        const SpriteHeader& h = m_obj->m_sprites[*m_sprite];
        emit hovered(QString::fromStdString(describeSpritePixel(
            *m_obj, *m_sprite, p->x() + m_box.left - h.xOffset, p->y() + m_box.top - h.yOffset)));
    });
}

void SpritePanel::showSprite(const PathObject& obj, std::optional<unsigned> sprite,
                             const PathObject* before) {
    m_obj = &obj;
    const auto facts = sprite ? spriteFacts(obj, *sprite) : std::nullopt;
    m_sprite = facts ? sprite : std::nullopt;
    if (!m_sprite) {
        m_facts->setText(QString());
        m_view->setImage(QImage());
        return;
    }
    m_facts->setText(factsText(obj, *facts));
    // The anchor always lies in the picture, so its cross shows however the offsets point.
    m_box = uniteBoxes(spriteBox(obj, *m_sprite), SpriteBox{0, 0, 1, 1});
    if (before) m_box = uniteBoxes(m_box, spriteBox(*before, *m_sprite));
    QImage image = argbImage(spriteColours(obj, *m_sprite, m_box), m_box.width, m_box.height);
    if (before)
        image = differenceImage(
            image, argbImage(spriteColours(*before, *m_sprite, m_box), m_box.width, m_box.height));
    m_view->setImage(image);
}

}  // namespace trellisor
