#pragma once

#include <functional>

#include <QWidget>

namespace verada {

// The native child window Ogre renders into; Qt must not paint over the GL image.
class RenderView : public QWidget {
    Q_OBJECT

  public:
    explicit RenderView(QWidget* parent);

    QPaintEngine* paintEngine() const override { return nullptr; }

    std::function<void()> onPaint;
    std::function<void()> onResize;
    std::function<void(QMouseEvent*)> onMouseMove;
    std::function<void(QMouseEvent*)> onMouseRelease;
    std::function<void(QWheelEvent*)> onWheel;

  protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
};

}  // namespace verada
