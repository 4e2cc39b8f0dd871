// An OpenGL context without any display server: Mesa's surfaceless EGL
// platform, desktop OpenGL (compatibility profile), rendering into a pbuffer
// of a fixed size.
#pragma once

#include <memory>
#include <string>

namespace quorbel {

class HeadlessContext {
public:
    // Makes a context with a width x height RGBA pbuffer (24-bit depth,
    // 8-bit stencil) and makes it current. Null with `error` set when no
    // usable OpenGL is available.
    static std::unique_ptr<HeadlessContext> Create(int width, int height, std::string& error);
    ~HeadlessContext();
    HeadlessContext(const HeadlessContext&) = delete;
    HeadlessContext& operator=(const HeadlessContext&) = delete;

    bool MakeCurrent();
    int width() const { return width_; }
    int height() const { return height_; }

private:
    HeadlessContext() = default;
    void* display_ = nullptr;
    void* surface_ = nullptr;
    void* context_ = nullptr;
    int width_ = 0;
    int height_ = 0;
};

}  // namespace quorbel
