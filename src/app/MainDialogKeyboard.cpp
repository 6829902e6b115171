// MainDialog without a mouse: the recolour strip and the eighteen Protected boxes are one tab
// stop each; arrow keys (and Home, End) move within them, Space acts, and a frame shows which
// block of the strip or which box has the focus (the style draws none for a box without text). The strip's
// tooltips name each ramp's colour, and its one-pixel border column (ramp 18) gets a hit area a person can
// hit, beyond the strip's edge.
#include <QCheckBox>
#include <QEvent>
#include <QFrame>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QToolTip>
#include <algorithm>

#include "app/MainDialog.h"
#include "preview/ColourOperations.h"
#include "preview/PixelFacts.h"

namespace trellisor {

namespace {

// Pixels to the right of the strip that still count as its last column (ramp 18).
constexpr int kSpecialColumnReach = 8;

QString stripToolTip(int ramp) {
    return ramp < kRampCount ? QStringLiteral("Recolor to ramp %1: %2").arg(ramp).arg(rampName(ramp))
                             : QStringLiteral("Recolor to ramp %1 (the special colours)").arg(ramp);
}

}  // namespace

QRect MainDialog::stripHitArea() const {
    return m_recolorStrip->geometry().adjusted(0, 0, kSpecialColumnReach, 0);
}

int MainDialog::rampAtStripPoint(QPoint point) const {
    return rampOfStripClick(point.x() - stripHitArea().left());
}

void MainDialog::setUpKeyboardAccess() {
    m_recolorStrip->setFocusPolicy(Qt::TabFocus);
    m_recolorStrip->installEventFilter(this);
    m_focusMark = new QFrame(this);
    m_focusMark->setObjectName(QStringLiteral("keyboardFocusMark"));
    m_focusMark->setFrameStyle(QFrame::Box | QFrame::Plain);
    m_focusMark->setLineWidth(2);
    m_focusMark->setAttribute(Qt::WA_TransparentForMouseEvents);
    QPalette marked = m_focusMark->palette();
    marked.setColor(QPalette::WindowText, marked.color(QPalette::Highlight));
    m_focusMark->setPalette(marked);
    m_focusMark->hide();
    for (int ramp = 0; ramp < kRampCount; ++ramp) {
        QCheckBox* box = m_protectedChecks[std::size_t(ramp)];
        box->setFocusPolicy(ramp == 0 ? Qt::StrongFocus : Qt::ClickFocus);
        box->setToolTip(QStringLiteral("Protect ramp %1: %2").arg(ramp).arg(rampName(ramp)));
        box->installEventFilter(this);
    }
}

void MainDialog::showKeyboardFocus() {
    const QRect strip = m_recolorStrip->geometry();
    const auto box = std::find_if(m_protectedChecks.begin(), m_protectedChecks.end(),
                                  [](const QCheckBox* b) { return b->hasFocus(); });
    if (box != m_protectedChecks.end()) {
        m_focusMark->setGeometry((*box)->geometry().adjusted(-1, -1, 1, 1));
    } else if (!m_recolorStrip->hasFocus()) {
        return m_focusMark->hide();
    } else if (m_stripRamp < kRampCount) {  // inside the one-pixel border
        const int x = strip.left() + 1 + kStripBlockWidth * m_stripRamp;
        m_focusMark->setGeometry(x - 1, strip.top() - 2, kStripBlockWidth + 2, strip.height() + 4);
    } else {
        m_focusMark->setGeometry(strip.right() - 1, strip.top() - 2, kSpecialColumnReach + 2,
                                 strip.height() + 4);
    }
    m_focusMark->raise();
    m_focusMark->show();
}

bool MainDialog::stripOrBoxKey(QObject* watched, QEvent* event) {
    const bool strip = watched == m_recolorStrip;
    const auto box = std::find(m_protectedChecks.begin(), m_protectedChecks.end(), watched);
    if (!strip && box == m_protectedChecks.end()) return false;
    if (event->type() == QEvent::FocusIn || event->type() == QEvent::FocusOut) showKeyboardFocus();
    if (!strip && event->type() == QEvent::FocusIn)  // the box last used is the group's tab stop
        for (QCheckBox* b : m_protectedChecks)
            b->setFocusPolicy(b == *box ? Qt::StrongFocus : Qt::ClickFocus);
    if (event->type() != QEvent::KeyPress) return false;
    const int key = static_cast<QKeyEvent*>(event)->key();
    const int last = strip ? kRampCount : kRampCount - 1;  // the strip has ramp 18 after its blocks
    int at = strip ? m_stripRamp : int(box - m_protectedChecks.begin());
    switch (key) {
        case Qt::Key_Left:
            at = std::max(at - 1, 0);
            break;
        case Qt::Key_Right:
            at = std::min(at + 1, last);
            break;
        case Qt::Key_Home:
            at = 0;
            break;
        case Qt::Key_End:
            at = last;
            break;
        case Qt::Key_Space:
            if (!strip) return false;  // a box toggles itself
            recolourPageTo(m_stripRamp);
            return true;
        default:
            return false;
    }
    if (strip) {
        m_stripRamp = at;
        showKeyboardFocus();
        QToolTip::showText(m_recolorStrip->mapToGlobal(QPoint(0, m_recolorStrip->height())), stripToolTip(at),
                           m_recolorStrip);
    } else {
        m_protectedChecks[std::size_t(at)]->setFocus(Qt::TabFocusReason);
    }
    return true;
}

bool MainDialog::showStripToolTip(QHelpEvent* help) {
    const QRect area = stripHitArea();
    if (!m_recolorStrip->isVisible() || !area.contains(help->pos())) return false;
    QToolTip::showText(help->globalPos(), stripToolTip(rampAtStripPoint(help->pos())), this, area);
    return true;
}

}  // namespace trellisor
