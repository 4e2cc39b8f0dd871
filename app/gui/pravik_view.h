// The OpenGL view that fills the main window: it owns the GL context, runs
// the scene initialisation once the context exists, draws one frame per
// repaint through the frame driver, asks for the next frame at once while it
// can be seen, and turns drags and arrow keys into moves of the scene.
#pragma once

#include <QOpenGLWidget>
#include <QSurfaceFormat>

#include "commands/view_input.h"

namespace quorbel::gui {

// Compatibility profile, double-buffered RGBA, 32-bit depth asked for (the
// driver gives what it has), 8-bit stencil.
QSurfaceFormat ViewFormat();

class CPravikView : public QOpenGLWidget {
public:
    explicit CPravikView(QWidget* parent = nullptr);
    ~CPravikView() override;

    // Makes the view's context current for a command or a panel; false
    // before the context exists.
    bool MakeContextCurrent();
    // Whether frames should follow each other: only while the view can be
    // seen and no modal box holds the program.
    bool ShouldAnimate() const;
    // Starts the stream of frames again (after a modal box, a restore).
    void ResumeAnimation();
    bool SceneInitialised() const { return sceneInitialised_; }
    // True while the view is inside its GL set-up or a frame. A modal box
    // must not open then: its event loop would repaint the view from within
    // its own paint.
    bool Painting() const { return painting_; }

    // Marks the view as painting for its lifetime.
    class PaintScope {
    public:
        explicit PaintScope(CPravikView& view) : view_(view), outer_(!view.painting_) { view_.painting_ = true; }
        ~PaintScope() {
            if (outer_) view_.painting_ = false;
        }
        PaintScope(const PaintScope&) = delete;
        PaintScope& operator=(const PaintScope&) = delete;

    private:
        CPravikView& view_;
        bool outer_;
    };

protected:
    void initializeGL() override;
    void resizeGL(int width, int height) override;
    void paintGL() override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    int DevicePixels(int logical) const;

    DragState drag_;
    bool sceneInitialised_ = false;
    bool painting_ = false;
};

}  // namespace quorbel::gui
