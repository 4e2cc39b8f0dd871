#include "scene/render_path.h"

#include <GL/gl.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace quorbel {

namespace {

constexpr int kFastPathMajorVersion = 2;

RenderPath requested = RenderPath::Fast;
bool driverOffersFastPath = false;
bool sumOnProcessor = false;
bool fallbackReported = false;

const char* GlString(GLenum name) {
    const GLubyte* text = glGetString(name);
    return text ? reinterpret_cast<const char*>(text) : "";
}

void ReportFallback(const char* version) {
    if (fallbackReported) return;
    fallbackReported = true;
    std::fprintf(stderr,
                 "quorbel: OpenGL %s lacks what the fast drawing path needs (OpenGL 2.0: buffer objects and "
                 "textures of any size); drawing with the OpenGL 1.1 path\n",
                 *version ? version : "(version unknown)");
}

}  // namespace

void RequestRenderPath(RenderPath path) { requested = path; }
RenderPath RequestedRenderPath() { return requested; }

RenderPath ActiveRenderPath() {
    return requested == RenderPath::Fast && driverOffersFastPath ? RenderPath::Fast : RenderPath::Classic;
}

void DetectDriverSupport() {
    const char* version = GlString(GL_VERSION);
    driverOffersFastPath = VersionOffersFastPath(version);
    sumOnProcessor = RendererIsLlvmpipe(GlString(GL_RENDERER));
    if (requested == RenderPath::Fast && !driverOffersFastPath) ReportFallback(version);
}

bool SumRadialLayersOnProcessor() { return sumOnProcessor; }

bool VersionOffersFastPath(const char* version) {
    if (!version) return false;
    // The string starts "major.minor", then anything the vendor adds.
    char* end = nullptr;
    const long major = std::strtol(version, &end, 10);
    if (end == version || *end != '.') return false;
    return major >= kFastPathMajorVersion;
}

bool RendererIsLlvmpipe(const char* renderer) { return renderer && std::strstr(renderer, "llvmpipe"); }

}  // namespace quorbel
