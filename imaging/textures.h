// Texture sets loaded at start-up and the user's texture slots. Texture names
// and slot switches live in the scene state; this unit makes and replaces
// them. Every routine here needs the GL context current.
#pragma once

#include <optional>
#include <string>

#include "imaging/bmp_loader.h"

namespace quorbel {

// Shown when a slot's picture cannot be used.
extern const char* const kUnableToLoadTextureMessage;
// Shows that message in a box captioned "Quorbel".
void ShowTextureError();

// Uploads a picture into the texture bound now: linear filters, 3
// components, the picture's own size.
void UploadStandardTexture(const ImageRecord& picture);

// Start-up sets; each returns false when one of its files gives no picture.
bool LoadBaseTextures();
bool LoadTileTexturesA();
bool LoadTileTexturesB();
bool LoadParticleTextureSet();

// Slot loaders: 1 when the picture loaded and the slot now names a new
// texture (the old one is deleted), 0 with the slot unchanged otherwise.
int LoadTunnelTexture(const char* path);
int LoadTextTexture(const char* path);
int LoadParticleTexture(const char* path);
int LoadStarTexture(const char* path);
int LoadTileTexture1(const char* path);
int LoadTileTexture2(const char* path);
int LoadFireCustomTexture(const char* path);

// The texture file chooser; nothing when the user cancels (and then the
// star, tile and fire slots are switched off, the tunnel falls back).
std::optional<std::string> ChooseTextureFile();

int ChooseTunnelTexture();
int ChooseTextTexture();
int ChooseParticleTexture();
int ChooseStarTexture();
int ChooseTileTexture1();
int ChooseTileTexture2();
int ChooseFireTexture();

}  // namespace quorbel
