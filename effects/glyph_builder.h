// Extruded glyphs from a real font: fontconfig picks the font file for a
// face name, weight and slant; FreeType gives the outlines; the GLU
// tessellator fills them, for the glyph cache to compile.
//
// Units: the font's em height is 1.0. A glyph's front face lies at z = 0
// (normal +z), its back face at z = -extrusion (normal -z), and its side walls
// carry normals perpendicular to the outline, pointing out of the letter.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>


namespace quorbel {

// ----- font matching --------------------------------------------------------

// A font as a font dialog describes it: face name, a weight on the 0..1000
// scale of Windows (0 = "don't care", 400 normal, 700 bold, 900 black), italic.
struct FontRequest {
    std::string face;
    int weight = 400;
    bool italic = false;
};

// The font file chosen for a request.
struct ResolvedFont {
    std::string file;
    int faceIndex = 0;
    std::string family;
    std::string style;
    int weight = 400;     // the file's own weight, on the 100..900 scale
    bool italic = false;  // the file is italic or oblique
};

// The weight a request really asks for: "don't care" is normal, and a weight
// word that ends the face name ("Arial Black", "Foo ExtraBold") raises it, as
// such faces are heavy whatever weight the dialog reported. 100..900.
int EffectiveWeight(const FontRequest& request);
// The face name without a trailing weight word ("Arial Black" -> "Arial"),
// or the name itself when it has none.
std::string FamilyWithoutWeightWord(std::string_view face);
// fontconfig's weight for a weight on the 100..900 scale.
int FontconfigWeight(int weight);

// The best outline font for the request. A face that does not exist gives the
// closest installed font; nothing only when no outline font is installed.
std::optional<ResolvedFont> ResolveFont(const FontRequest& request);

// fontconfig's fallback order for a request, the order desktop text takes
// when a font lacks a character: outline fonts only (bitmap and colour
// fonts have nothing to extrude), best first.
class FallbackFonts {
public:
    explicit FallbackFonts(const FontRequest& request);
    ~FallbackFonts();
    FallbackFonts(const FallbackFonts&) = delete;
    FallbackFonts& operator=(const FallbackFonts&) = delete;

    std::size_t Count() const;
    bool Covers(std::size_t index, char32_t character) const;
    ResolvedFont Font(std::size_t index) const;

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

// Initialises fontconfig once (later calls are cheap). Call this rather than
// FcInit: the first initialisation loses a few bytes inside fontconfig, and
// this is where the leak-checked build is told that they are not ours.
bool InitialiseFontconfig();

// How much heavier the glyphs are drawn than the file's design, in em, when
// the request is much heavier than the best file found (0 when it is not).
float SyntheticBoldStrength(int requestedWeight, int fileWeight);

// ----- outlines -------------------------------------------------------------

// A glyph's box and advance in em units (em height 1.0).
struct GlyphMetrics {
    float blackBoxX = 0, blackBoxY = 0;
    float originX = 0, originY = 0;
    float cellIncX = 0, cellIncY = 0;
};

struct Point2 {
    float x = 0, y = 0;
};
using Contour = std::vector<Point2>;  // closed: the last point joins the first

// One glyph: closed contours in em units, curves flattened, and its metrics.
struct GlyphOutline {
    std::vector<Contour> contours;
    GlyphMetrics metrics;
};

// An open font file, ready to give outlines. Owns the FreeType library.
class GlyphSource {
public:
    // Opens `font` with synthetic bold and slant where the request asks for
    // more than the file has. Null when FreeType cannot read the file.
    static std::unique_ptr<GlyphSource> Open(const ResolvedFont& font, const FontRequest& request);
    ~GlyphSource();
    GlyphSource(const GlyphSource&) = delete;
    GlyphSource& operator=(const GlyphSource&) = delete;

    // The font's glyph for a character: 0 (the missing-glyph shape) when it has none.
    std::uint32_t GlyphIndex(char32_t character) const;
    // A glyph's outline and metrics by its index in the font.
    GlyphOutline GlyphShape(std::uint32_t glyphIndex) const;
    // The pen advance, in em, of a glyph that shaping advanced by
    // `shapedUnits` font units: synthetic bold widens glyphs with ink, as it
    // widens their outlines.
    float Advance(std::uint32_t glyphIndex, int shapedUnits) const;
    // Baseline to baseline, in em.
    float LineSpacing() const;
    float EmScale() const;  // em per font unit

private:
    struct Impl;
    explicit GlyphSource(std::unique_ptr<Impl> impl);
    std::unique_ptr<Impl> impl_;
};

// Flattening tolerance: the largest distance, in em, between a curve and the
// chords that replace it (a glyph one window high is then smooth to a pixel).
inline constexpr float kCurveTolerance = 0.0008f;

// ----- geometry -------------------------------------------------------------

// The triangles (three points each, counterclockwise seen from +z) that fill
// the contours with the odd winding rule, so inner contours stay holes.
std::vector<Point2> FillTriangles(const std::vector<Contour>& contours);

// For each contour, +1 when the outward side (away from the filled area under
// the odd rule) is to the right of the direction of travel, -1 when it is to
// the left, 0 for a degenerate contour. Works for either orientation
// convention (TrueType or CFF).
std::vector<int> OutwardSides(const std::vector<Contour>& contours);

// ----- extruded meshes --------------------------------------------------------

struct ExtrusionOptions {
    float depth = 0.0f;      // extrusion along -z, in em
    bool wireframe = false;  // line loops instead of faces
};

// A glyph's extruded geometry as the GL calls that draw it, kept so that a
// title's display list can be compiled again without tessellating again.
class GlyphMesh {
public:
    void Begin(std::uint32_t mode) { calls_.push_back({Kind::Begin, mode, 0, 0, 0}); }
    void Normal(float x, float y, float z) { calls_.push_back({Kind::Normal, 0, x, y, z}); }
    void Vertex(float x, float y, float z) { calls_.push_back({Kind::Vertex, 0, x, y, z}); }
    void End() { calls_.push_back({Kind::End, 0, 0, 0, 0}); }
    // Issues the calls; inside glNewList they are compiled.
    void Draw() const;
    bool Empty() const { return calls_.empty(); }

private:
    enum class Kind : std::uint8_t { Begin, Normal, Vertex, End };
    struct Call {
        Kind kind;
        std::uint32_t mode;
        float x, y, z;
    };
    std::vector<Call> calls_;
};

// The glyph's front face (z = 0), back face and side walls, or its outlines
// at both depths when wireframe is asked for.
GlyphMesh BuildGlyphMesh(const GlyphOutline& glyph, const ExtrusionOptions& options);

}  // namespace quorbel
