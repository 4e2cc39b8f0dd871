#define GL_GLEXT_PROTOTYPES
#include "video/recording_surface.h"

#include <GL/gl.h>
#include <GL/glext.h>

#include "scene/gl_setup.h"

namespace quorbel {

RecordingSurface::~RecordingSurface() { Release(); }

bool RecordingSurface::Begin(int width, int height) {
    if (width <= 0 || height <= 0 || framebuffer_) return false;
    glGetIntegerv(GL_FRAMEBUFFER_BINDING, &previousFramebuffer_);
    glGetIntegerv(GL_READ_BUFFER, &previousReadBuffer_);
    glGetIntegerv(GL_DRAW_BUFFER, &previousDrawBuffer_);
    glGenFramebuffers(1, &framebuffer_);
    glGenRenderbuffers(1, &colour_);
    glGenRenderbuffers(1, &depthStencil_);
    glBindRenderbuffer(GL_RENDERBUFFER, colour_);
    glRenderbufferStorage(GL_RENDERBUFFER, GL_RGBA8, width, height);
    glBindRenderbuffer(GL_RENDERBUFFER, depthStencil_);
    glRenderbufferStorage(GL_RENDERBUFFER, GL_DEPTH24_STENCIL8, width, height);
    glBindRenderbuffer(GL_RENDERBUFFER, 0);
    glBindFramebuffer(GL_FRAMEBUFFER, framebuffer_);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, colour_);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_STENCIL_ATTACHMENT, GL_RENDERBUFFER, depthStencil_);
    if (glCheckFramebufferStatus(GL_FRAMEBUFFER) != GL_FRAMEBUFFER_COMPLETE) {
        glBindFramebuffer(GL_FRAMEBUFFER, static_cast<GLuint>(previousFramebuffer_));
        Release();
        return false;
    }
    width_ = width;
    height_ = height;
    Bind();
    ResizeGL(width, height);
    return true;
}

void RecordingSurface::Bind() {
    if (!framebuffer_) return;
    glBindFramebuffer(GL_FRAMEBUFFER, framebuffer_);
    glDrawBuffer(GL_COLOR_ATTACHMENT0);
    glReadBuffer(GL_COLOR_ATTACHMENT0);
}

void RecordingSurface::CopyTo(unsigned framebuffer, int width, int height) {
    if (!framebuffer_ || width <= 0 || height <= 0) return;
    // The largest copy of the frame's shape that fits, in the middle.
    const bool widthLimits = static_cast<long>(width) * height_ <= static_cast<long>(height) * width_;
    const int shownWidth = widthLimits ? width : static_cast<int>(static_cast<long>(height) * width_ / height_);
    const int shownHeight = widthLimits ? static_cast<int>(static_cast<long>(width) * height_ / width_) : height;
    const int left = (width - shownWidth) / 2, bottom = (height - shownHeight) / 2;
    glBindFramebuffer(GL_DRAW_FRAMEBUFFER, framebuffer);
    glBlitFramebuffer(0, 0, width_, height_, left, bottom, left + shownWidth, bottom + shownHeight,
                      GL_COLOR_BUFFER_BIT, GL_LINEAR);
    glBindFramebuffer(GL_DRAW_FRAMEBUFFER, framebuffer_);
}

void RecordingSurface::End(int viewWidth, int viewHeight) {
    if (!framebuffer_) return;
    glBindFramebuffer(GL_FRAMEBUFFER, static_cast<GLuint>(previousFramebuffer_));
    glDrawBuffer(static_cast<GLenum>(previousDrawBuffer_));
    glReadBuffer(static_cast<GLenum>(previousReadBuffer_));
    Release();
    ResizeGL(viewWidth, viewHeight);
}

void RecordingSurface::Release() {
    if (framebuffer_) glDeleteFramebuffers(1, &framebuffer_);
    if (colour_) glDeleteRenderbuffers(1, &colour_);
    if (depthStencil_) glDeleteRenderbuffers(1, &depthStencil_);
    framebuffer_ = colour_ = depthStencil_ = 0;
    width_ = height_ = 0;
}

}  // namespace quorbel
