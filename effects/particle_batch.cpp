#include "effects/particle_batch.h"

#define GL_GLEXT_PROTOTYPES 1
#include <GL/gl.h>
#include <GL/glext.h>

#include <array>
#include <cstddef>
#include <vector>

namespace quorbel {

namespace {

constexpr int kCorners = 4;
constexpr int kIndicesPerParticle = 6;

struct Corner {
    float position[3];
    float colour[4];
};

// The immediate-mode strip's corners, in its order, and their texture
// coordinates; and the two triangles a four-corner strip makes.
constexpr float kCornerOffset[kCorners][2] = {{0.5f, 0.5f}, {-0.5f, 0.5f}, {0.5f, -0.5f}, {-0.5f, -0.5f}};
constexpr float kCornerTexCoord[kCorners][2] = {{1, 1}, {0, 1}, {1, 0}, {0, 0}};
constexpr GLuint kStripTriangles[kIndicesPerParticle] = {0, 1, 2, 2, 1, 3};

// Room for every particle, made once: a pass only fills it.
std::array<Corner, static_cast<std::size_t>(kMaxParticles) * kCorners> corners;
int batched = 0;

struct Buffers {
    GLuint corners = 0, texCoords = 0, indices = 0;
} buffers;

std::vector<float> AllTexCoords() {
    std::vector<float> texCoords;
    texCoords.reserve(static_cast<std::size_t>(kMaxParticles) * kCorners * 2);
    for (int k = 0; k < kMaxParticles; ++k)
        for (const auto& corner : kCornerTexCoord) texCoords.insert(texCoords.end(), {corner[0], corner[1]});
    return texCoords;
}

std::vector<GLuint> AllIndices() {
    std::vector<GLuint> indices;
    indices.reserve(static_cast<std::size_t>(kMaxParticles) * kIndicesPerParticle);
    for (GLuint k = 0; k < static_cast<GLuint>(kMaxParticles); ++k)
        for (GLuint corner : kStripTriangles) indices.push_back(k * kCorners + corner);
    return indices;
}

template <typename T>
void FillStaticBuffer(GLenum target, GLuint name, const std::vector<T>& data) {
    glBindBuffer(target, name);
    glBufferData(target, static_cast<GLsizeiptr>(data.size() * sizeof(T)), data.data(), GL_STATIC_DRAW);
}

// Ours, in this context: nothing else in the program makes buffer objects,
// and none other would have the corners' size.
bool BuffersMade() {
    if (!buffers.corners || !glIsBuffer(buffers.corners)) return false;
    GLint size = 0;
    glBindBuffer(GL_ARRAY_BUFFER, buffers.corners);
    glGetBufferParameteriv(GL_ARRAY_BUFFER, GL_BUFFER_SIZE, &size);
    return static_cast<std::size_t>(size) == sizeof(corners);
}

// The texture coordinates and triangles never change; the corners are
// refilled by every pass into storage sized once for all particles. A new
// context does not know the old names, so they are made again.
void EnsureBuffers() {
    if (BuffersMade()) return;
    glGenBuffers(1, &buffers.corners);
    glGenBuffers(1, &buffers.texCoords);
    glGenBuffers(1, &buffers.indices);
    glBindBuffer(GL_ARRAY_BUFFER, buffers.corners);
    glBufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(sizeof(corners)), nullptr, GL_STREAM_DRAW);
    FillStaticBuffer(GL_ARRAY_BUFFER, buffers.texCoords, AllTexCoords());
    FillStaticBuffer(GL_ELEMENT_ARRAY_BUFFER, buffers.indices, AllIndices());
}

void PointArraysAtBuffers() {
    glBindBuffer(GL_ARRAY_BUFFER, buffers.corners);
    glBufferSubData(GL_ARRAY_BUFFER, 0, static_cast<GLsizeiptr>(batched * kCorners * sizeof(Corner)), corners.data());
    glEnableClientState(GL_VERTEX_ARRAY);
    glVertexPointer(3, GL_FLOAT, sizeof(Corner), reinterpret_cast<const void*>(offsetof(Corner, position)));
    glEnableClientState(GL_COLOR_ARRAY);
    glColorPointer(4, GL_FLOAT, sizeof(Corner), reinterpret_cast<const void*>(offsetof(Corner, colour)));
    glBindBuffer(GL_ARRAY_BUFFER, buffers.texCoords);
    glEnableClientState(GL_TEXTURE_COORD_ARRAY);
    glTexCoordPointer(2, GL_FLOAT, 0, nullptr);
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, buffers.indices);
}

// Everything else in the program draws in immediate mode from client memory.
void ReleaseArrays() {
    glDisableClientState(GL_VERTEX_ARRAY);
    glDisableClientState(GL_COLOR_ARRAY);
    glDisableClientState(GL_TEXTURE_COORD_ARRAY);
    glBindBuffer(GL_ARRAY_BUFFER, 0);
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, 0);
}

}  // namespace

void BeginParticleBatch() { batched = 0; }

void AddToParticleBatch(const Particle& particle, float zoom) {
    if (batched >= kMaxParticles) return;
    const float x = particle.position[0];
    const float y = particle.position[1];
    const float z = particle.position[2] + zoom;
    Corner* out = &corners[static_cast<std::size_t>(batched) * kCorners];
    for (int k = 0; k < kCorners; ++k) {
        out[k] = {{x + kCornerOffset[k][0], y + kCornerOffset[k][1], z},
                  {particle.colour[0], particle.colour[1], particle.colour[2], particle.life}};
    }
    ++batched;
}

void DrawParticleBatch() {
    if (batched == 0) return;
    EnsureBuffers();
    PointArraysAtBuffers();
    glDrawElements(GL_TRIANGLES, batched * kIndicesPerParticle, GL_UNSIGNED_INT, nullptr);
    ReleaseArrays();
    // The strips would have left the last particle's colour and the last
    // corner's texture coordinate current.
    glColor4fv(corners[static_cast<std::size_t>(batched) * kCorners - 1].colour);
    glTexCoord2f(kCornerTexCoord[kCorners - 1][0], kCornerTexCoord[kCorners - 1][1]);
}

}  // namespace quorbel
