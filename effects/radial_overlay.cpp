#include "effects/radial_overlay.h"

#define GL_GLEXT_PROTOTYPES 1
#include <GL/gl.h>
#include <GL/glext.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <initializer_list>
#include <vector>

namespace quorbel {

namespace {

constexpr float kOverlayWidth = 740.0f;
constexpr float kOverlayHeight = 600.0f;
constexpr int kFrameBufferBits = 8;

struct Rect {
    int left = 0, bottom = 0, width = 0, height = 0;
};

RadialSummer summer;
std::array<std::uint8_t, kRadialPictureSize * kRadialPictureSize> picture;
std::vector<std::uint8_t> summed;  // RGBA of the part, grown once
GLuint sumTexture = 0;
int sumTextureWidth = 0, sumTextureHeight = 0;

// Switches under which a layer quad would not be plain texture x colour.
bool AnyEnabled() {
    for (GLenum cap : {GL_LIGHTING, GL_FOG, GL_TEXTURE_GEN_S, GL_TEXTURE_GEN_T, GL_TEXTURE_GEN_R, GL_TEXTURE_GEN_Q,
                       GL_ALPHA_TEST, GL_CULL_FACE, GL_STENCIL_TEST, GL_COLOR_LOGIC_OP, GL_POLYGON_STIPPLE,
                       GL_TEXTURE_3D, GL_TEXTURE_CUBE_MAP, GL_COLOR_SUM})
        if (glIsEnabled(cap)) return true;
    return false;
}

bool PlainFrameBuffer() {
    GLboolean mask[4] = {};
    glGetBooleanv(GL_COLOR_WRITEMASK, mask);
    GLint polygonMode[2] = {};
    glGetIntegerv(GL_POLYGON_MODE, polygonMode);
    GLint bits[4] = {};
    glGetIntegerv(GL_RED_BITS, &bits[0]);
    glGetIntegerv(GL_GREEN_BITS, &bits[1]);
    glGetIntegerv(GL_BLUE_BITS, &bits[2]);
    glGetIntegerv(GL_ALPHA_BITS, &bits[3]);
    GLint equation = 0;
    glGetIntegerv(GL_BLEND_EQUATION_RGB, &equation);
    return std::all_of(mask, mask + 4, [](GLboolean on) { return on == GL_TRUE; }) &&
           polygonMode[0] == GL_FILL && polygonMode[1] == GL_FILL && equation == GL_FUNC_ADD &&
           std::all_of(bits, bits + 4, [](GLint b) { return b == kFrameBufferBits; });
}

// The radial capture: a 128 x 128 grey texture, filtered linearly, repeating,
// modulating the colour.
bool CaptureBound() {
    GLint width = 0, height = 0, format = 0, minFilter = 0, magFilter = 0, wrapS = 0, wrapT = 0, mode = 0;
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &width);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &height);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_INTERNAL_FORMAT, &format);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &minFilter);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, &magFilter);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, &wrapS);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, &wrapT);
    glGetTexEnviv(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, &mode);
    return width == kRadialPictureSize && height == kRadialPictureSize &&
           (format == GL_LUMINANCE || format == GL_LUMINANCE8) && minFilter == GL_LINEAR && magFilter == GL_LINEAR &&
           wrapS == GL_REPEAT && wrapT == GL_REPEAT && mode == GL_MODULATE;
}

// The pixels the quads would reach: the viewport, cut to the scissor box.
Rect ReachedPixels(const GLint (&viewport)[4]) {
    Rect rect{viewport[0], viewport[1], viewport[2], viewport[3]};
    if (!glIsEnabled(GL_SCISSOR_TEST)) return rect;
    GLint box[4] = {};
    glGetIntegerv(GL_SCISSOR_BOX, box);
    const int right = std::min(rect.left + rect.width, box[0] + box[2]);
    const int top = std::min(rect.bottom + rect.height, box[1] + box[3]);
    rect.left = std::max(rect.left, box[0]);
    rect.bottom = std::max(rect.bottom, box[1]);
    rect.width = std::max(0, right - rect.left);
    rect.height = std::max(0, top - rect.bottom);
    return rect;
}

void ReadCapture() {
    GLint packAlignment = 4;
    glGetIntegerv(GL_PACK_ALIGNMENT, &packAlignment);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_LUMINANCE, GL_UNSIGNED_BYTE, picture.data());
    glPixelStorei(GL_PACK_ALIGNMENT, packAlignment);
}

// Ours, in this context: no other texture of the program holds four
// 8-bit channels (pictures have three, the capture one).
bool SumTextureMade() {
    if (!sumTexture || !glIsTexture(sumTexture)) return false;
    glBindTexture(GL_TEXTURE_2D, sumTexture);
    GLint format = 0;
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_INTERNAL_FORMAT, &format);
    return format == GL_RGBA8;
}

// A view-sized texture for the sum, specified again only when the view
// changes size, and made again for a new context.
void PrepareSumTexture(int width, int height) {
    const bool fresh = !SumTextureMade();
    if (fresh) glGenTextures(1, &sumTexture);
    glBindTexture(GL_TEXTURE_2D, sumTexture);
    if (!fresh && width == sumTextureWidth && height == sumTextureHeight) return;
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, width, height, 0, GL_RGBA, GL_UNSIGNED_BYTE, nullptr);
    sumTextureWidth = width;
    sumTextureHeight = height;
}

// Adds the sum over the viewport: each pixel takes its own texel, and the
// blend (one, one) saturates at 255 just as the layers do one by one.
void AddSumOverView(const GLint (&viewport)[4], const Rect& part) {
    PrepareSumTexture(viewport[2], viewport[3]);
    GLint unpackAlignment = 4;
    glGetIntegerv(GL_UNPACK_ALIGNMENT, &unpackAlignment);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    glTexSubImage2D(GL_TEXTURE_2D, 0, part.left - viewport[0], part.bottom - viewport[1], part.width, part.height,
                    GL_RGBA, GL_UNSIGNED_BYTE, summed.data());
    glPixelStorei(GL_UNPACK_ALIGNMENT, unpackAlignment);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_REPLACE);
    glBlendFunc(GL_ONE, GL_ONE);
    glBegin(GL_QUADS);
    glTexCoord2f(0, 1);
    glVertex2f(0, 0);
    glTexCoord2f(0, 0);
    glVertex2f(0, kOverlayHeight);
    glTexCoord2f(1, 0);
    glVertex2f(kOverlayWidth, kOverlayHeight);
    glTexCoord2f(1, 1);
    glVertex2f(kOverlayWidth, 0);
    glEnd();
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE);
}

bool TextureHoldsView(const GLint (&viewport)[4]) {
    GLint largest = 0;
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &largest);
    return viewport[2] <= largest && viewport[3] <= largest;
}

RadialSumRequest RequestFor(const RadialLayer* layers, int count, const float (&colour)[3], const GLint (&viewport)[4],
                            const Rect& part) {
    RadialSumRequest request;
    request.picture = picture.data();
    request.layers = layers;
    request.layerCount = count;
    std::copy(colour, colour + 3, request.colour);
    request.viewWidth = viewport[2];
    request.viewHeight = viewport[3];
    request.left = part.left - viewport[0];
    request.bottom = part.bottom - viewport[1];
    request.width = part.width;
    request.height = part.height;
    return request;
}

}  // namespace

bool DrawSummedRadialLayers(const RadialLayer* layers, int count, const float (&colour)[3]) {
    if (AnyEnabled() || !PlainFrameBuffer() || !CaptureBound()) return false;
    GLint viewport[4] = {};
    glGetIntegerv(GL_VIEWPORT, viewport);
    if (!TextureHoldsView(viewport)) return false;
    const Rect part = ReachedPixels(viewport);
    if (part.width == 0 || part.height == 0) return true;  // nothing reachable to draw
    GLint capture = 0;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &capture);
    ReadCapture();
    const std::size_t bytes = static_cast<std::size_t>(part.width) * static_cast<std::size_t>(part.height) * 4;
    if (summed.size() < bytes) summed.resize(bytes);
    if (!summer.Sum(RequestFor(layers, count, colour, viewport, part), summed.data())) return false;
    AddSumOverView(viewport, part);
    glBindTexture(GL_TEXTURE_2D, static_cast<GLuint>(capture));
    return true;
}

}  // namespace quorbel
