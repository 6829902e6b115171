// PreviewPane: an opaque widget, so repainting it never asks the dialog to
// repaint (which would present again and loop).
#include "app/PreviewPane.h"

#include <QPainter>

namespace trellisor {

PreviewPane::PreviewPane(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_NoSystemBackground);
}

void PreviewPane::setFrame(QImage frame) {
    m_frame = std::move(frame);
    ++m_presentCount;
    update();
    emit framePresented();
}

void PreviewPane::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), Qt::black);
    if (!m_frame.isNull()) painter.drawImage(0, 0, m_frame);
}

}  // namespace trellisor
