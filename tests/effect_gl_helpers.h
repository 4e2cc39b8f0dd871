// Small OpenGL helpers for the effect tests: plain textures so that pixels
// depend on the effect rather than on a picture, the bound texture, and a way
// to leave an error pending as a rejected upload would.
#pragma once

#include <GL/gl.h>

#include <cstdint>
#include <vector>

namespace quorbel::testing {

// A 4 x 4 texture of one colour; needs the context current.
inline GLuint MakeSolidTexture(std::uint8_t red, std::uint8_t green, std::uint8_t blue) {
    std::vector<std::uint8_t> pixels;
    for (int i = 0; i < 16; ++i) pixels.insert(pixels.end(), {red, green, blue});
    GLuint name = 0;
    glGenTextures(1, &name);
    glBindTexture(GL_TEXTURE_2D, name);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB, 4, 4, 0, GL_RGB, GL_UNSIGNED_BYTE, pixels.data());
    return name;
}

inline GLuint BoundTexture() {
    GLint name = 0;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &name);
    return static_cast<GLuint>(name);
}

inline void DrainGlErrors() {
    while (glGetError() != GL_NO_ERROR) {
    }
}

// GL_TEXTURE_BINDING_2D is a query, not a capability: enabling it is an
// invalid enum, which leaves an error pending.
inline void RaiseGlError() { glEnable(GL_TEXTURE_BINDING_2D); }

}  // namespace quorbel::testing
