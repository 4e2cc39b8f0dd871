// The extruded 3D title text: glyphs extruded from real fonts,
// drawn in one of the text styles, moved by spin, zoom, pan, loop, bounce.
#pragma once

#include <cstdint>

namespace quorbel {

// Which text pass: the one after the tunnel leaves out one texture test.
enum class TextPass { Main, AfterTunnel };

// Starts the glyphs afresh for the current font settings (face, weight,
// italic, wireframe, depth) and builds those of the current title; the
// first build ever makes solid glyphs at depth 0.2. Any face gives glyphs: a
// missing one is replaced by the closest installed font, and characters it
// lacks come from fallback fonts. The GL context must be current.
void BuildTextFont();
// Deletes the glyphs; DrawTitle then draws nothing until the next build.
void DeleteTextFont();

// Pieces of the text pass, also used by the blur passes:
void BindTextTexture(TextPass pass);   // the texture choice
void ApplyTextTransform();             // translate to the text's position, rotate x, y, z
void ApplyTextColour();                // colour and the white request
// The title's lines centred as a block on the current origin, whatever
// textHidden says; a changed title or font is laid out here first.
void DrawTitle();
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
