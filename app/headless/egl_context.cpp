#include "app/headless/egl_context.h"

#include <EGL/egl.h>
#include <EGL/eglext.h>

#include <cstdio>

namespace quorbel {

namespace {

EGLDisplay OpenSurfacelessDisplay() {
    auto getPlatformDisplay =
        reinterpret_cast<PFNEGLGETPLATFORMDISPLAYEXTPROC>(eglGetProcAddress("eglGetPlatformDisplayEXT"));
    if (!getPlatformDisplay) return EGL_NO_DISPLAY;
    return getPlatformDisplay(EGL_PLATFORM_SURFACELESS_MESA, EGL_DEFAULT_DISPLAY, nullptr);
}

std::string EglErrorText(const char* what) {
    char buffer[96];
    std::snprintf(buffer, sizeof buffer, "%s failed (EGL error 0x%04x)", what, eglGetError());
    return buffer;
}

}  // namespace

std::unique_ptr<HeadlessContext> HeadlessContext::Create(int width, int height, std::string& error) {
    std::unique_ptr<HeadlessContext> context(new HeadlessContext());
    context->width_ = width;
    context->height_ = height;
    EGLDisplay display = OpenSurfacelessDisplay();
    if (display == EGL_NO_DISPLAY) {
        error = "no surfaceless EGL display (is Mesa's EGL installed?)";
        return nullptr;
    }
    context->display_ = display;
    EGLint major = 0, minor = 0;
    if (!eglInitialize(display, &major, &minor)) {
        error = EglErrorText("eglInitialize");
        context->display_ = nullptr;
        return nullptr;
    }
    if (!eglBindAPI(EGL_OPENGL_API)) {
        error = EglErrorText("eglBindAPI(OpenGL)");
        return nullptr;
    }
    const EGLint configAttributes[] = {EGL_SURFACE_TYPE, EGL_PBUFFER_BIT, EGL_RED_SIZE, 8, EGL_GREEN_SIZE, 8,
                                       EGL_BLUE_SIZE, 8, EGL_ALPHA_SIZE, 8, EGL_DEPTH_SIZE, 24,
                                       EGL_STENCIL_SIZE, 8, EGL_RENDERABLE_TYPE, EGL_OPENGL_BIT, EGL_NONE};
    EGLConfig config = nullptr;
    EGLint count = 0;
    if (!eglChooseConfig(display, configAttributes, &config, 1, &count) || count < 1) {
        error = "no EGL configuration with RGBA, depth and stencil for desktop OpenGL";
        return nullptr;
    }
    const EGLint surfaceAttributes[] = {EGL_WIDTH, width, EGL_HEIGHT, height, EGL_NONE};
    context->surface_ = eglCreatePbufferSurface(display, config, surfaceAttributes);
    if (context->surface_ == EGL_NO_SURFACE) {
        error = EglErrorText("eglCreatePbufferSurface");
        return nullptr;
    }
    // No attributes: a legacy context, which Mesa gives as the compatibility
    // profile with the whole fixed-function pipeline.
    context->context_ = eglCreateContext(display, config, EGL_NO_CONTEXT, nullptr);
    if (context->context_ == EGL_NO_CONTEXT) {
        error = EglErrorText("eglCreateContext");
        return nullptr;
    }
    if (!context->MakeCurrent()) {
        error = EglErrorText("eglMakeCurrent");
        return nullptr;
    }
    return context;
}

bool HeadlessContext::MakeCurrent() {
    return eglMakeCurrent(display_, surface_, surface_, context_) == EGL_TRUE;
}

HeadlessContext::~HeadlessContext() {
    if (!display_) return;
    eglMakeCurrent(display_, EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT);
    if (context_) eglDestroyContext(display_, context_);
    if (surface_) eglDestroySurface(display_, surface_);
}

}  // namespace quorbel
