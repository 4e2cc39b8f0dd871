// The extruded 3D title text: glyph display lists built from a real font,
// drawn in one of the text styles, moved by spin, zoom, pan, loop, bounce.
#pragma once

#include <array>
#include <cstdint>

namespace quorbel {

// The six metrics of one character code, in em units (em height 1.0).
struct GlyphMetrics {
    float blackBoxX = 0, blackBoxY = 0;
    float originX = 0, originY = 0;
    float cellIncX = 0, cellIncY = 0;
};
extern std::array<GlyphMetrics, 256> textGlyphMetrics;

// Which text pass: the one after the tunnel leaves out one texture test.
enum class TextPass { Main, AfterTunnel };

// (Re)builds the 255 glyph lists from the current font settings (face,
// weight, italic, wireframe, depth); the first build ever makes solid glyphs
// at depth 0.2. Any face gives glyphs: a missing one is replaced by the
// closest installed font. The GL context must be current.
void BuildTextFont();
// Deletes the 256 lists of the last build; textListBase becomes 0, and
// PrintText then draws nothing until the next build.
void DeleteTextFont();
// Draws `text` centred on the current origin with the glyph lists. Text is
// drawn as given: no format interpretation, at most 255 characters.
void PrintText(const char* text);
// The sum of the cell increments of `text` (what PrintText centres by).
float TextWidth(const char* text);

// Pieces of the text pass, also used by the blur passes:
void BindTextTexture(TextPass pass);   // the texture choice
void ApplyTextTransform();             // translate to the text's position, rotate x, y, z
void ApplyTextColour();                // colour and the white request
void DrawTitle();                      // PrintText(titleText), whatever textHidden says
// The text pass between the scene's set-up and tear-down: tex-gen mode,
// texture choice, transform, colour, and the drawing unless hidden.
void DrawText(TextPass pass);
// The per-frame motion: spin, zoom, loop or bounce, pan. Does nothing while
// the scene is paused, whoever calls it.
void AnimateText();

// The five styles the Text Controls panel calls (colour choices go through
// the platform layer). The GL context must be current.
void ApplyChromeStyle();
void ApplyGlassStyle();
void ApplyTexturedStyle();
void ApplySingleColourStyle();
void ApplyChangeColourStyle();

// The text's own reset (New and the Text Controls' Reset Defaults): chrome
// style, white requested, z back to -10, the text light and sphere-map
// texture-coordinate generation set up again, the reflection map (fourth
// base texture) left bound. The GL context must be current.
void ResetText();

}  // namespace quorbel
