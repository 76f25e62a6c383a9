#include "ui/render_view.h"

#include <QMouseEvent>
#include <QWheelEvent>

namespace verada {

RenderView::RenderView(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_NativeWindow);
    setAttribute(Qt::WA_PaintOnScreen);
    setAttribute(Qt::WA_NoSystemBackground);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
}

void RenderView::paintEvent(QPaintEvent*) {
    if (onPaint) {
        onPaint();
    }
}

void RenderView::resizeEvent(QResizeEvent*) {
    if (onResize) {
        onResize();
    }
}

void RenderView::mouseMoveEvent(QMouseEvent* event) {
    if (onMouseMove) {
        onMouseMove(event);
    }
}

void RenderView::mouseReleaseEvent(QMouseEvent* event) {
    if (onMouseRelease) {
        onMouseRelease(event);
    }
}

void RenderView::wheelEvent(QWheelEvent* event) {
    if (onWheel) {
        onWheel(event);
    }
}

}  // namespace verada
