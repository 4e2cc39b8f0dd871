// The engine on an offscreen surface: the same initialisation and frame
// driver as the window, for snapshots, recordings, tests and benchmarks.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "app/headless/egl_context.h"

namespace quorbel {

class HeadlessEngine {
public:
    // Creates the context; null with `error` set when OpenGL is unusable.
    static std::unique_ptr<HeadlessEngine> Create(int width, int height, std::string& error);

    // The view's one-time initialisation. False when a start-up texture set
    // is missing (the run goes on, as the window does).
    bool InitialiseScene();
    // `count` calls of the frame driver.
    void RenderFrames(int count);
    // The current frame, width x height x 3 bytes, bottom row first.
    std::vector<std::uint8_t> ReadPixels() const;

    int width() const { return context_->width(); }
    int height() const { return context_->height(); }

private:
    explicit HeadlessEngine(std::unique_ptr<HeadlessContext> context) : context_(std::move(context)) {}
    std::unique_ptr<HeadlessContext> context_;
};

}  // namespace quorbel
