// ViewerWindow: the layout, following the document, before and after, the status line.
#include "app/ViewerWindow.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QSplitter>
#include <QToolButton>
#include <QVBoxLayout>

#include "app/AppArt.h"
#include "app/EditorDocument.h"
#include "app/EditorSettings.h"
#include "app/PixelView.h"
#include "app/PreviewPane.h"
#include "app/SpriteGallery.h"
#include "app/SpritePanel.h"
#include "preview/PixelFacts.h"

namespace trellisor {

namespace {

constexpr int kDefaultSceneZoom = 2;

QToolButton* toggle(QWidget* parent, const QString& text, const QString& tip, bool on) {
    auto* button = new QToolButton(parent);
    button->setText(text);
    button->setToolTip(tip);
    button->setCheckable(true);
    button->setChecked(on);
    button->setFocusPolicy(Qt::NoFocus);  // the keys stay with the views
    return button;
}

}  // namespace

ViewerWindow::ViewerWindow(EditorDocument& document, PreviewPane& pane,
                           std::function<PreviewSettings()> settings)
    : QWidget(nullptr, Qt::Window), m_document(document), m_pane(pane), m_settings(std::move(settings)) {
    setWindowIcon(resourceIcon(kAppIconResource));
    m_scene = new PixelView(1, 8, this);
    m_gallery = new SpriteGallery(this);
    m_panel = new SpritePanel(this);
    m_status = new QLabel(this);
    m_status->setTextInteractionFlags(Qt::TextSelectableByMouse);

    auto* sprites = new QSplitter(Qt::Vertical, this);
    sprites->addWidget(m_gallery);
    sprites->addWidget(m_panel);
    auto* split = new QSplitter(Qt::Horizontal, this);
    split->addWidget(m_scene);
    split->addWidget(sprites);
    split->setStretchFactor(0, 3);
    split->setStretchFactor(1, 2);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(buildToolBar());
    layout->addWidget(split, 1);
    layout->addWidget(m_status);

    m_scene->overlay = [this](QPainter& painter, const PixelMapping& m) {
        if (!m_anchors->isChecked()) return;
        for (const SpriteDraw& d : shownShot().owners.draws()) drawAnchor(painter, m, QPoint(d.x, d.y));
    };
    connect(m_scene, &PixelView::hovered, this, &ViewerWindow::showScenePixel);
    connect(m_scene, &PixelView::clicked, this, &ViewerWindow::selectScenePixel);
    connect(m_scene, &PixelView::zoomChanged, this, [this](int zoom) {
        m_zoomLabel->setText(QStringLiteral("%1\u00d7").arg(zoom));
        saveViewerZoom(zoom);
    });
    connect(m_gallery, &SpriteGallery::selectionChanged, this, [this](unsigned sprite) {
        m_panel->showSprite(shownObject(), sprite,
                            compare() == Compare::Differences ? &m_document.savedObject() : nullptr);
    });
    connect(m_panel, &SpritePanel::hovered, m_status, &QLabel::setText);
    connect(m_pageChooser, &QComboBox::currentIndexChanged, this, &ViewerWindow::showSprites);
    for (QToolButton* button : {m_grass, m_before, m_differences})
        connect(button, &QToolButton::toggled, this, &ViewerWindow::refresh);
    connect(m_anchors, &QToolButton::toggled, m_scene->viewport(), qOverload<>(&QWidget::update));
    // Every change of the object ends in a refresh of the preview; Save only changes the title.
    connect(&m_pane, &PreviewPane::framePresented, this, &ViewerWindow::refresh);
    connect(&m_document, &EditorDocument::stateReplaced, this, &ViewerWindow::refresh);
    connect(&m_document, &EditorDocument::titleChanged, this, &ViewerWindow::refresh);

    resize(1200, 760);
    if (const auto geometry = savedViewerGeometry()) restoreGeometry(*geometry);
    m_scene->setZoom(savedViewerZoom().value_or(kDefaultSceneZoom));
    m_zoomLabel->setText(QStringLiteral("%1\u00d7").arg(m_scene->zoom()));
    m_scene->setFocus();
}

ViewerWindow::~ViewerWindow() {
    if (isVisible()) saveViewerGeometry(saveGeometry());
}

QWidget* ViewerWindow::buildToolBar() {
    auto* bar = new QWidget(this);
    auto* row = new QHBoxLayout(bar);
    row->setContentsMargins(0, 0, 0, 0);
    m_grass = toggle(bar, tr("Grass"), tr("The scene over grass, or over a checkerboard"), true);
    m_anchors = toggle(bar, tr("Anchors"), tr("Marks the anchor of every sprite drawn"), false);
    m_before = toggle(bar, tr("Before (B)"), tr("The object as last loaded or saved; hold B to look"), false);
    m_differences = toggle(bar, tr("Differences"), tr("Marks the pixels that changed since"), false);
    m_zoomLabel = new QLabel(bar);
    m_pageChooser = new QComboBox(bar);
    m_pageChooser->setFocusPolicy(Qt::NoFocus);
    for (int page = PagePath; page <= PageSupports; ++page)
        m_pageChooser->addItem(QString::fromLatin1(kPages[std::size_t(page)].caption));
    for (QWidget* w :
         std::initializer_list<QWidget*>{m_grass, m_anchors, m_before, m_differences, m_zoomLabel})
        row->addWidget(w);
    row->addStretch(1);
    row->addWidget(new QLabel(tr("Sprites of"), bar));
    row->addWidget(m_pageChooser);
    return bar;
}

ViewerWindow::Compare ViewerWindow::compare() const {
    if (m_holdingB || m_before->isChecked()) return Compare::Before;
    return m_differences->isChecked() ? Compare::Differences : Compare::After;
}

const PathObject& ViewerWindow::shownObject() const {
    return compare() == Compare::Before ? m_document.savedObject() : m_document.m_object;
}

const SceneShot& ViewerWindow::shownShot() const {
    return compare() == Compare::Before ? m_beforeShot : m_after;
}

void ViewerWindow::refresh() {
    if (!isVisible()) return;  // a closed Viewer catches up when it shows again
    const PreviewSettings settings = m_settings();
    if (settings.page != m_mainPage) {  // the Sprites side follows the main window's page
        m_mainPage = settings.page;
        if (isSpritePage(settings.page)) m_pageChooser->setCurrentIndex(settings.page);
    }
    const bool grass = m_grass->isChecked();
    m_after = m_drawer.draw(m_document.m_object, settings, grass);
    // Over grass the Scene shows the main window's frame itself, pixel for pixel.
    if (grass && !m_pane.frame().isNull()) m_after.image = m_pane.frame();
    const Compare c = compare();
    if (c != Compare::After) m_beforeShot = m_drawer.draw(m_document.savedObject(), settings, grass);
    m_scene->setImage(c == Compare::Differences ? differenceImage(m_after.image, m_beforeShot.image)
                                                : shownShot().image);
    showSprites();
    showTitle();
}

void ViewerWindow::showTitle() {
    const QString name = m_document.fileName();
    setWindowTitle(name.isEmpty() ? tr("Viewer")
                                  : tr("Viewer - ") + name +
                                        (m_document.isModified() ? QStringLiteral("*") : QString()));
}

void ViewerWindow::showSprites() {
    const PathObject& obj = shownObject();
    m_gallery->setCells(obj, galleryCells(obj, m_pageChooser->currentIndex()));
    m_panel->showSprite(obj, m_gallery->selectedSprite(),
                        compare() == Compare::Differences ? &m_document.savedObject() : nullptr);
}

void ViewerWindow::showScenePixel(std::optional<QPoint> pixel) {
    const QImage& image = shownShot().image;
    if (!pixel || !image.valid(*pixel)) return m_status->clear();
    const QRgb c = image.pixel(*pixel);
    const RgbQuad shown{std::uint8_t(qBlue(c)), std::uint8_t(qGreen(c)), std::uint8_t(qRed(c)), 0};
    const ScenePixel p = scenePixel(shownShot().owners, pixel->x(), pixel->y(), shown);
    m_status->setText(QString::fromStdString(describeScenePixel(shownObject(), p)));
}

void ViewerWindow::selectScenePixel(QPoint pixel) {
    const PixelOwner owner = shownShot().owners.at(pixel.x(), pixel.y());
    if (owner.source != PixelSource::Sprite) return;
    // Icons show on every page's gallery: the page stays.
    if (const auto page = pageOfSprite(shownObject(), owner.sprite)) m_pageChooser->setCurrentIndex(*page);
    m_gallery->select(owner.sprite);
    m_gallery->setFocus();  // the arrow keys go on from the sprite clicked
}

void ViewerWindow::keyPressEvent(QKeyEvent* event) {
    // Zoom keys the gallery leaves alone zoom the large sprite.
    const int key = event->key();
    if ((event->modifiers() & Qt::ControlModifier) &&
        (key == Qt::Key_Equal || key == Qt::Key_Plus || key == Qt::Key_Minus || key == Qt::Key_0))
        return (void)QCoreApplication::sendEvent(m_panel->view(), event);
    if (event->key() != Qt::Key_B || event->modifiers() != Qt::NoModifier)
        return QWidget::keyPressEvent(event);
    if (!event->isAutoRepeat() && !m_holdingB) {
        m_holdingB = true;
        refresh();
    }
}

void ViewerWindow::keyReleaseEvent(QKeyEvent* event) {
    if (event->key() != Qt::Key_B) return QWidget::keyReleaseEvent(event);
    if (!event->isAutoRepeat()) releaseB();
}

void ViewerWindow::releaseB() {
    if (!m_holdingB) return;
    m_holdingB = false;
    refresh();
}

// A window that loses the keyboard never hears B go up.
void ViewerWindow::changeEvent(QEvent* event) {
    if (event->type() == QEvent::ActivationChange && !isActiveWindow()) releaseB();
    QWidget::changeEvent(event);
}

void ViewerWindow::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    refresh();
}

void ViewerWindow::hideEvent(QHideEvent* event) {
    saveViewerGeometry(saveGeometry());
    releaseB();
    QWidget::hideEvent(event);
}

}  // namespace trellisor
