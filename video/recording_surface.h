// An offscreen framebuffer of exactly the recording's size, so that a
// recording is 720 x 480 or 720 x 576 whatever size the window manager
// gives the window. While it is in use the scene renders into it with its
// projection set for it, and reading back reads from it.
//
// The GL context must be current for every call. Not copyable; one per
// recording.
#pragma once

namespace quorbel {

class RecordingSurface {
public:
    RecordingSurface() = default;
    ~RecordingSurface();  // releases the framebuffer (the context must still be current)
    RecordingSurface(const RecordingSurface&) = delete;
    RecordingSurface& operator=(const RecordingSurface&) = delete;

    // Makes the framebuffer (colour, depth 24, stencil 8), binds it for
    // drawing and reading and sets the scene's projection for its size.
    // False, with nothing changed, when the driver cannot make it.
    bool Begin(int width, int height);
    // Binds the surface again for drawing and reading, after something else
    // (a window repainting itself) bound another framebuffer.
    void Bind();
    // Copies the surface's picture, scaled to fit and centred, into
    // `framebuffer` (0: the window system's) of width x height, so the
    // window can show what is being recorded. The surface stays bound.
    void CopyTo(unsigned framebuffer, int width, int height);
    // Rebinds the framebuffer and read buffer that were bound before Begin
    // and sets the projection back to the view's size.
    void End(int viewWidth, int viewHeight);

private:
    void Release();
    unsigned framebuffer_ = 0;
    unsigned colour_ = 0;
    unsigned depthStencil_ = 0;
    int width_ = 0;
    int height_ = 0;
    int previousFramebuffer_ = 0;
    int previousReadBuffer_ = 0;
    int previousDrawBuffer_ = 0;
};

}  // namespace quorbel
