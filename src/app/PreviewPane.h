// The preview area (control 1005): shows the last frame the display presented
// through the window port, black until the first one; draws nothing else.
#pragma once

#include <QImage>
#include <QWidget>

namespace trellisor {

class PreviewPane : public QWidget {
    Q_OBJECT
public:
    explicit PreviewPane(QWidget* parent = nullptr);

    // The frame presented last (null before the first present).
    const QImage& frame() const { return m_frame; }
    void setFrame(QImage frame);
    int presentCount() const { return m_presentCount; }

signals:
    // A frame was presented (every refresh of the preview ends so).
    void framePresented();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QImage m_frame;
    int m_presentCount = 0;
};

}  // namespace trellisor
