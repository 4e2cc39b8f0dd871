#include "app/headless/headless_engine.h"

#include <GL/gl.h>

#include "scene/frame_driver.h"
#include "scene/view_init.h"

namespace quorbel {

std::unique_ptr<HeadlessEngine> HeadlessEngine::Create(int width, int height, std::string& error) {
    auto context = HeadlessContext::Create(width, height, error);
    if (!context) return nullptr;
    return std::unique_ptr<HeadlessEngine>(new HeadlessEngine(std::move(context)));
}

bool HeadlessEngine::InitialiseScene() { return InitialiseView(width(), height()); }

void HeadlessEngine::RenderFrames(int count) {
    for (int i = 0; i < count; ++i) {
        RenderFrame();
        glFinish();
    }
}

std::vector<std::uint8_t> HeadlessEngine::ReadPixels() const {
    std::vector<std::uint8_t> rgb(static_cast<std::size_t>(width()) * height() * 3);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadBuffer(GL_BACK);
    glReadPixels(0, 0, width(), height(), GL_RGB, GL_UNSIGNED_BYTE, rgb.data());
    return rgb;
}

}  // namespace quorbel
