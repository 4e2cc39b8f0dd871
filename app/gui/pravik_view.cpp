#include "app/gui/pravik_view.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QOpenGLContext>
#include <cmath>
#include <cstdio>

#include "app/gui/pravik_app.h"
#include "scene/frame_driver.h"
#include "scene/gl_setup.h"
#include "scene/view_init.h"

namespace quorbel::gui {

QSurfaceFormat ViewFormat() {
    QSurfaceFormat format;
    format.setRenderableType(QSurfaceFormat::OpenGL);
    format.setProfile(QSurfaceFormat::CompatibilityProfile);
    format.setSwapBehavior(QSurfaceFormat::DoubleBuffer);
    format.setRedBufferSize(8);
    format.setGreenBufferSize(8);
    format.setBlueBufferSize(8);
    format.setAlphaBufferSize(8);
    format.setDepthBufferSize(32);
    format.setStencilBufferSize(8);
    return format;
}

CPravikView::CPravikView(QWidget* parent) : QOpenGLWidget(parent) {
    setFormat(ViewFormat());
    // Keys reach the view once the user clicks into it.
    setFocusPolicy(Qt::ClickFocus);
    setMinimumSize(1, 1);
    CPravikApp::Instance().RegisterView(this);
}

CPravikView::~CPravikView() {
    if (CPravikApp::Instance().RegisteredView() == this) CPravikApp::Instance().RegisterView(nullptr);
}

bool CPravikView::MakeContextCurrent() {
    if (!context() || !context()->isValid()) return false;
    makeCurrent();
    return QOpenGLContext::currentContext() == context();
}

bool CPravikView::ShouldAnimate() const {
    return isVisible() && !window()->isMinimized() && !QApplication::activeModalWidget();
}

void CPravikView::ResumeAnimation() {
    if (ShouldAnimate()) update();
}

int CPravikView::DevicePixels(int logical) const {
    return static_cast<int>(std::lround(logical * devicePixelRatioF()));
}

void CPravikView::initializeGL() {
    PaintScope painting(*this);
    if (!InitialiseView(DevicePixels(width()), DevicePixels(height())))
        std::fprintf(stderr, "quorbel: a start-up picture in Data/ or gfx/ is missing; the scene is only partly set up\n");
    sceneInitialised_ = true;
}

void CPravikView::resizeGL(int width, int height) {
    PaintScope painting(*this);
    ResizeGL(DevicePixels(width), DevicePixels(height));
    update();
}

void CPravikView::paintGL() {
    if (painting_) return;  // never a frame inside a frame
    PaintScope painting(*this);
    RenderFrame();
    CPravikApp::Instance().OnIdle();
}

namespace {

bool ToButton(Qt::MouseButton qtButton, MouseButton& button) {
    if (qtButton == Qt::LeftButton) button = MouseButton::Left;
    else if (qtButton == Qt::RightButton) button = MouseButton::Right;
    else return false;
    return true;
}

}  // namespace

void CPravikView::mousePressEvent(QMouseEvent* event) {
    MouseButton button;
    if (!ToButton(event->button(), button)) return QOpenGLWidget::mousePressEvent(event);
    QPoint point = event->position().toPoint();
    MouseButtonDown(drag_, button, point.x(), point.y());
}

void CPravikView::mouseMoveEvent(QMouseEvent* event) {
    QPoint point = event->position().toPoint();
    DragModifiers modifiers{event->modifiers().testFlag(Qt::ControlModifier),
                            event->modifiers().testFlag(Qt::ShiftModifier)};
    if (MouseMove(drag_, point.x(), point.y(), modifiers)) update();
}

void CPravikView::mouseReleaseEvent(QMouseEvent* event) {
    MouseButton button;
    if (!ToButton(event->button(), button)) return QOpenGLWidget::mouseReleaseEvent(event);
    MouseButtonUp(drag_, button);
}

void CPravikView::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
        case Qt::Key_Left: PressArrowKey(ArrowKey::Left); break;
        case Qt::Key_Right: PressArrowKey(ArrowKey::Right); break;
        case Qt::Key_Up: PressArrowKey(ArrowKey::Up); break;
        case Qt::Key_Down: PressArrowKey(ArrowKey::Down); break;
        default: break;
    }
    QOpenGLWidget::keyPressEvent(event);
}

void CPravikView::showEvent(QShowEvent* event) {
    QOpenGLWidget::showEvent(event);
    ResumeAnimation();
}

}  // namespace quorbel::gui
