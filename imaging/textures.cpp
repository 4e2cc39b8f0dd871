#include "imaging/textures.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

#include "effects/particles.h"
#include "imaging/picture_report.h"
#include "platform/platform.h"
#include "platform/steady_memory.h"
#include "scene/scene_state.h"

namespace quorbel {

const char* const kUnableToLoadTextureMessage =
    "Unable to Load Texture. Please check the online help file for information on the types of "
    "bitmaps that are compatible with Quorbel.";

namespace {

using Picture = std::unique_ptr<ImageRecord>;

template <std::size_t N>
bool LoadAll(const std::array<const char*, N>& files, std::array<Picture, N>& pictures) {
    for (std::size_t i = 0; i < N; ++i) {
        pictures[i] = LoadImageFile(files[i]);
        if (!pictures[i]) return false;
    }
    return true;
}

// Also frees a name that was made but never bound; GL ignores name 0.
void DeleteTexture(std::uint32_t& name) {
    glDeleteTextures(1, &name);
    name = 0;
}

// A set loaded again (the text styles reload the base set) replaces its
// textures; the old ones would otherwise pile up, one set per style change.
template <std::size_t N>
bool LoadSet(const std::array<const char*, N>& files, std::array<std::uint32_t, N>& names) {
    std::array<Picture, N> pictures;
    if (!LoadAll(files, pictures)) return false;
    for (std::uint32_t& name : names) DeleteTexture(name);
    glGenTextures(static_cast<GLsizei>(N), names.data());
    for (std::size_t i = 0; i < N; ++i) {
        glBindTexture(GL_TEXTURE_2D, names[i]);
        UploadStandardTexture(*pictures[i]);
    }
    return true;
}

enum class Upload { Standard, Mipmapped };

// Replaces the slot's texture with a new one made from the file. The old
// texture is deleted: nothing refers to it once the slot names the new one.
int LoadSlotPicture(const char* path, std::uint32_t& slot, Upload upload) {
    Picture picture = LoadImageFile(path);
    if (!picture) return 0;
    GLuint name = 0;
    glGenTextures(1, &name);
    glBindTexture(GL_TEXTURE_2D, name);
    if (upload == Upload::Standard) {
        UploadStandardTexture(*picture);
    } else {
        gluBuild2DMipmaps(GL_TEXTURE_2D, 3, picture->width, picture->height, GL_RGB, GL_UNSIGNED_BYTE,
                          picture->pixels.data());
    }
    DeleteTexture(slot);
    slot = name;
    return 1;
}

// The decoded picture (and the mipmaps' scratch) is freed by now.
int LoadSlot(const char* path, std::uint32_t& slot, Upload upload) {
    const int loaded = LoadSlotPicture(path, slot, upload);
    ReturnFreedMemory();
    return loaded;
}

// A file the user has just chosen is always answered, even one whose
// problem was reported before.
std::optional<std::string> ChooseAndForget() {
    auto path = ChooseTextureFile();
    if (path) ForgetPictureReport(*path);
    return path;
}

int ChooseInto(int (*loader)(const char*)) {
    auto path = ChooseAndForget();
    if (!path) return 0;
    return loader(path->c_str());
}

int ChooseTileInto(int (*loader)(const char*)) {
    auto path = ChooseAndForget();
    if (!path) return 0;
    if (!loader(path->c_str())) ShowTextureError();
    return 1;
}

}  // namespace

void UploadStandardTexture(const ImageRecord& picture) {
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);  // rows are packed tight, any width
    glTexImage2D(GL_TEXTURE_2D, 0, 3, picture.width, picture.height, 0, GL_RGB, GL_UNSIGNED_BYTE,
                 picture.pixels.data());
}

bool LoadBaseTextures() {
    static constexpr std::array<const char*, 4> files = {"gfx/lines.bmp", "gfx/weave.bmp", "Data/plasma.bmp",
                                                         "Data/Reflectings.bmp"};
    return LoadSet(files, scene.baseTextures);
}

bool LoadTileTexturesA() {
    static constexpr std::array<const char*, 5> files = {"Gfx/matrix.bmp", "gfx/matrix.bmp", "Gfx/lines.bmp",
                                                         "gfx/lines.bmp", "gfx/matrix.bmp"};
    return LoadSet(files, scene.tileTexturesA);
}

bool LoadTileTexturesB() {
    static constexpr std::array<const char*, 5> files = {"gfx/matrix.bmp", "gfx/matrix.bmp", "gfx/matrix.bmp",
                                                         "gfx/lines.bmp", "gfx/matrix.bmp"};
    return LoadSet(files, scene.tileTexturesB);
}

// The first picture goes into OpenGL's default texture (name 0), so that any
// texture variable that never received a name shows it.
bool LoadParticleTextureSet() {
    static constexpr std::array<const char*, 3> files = {"Data/bubble.bmp", "Data/p2.bmp", "Data/P3.bmp"};
    ParticleEngine& engine = TheParticleEngine();
    bool any = false;
    for (std::uint32_t& name : engine.textures) DeleteTexture(name);
    if (Picture first = LoadImageFile(files[0])) {
        glGenTextures(1, &engine.textures[0]);
        glBindTexture(GL_TEXTURE_2D, 0);
        UploadStandardTexture(*first);
        any = true;
    }
    for (std::size_t i = 1; i < files.size(); ++i) {
        if (Picture picture = LoadImageFile(files[i])) {
            glGenTextures(1, &engine.textures[i]);
            glBindTexture(GL_TEXTURE_2D, engine.textures[i]);
            UploadStandardTexture(*picture);
            any = true;
        }
    }
    return any;
}

int LoadTunnelTexture(const char* path) { return LoadSlot(path, scene.tunnelTexture, Upload::Standard); }
int LoadTextTexture(const char* path) { return LoadSlot(path, scene.textTexture, Upload::Mipmapped); }
int LoadParticleTexture(const char* path) { return LoadSlot(path, scene.particleTexture, Upload::Standard); }
int LoadStarTexture(const char* path) { return LoadSlot(path, scene.starTexture, Upload::Standard); }
int LoadTileTexture1(const char* path) { return LoadSlot(path, scene.tileTexture1(), Upload::Standard); }
int LoadTileTexture2(const char* path) { return LoadSlot(path, scene.tileTexture2, Upload::Standard); }
int LoadFireCustomTexture(const char* path) { return LoadSlot(path, scene.fireCustomTexture, Upload::Standard); }

std::optional<std::string> ChooseTextureFile() {
    FileRequest request;
    request.title = "Gfx";
    request.filters = {{"Graphics Data Files (*.*)", "*.*"}, {"All Files", "*.*"}};
    auto path = CurrentPlatform().ChooseOpenFile(request);
    if (path) return path;
    // A cancelled choice switches the user slots off, whichever one asked.
    scene.starCustomTex = 0;
    scene.tile1CustomTex = 0;
    scene.tile2CustomTex = 0;
    scene.tile2TexFallback = 0;
    scene.fireCustomTex = 0;
    scene.tunnelTexFallback = 2;
    return std::nullopt;
}

int ChooseTunnelTexture() { return ChooseInto(LoadTunnelTexture); }
int ChooseTextTexture() { return ChooseInto(LoadTextTexture); }
int ChooseParticleTexture() { return ChooseInto(LoadParticleTexture); }
int ChooseStarTexture() { return ChooseInto(LoadStarTexture); }
int ChooseTileTexture1() { return ChooseTileInto(LoadTileTexture1); }
int ChooseTileTexture2() { return ChooseTileInto(LoadTileTexture2); }
int ChooseFireTexture() { return ChooseInto(LoadFireCustomTexture); }

void ShowTextureError() {
    CurrentPlatform().ShowMessage(kUnableToLoadTextureMessage, "Quorbel", MessageButtons::Ok);
}

}  // namespace quorbel
