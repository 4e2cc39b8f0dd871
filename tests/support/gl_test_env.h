// Shared set-up for tests that render: one offscreen engine per test
// process, a fresh scene state per test.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "app/headless/headless_engine.h"

namespace quorbel::testing {

// The process-wide engine (720x480 unless the first caller asks otherwise).
// Null when there is no usable OpenGL; tests then fail with the reason.
HeadlessEngine* Engine(int width = 720, int height = 480);

// Resets the scene state to its start values and runs the view's
// initialisation again (textures, glyphs, start values) with the source
// folder as the current directory, as the program runs. Returns the engine
// (null without OpenGL).
HeadlessEngine* FreshScene();

// Source folder (Data/ and gfx/ live there).
std::string SourceDir();

// Runs the test body in a fresh temporary folder (the current directory is
// restored afterwards), so a settings.qrl of one test never leaks into another.
class TempDirectory {
public:
    TempDirectory();
    ~TempDirectory();
    const std::string& path() const { return path_; }
    // The full name of `name` in the folder.
    std::string File(const std::string& name) const { return path_ + "/" + name; }
    // What the folder holds, sorted, leaving out the links to the pictures.
    std::vector<std::string> Names() const;

private:
    std::string path_;
    std::string previous_;
};

// A file's whole content; empty when it cannot be read.
std::string FileText(const std::string& path);

// Links Data/ and gfx/ of the source folder into the current folder, so the
// program finds its pictures there without the source folder's settings.
void LinkDefaultPictures();

// A scene field by name as a number (the field must exist).
double Field(const std::string& name);

// Sets the title spinning: every frame differs from the one before.
void SpinTheTitle();

// Writes a settings file of the right size holding nothing but zeros.
void WriteEmptySettingsFile(const std::string& path = "settings.qrl");

struct Rgb {
    int r, g, b;
};
// Pixel at (x, y) of a bottom-up RGB frame, y counted from the bottom.
Rgb PixelAt(const std::vector<std::uint8_t>& rgb, int width, int x, int y);
// Number of pixels with any channel above `threshold`.
int CountLitPixels(const std::vector<std::uint8_t>& rgb, int threshold = 16);

}  // namespace quorbel::testing
