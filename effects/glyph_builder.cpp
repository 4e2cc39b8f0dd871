#include "effects/glyph_builder.h"

#include <GL/gl.h>
#include <GL/glu.h>
#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_OUTLINE_H

#include <algorithm>
#include <array>
#include <cctype>
#include <cmath>
#include <deque>

#include "platform/library_leaks.h"

namespace quorbel {

// ----- font matching --------------------------------------------------------

namespace {

constexpr int kNormalWeight = 400;
constexpr int kLightestWeight = 100;
constexpr int kHeaviestWeight = 1000;

struct WeightWord {
    const char* word;  // lower case, spaces removed
    int weight;
};
constexpr WeightWord kWeightWords[] = {
    {"black", 900},    {"heavy", 900},     {"extrabold", 800}, {"ultrabold", 800},
    {"bold", 700},     {"semibold", 600},  {"demibold", 600},  {"medium", 500},
};

std::string Lowercase(std::string_view text) {
    std::string lower(text);
    for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return lower;
}

std::vector<std::string_view> SplitWords(std::string_view text) {
    std::vector<std::string_view> words;
    std::size_t at = 0;
    while (at < text.size()) {
        std::size_t start = text.find_first_not_of(" -", at);
        if (start == std::string_view::npos) break;
        std::size_t end = text.find_first_of(" -", start);
        if (end == std::string_view::npos) end = text.size();
        words.push_back(text.substr(start, end - start));
        at = end;
    }
    return words;
}

int WeightOfWord(std::string_view word) {
    std::string lower = Lowercase(word);
    for (const WeightWord& entry : kWeightWords)
        if (lower == entry.word) return entry.weight;
    return 0;
}

// The weight word that ends the face name, one word ("Black") or two
// ("Extra Bold"); how many words it took is returned through `wordCount`.
int TrailingWeightWord(std::string_view face, int& wordCount) {
    std::vector<std::string_view> words = SplitWords(face);
    wordCount = 0;
    if (words.size() >= 3) {
        std::string twoWords = std::string(words[words.size() - 2]) + std::string(words.back());
        if (int weight = WeightOfWord(twoWords)) {
            wordCount = 2;
            return weight;
        }
    }
    if (words.size() >= 2) {
        if (int weight = WeightOfWord(words.back())) {
            wordCount = 1;
            return weight;
        }
    }
    return 0;
}

struct PatternDeleter {
    void operator()(FcPattern* pattern) const { FcPatternDestroy(pattern); }
};
struct FontSetDeleter {
    void operator()(FcFontSet* set) const { FcFontSetDestroy(set); }
};
using PatternPtr = std::unique_ptr<FcPattern, PatternDeleter>;
using FontSetPtr = std::unique_ptr<FcFontSet, FontSetDeleter>;

std::string PatternString(FcPattern* pattern, const char* object) {
    FcChar8* value = nullptr;
    if (FcPatternGetString(pattern, object, 0, &value) != FcResultMatch || !value) return {};
    return reinterpret_cast<const char*>(value);
}

int PatternWeight(FcPattern* pattern) {
    int weight = FC_WEIGHT_REGULAR;
    double exact = 0;
    if (FcPatternGetInteger(pattern, FC_WEIGHT, 0, &weight) != FcResultMatch) {
        weight = FcPatternGetDouble(pattern, FC_WEIGHT, 0, &exact) == FcResultMatch ? static_cast<int>(exact)
                                                                                 : FC_WEIGHT_REGULAR;
    }
    return FcWeightToOpenType(weight);
}

bool IsOutlineFont(FcPattern* pattern) {
    FcBool outline = FcFalse;
    return FcPatternGetBool(pattern, FC_OUTLINE, 0, &outline) == FcResultMatch && outline;
}

ResolvedFont DescribeFont(FcPattern* pattern) {
    ResolvedFont font;
    font.file = PatternString(pattern, FC_FILE);
    FcPatternGetInteger(pattern, FC_INDEX, 0, &font.faceIndex);
    font.family = PatternString(pattern, FC_FAMILY);
    font.style = PatternString(pattern, FC_STYLE);
    font.weight = PatternWeight(pattern);
    int slant = FC_SLANT_ROMAN;
    FcPatternGetInteger(pattern, FC_SLANT, 0, &slant);
    font.italic = slant != FC_SLANT_ROMAN;
    return font;
}

PatternPtr MakeRequestPattern(const FontRequest& request) {
    PatternPtr pattern(FcPatternCreate());
    if (!pattern) return nullptr;
    if (!request.face.empty()) {
        FcPatternAddString(pattern.get(), FC_FAMILY, reinterpret_cast<const FcChar8*>(request.face.c_str()));
        // "Arial Black" missing: "Arial" (or what the system aliases it to)
        // at the heavy weight is the nearest thing.
        std::string family = FamilyWithoutWeightWord(request.face);
        if (family != request.face)
            FcPatternAddString(pattern.get(), FC_FAMILY, reinterpret_cast<const FcChar8*>(family.c_str()));
    }
    FcPatternAddInteger(pattern.get(), FC_WEIGHT, FontconfigWeight(EffectiveWeight(request)));
    FcPatternAddInteger(pattern.get(), FC_SLANT, request.italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
    FcPatternAddBool(pattern.get(), FC_SCALABLE, FcTrue);
    FcConfigSubstitute(nullptr, pattern.get(), FcMatchPattern);
    FcDefaultSubstitute(pattern.get());
    return pattern;
}

}  // namespace

int EffectiveWeight(const FontRequest& request) {
    int weight = request.weight <= 0 ? kNormalWeight : std::clamp(request.weight, kLightestWeight, kHeaviestWeight);
    int wordCount = 0;
    return std::max(weight, TrailingWeightWord(request.face, wordCount));
}

std::string FamilyWithoutWeightWord(std::string_view face) {
    int wordCount = 0;
    if (!TrailingWeightWord(face, wordCount)) return std::string(face);
    std::vector<std::string_view> words = SplitWords(face);
    std::string_view firstDropped = words[words.size() - static_cast<std::size_t>(wordCount)];
    std::size_t keep = static_cast<std::size_t>(firstDropped.data() - face.data());
    std::string family(face.substr(0, keep));
    while (!family.empty() && (family.back() == ' ' || family.back() == '-')) family.pop_back();
    return family;
}

int FontconfigWeight(int weight) { return FcWeightFromOpenType(weight); }

bool InitialiseFontconfig() {
    const KnownLibraryLeak firstInitialisation;
    return FcInit() == FcTrue;
}

std::optional<ResolvedFont> ResolveFont(const FontRequest& request) {
    if (!InitialiseFontconfig()) return std::nullopt;
    PatternPtr pattern = MakeRequestPattern(request);
    if (!pattern) return std::nullopt;
    FcResult result = FcResultNoMatch;
    FontSetPtr sorted(FcFontSort(nullptr, pattern.get(), FcFalse, nullptr, &result));
    if (!sorted) return std::nullopt;
    // Sorted best first; bitmap-only fonts have no outlines to extrude.
    for (int i = 0; i < sorted->nfont; ++i) {
        FcPattern* candidate = sorted->fonts[i];
        if (!IsOutlineFont(candidate)) continue;
        ResolvedFont font = DescribeFont(candidate);
        if (!font.file.empty()) return font;
    }
    return std::nullopt;
}

struct FallbackFonts::Impl {
    FontSetPtr sorted;
    std::vector<FcPattern*> outlineFonts;  // owned by `sorted`
};

FallbackFonts::FallbackFonts(const FontRequest& request) : impl_(std::make_unique<Impl>()) {
    if (!InitialiseFontconfig()) return;
    PatternPtr pattern = MakeRequestPattern(request);
    if (!pattern) return;
    FcResult result = FcResultNoMatch;
    impl_->sorted.reset(FcFontSort(nullptr, pattern.get(), FcFalse, nullptr, &result));
    if (!impl_->sorted) return;
    for (int i = 0; i < impl_->sorted->nfont; ++i) {
        FcPattern* candidate = impl_->sorted->fonts[i];
        if (IsOutlineFont(candidate) && !PatternString(candidate, FC_FILE).empty())
            impl_->outlineFonts.push_back(candidate);
    }
}

FallbackFonts::~FallbackFonts() = default;

std::size_t FallbackFonts::Count() const { return impl_->outlineFonts.size(); }

bool FallbackFonts::Covers(std::size_t index, char32_t character) const {
    FcCharSet* characters = nullptr;
    if (index >= Count() ||
        FcPatternGetCharSet(impl_->outlineFonts[index], FC_CHARSET, 0, &characters) != FcResultMatch)
        return false;
    return FcCharSetHasChar(characters, character) == FcTrue;
}

ResolvedFont FallbackFonts::Font(std::size_t index) const {
    return index < Count() ? DescribeFont(impl_->outlineFonts[index]) : ResolvedFont{};
}

float SyntheticBoldStrength(int requestedWeight, int fileWeight) {
    // Below two weight steps the file's own design is close enough; beyond,
    // thicken by 1.5 % of the em per step, as far as a black face is from a
    // bold one (thicker still would close the small counters).
    constexpr int kThreshold = 200;
    constexpr float kPerStep = 0.015f;
    constexpr float kMaximum = 0.03f;
    int difference = requestedWeight - fileWeight;
    if (difference < kThreshold) return 0.0f;
    return std::min(kMaximum, kPerStep * static_cast<float>(difference) / 100.0f);
}

// ----- outlines -------------------------------------------------------------

namespace {

// Turns FreeType's lines and Bézier curves into closed polygons, in font
// units, with enough chords that no chord strays more than `tolerance`.
class OutlineFlattener {
public:
    explicit OutlineFlattener(float tolerance) : tolerance_(tolerance) {}

    std::vector<Contour> Flatten(FT_Outline& outline) {
        FT_Outline_Funcs funcs{};
        funcs.move_to = &MoveTo;
        funcs.line_to = &LineTo;
        funcs.conic_to = &ConicTo;
        funcs.cubic_to = &CubicTo;
        FT_Outline_Decompose(&outline, &funcs, this);
        FinishContour();
        return std::move(contours_);
    }

private:
    static Point2 ToPoint(const FT_Vector* v) { return {static_cast<float>(v->x), static_cast<float>(v->y)}; }
    static OutlineFlattener& Self(void* user) { return *static_cast<OutlineFlattener*>(user); }

    static int MoveTo(const FT_Vector* to, void* user) {
        Self(user).FinishContour();
        Self(user).Add(ToPoint(to));
        return 0;
    }
    static int LineTo(const FT_Vector* to, void* user) {
        Self(user).Add(ToPoint(to));
        return 0;
    }
    static int ConicTo(const FT_Vector* control, const FT_Vector* to, void* user) {
        Self(user).Quadratic(ToPoint(control), ToPoint(to));
        return 0;
    }
    static int CubicTo(const FT_Vector* c1, const FT_Vector* c2, const FT_Vector* to, void* user) {
        Self(user).Cubic(ToPoint(c1), ToPoint(c2), ToPoint(to));
        return 0;
    }

    static float Length(float x, float y) { return std::sqrt(x * x + y * y); }

    // The chord error of n equal steps is at most |second difference| x
    // (constant) / n^2, so n grows with the square root of the bend.
    int SegmentsFor(float bend) const {
        constexpr int kMaxSegments = 128;
        int n = static_cast<int>(std::ceil(std::sqrt(bend / tolerance_)));
        return std::clamp(n, 1, kMaxSegments);
    }

    void Quadratic(Point2 c, Point2 to) {
        Point2 from = last_;
        float bend = Length(from.x - 2 * c.x + to.x, from.y - 2 * c.y + to.y) / 4.0f;
        int n = SegmentsFor(bend);
        for (int i = 1; i <= n; ++i) {
            float t = static_cast<float>(i) / static_cast<float>(n), u = 1.0f - t;
            Add({u * u * from.x + 2 * u * t * c.x + t * t * to.x, u * u * from.y + 2 * u * t * c.y + t * t * to.y});
        }
    }

    void Cubic(Point2 c1, Point2 c2, Point2 to) {
        Point2 from = last_;
        float bend1 = Length(from.x - 2 * c1.x + c2.x, from.y - 2 * c1.y + c2.y);
        float bend2 = Length(c1.x - 2 * c2.x + to.x, c1.y - 2 * c2.y + to.y);
        int n = SegmentsFor(0.75f * std::max(bend1, bend2));
        for (int i = 1; i <= n; ++i) {
            float t = static_cast<float>(i) / static_cast<float>(n), u = 1.0f - t;
            float a = u * u * u, b = 3 * u * u * t, d = 3 * u * t * t, e = t * t * t;
            Add({a * from.x + b * c1.x + d * c2.x + e * to.x, a * from.y + b * c1.y + d * c2.y + e * to.y});
        }
    }

    void Add(Point2 p) {
        last_ = p;
        if (!current_.empty() && current_.back().x == p.x && current_.back().y == p.y) return;
        current_.push_back(p);
    }

    void FinishContour() {
        while (current_.size() > 1 && current_.back().x == current_.front().x &&
               current_.back().y == current_.front().y)
            current_.pop_back();
        if (current_.size() >= 3) contours_.push_back(std::move(current_));
        current_.clear();
    }

    float tolerance_;
    Point2 last_;
    Contour current_;
    std::vector<Contour> contours_;
};

GlyphMetrics MeasureContours(const std::vector<Contour>& contours, float advance) {
    GlyphMetrics metrics;
    metrics.cellIncX = advance;
    bool any = false;
    float minX = 0, maxX = 0, minY = 0, maxY = 0;
    for (const Contour& contour : contours)
        for (const Point2& p : contour) {
            if (!any) {
                minX = maxX = p.x;
                minY = maxY = p.y;
                any = true;
            }
            minX = std::min(minX, p.x);
            maxX = std::max(maxX, p.x);
            minY = std::min(minY, p.y);
            maxY = std::max(maxY, p.y);
        }
    if (!any) return metrics;
    metrics.blackBoxX = maxX - minX;
    metrics.blackBoxY = maxY - minY;
    metrics.originX = minX;
    metrics.originY = maxY;
    return metrics;
}

}  // namespace

struct GlyphSource::Impl {
    FT_Library library = nullptr;
    FT_Face face = nullptr;
    float emScale = 1.0f;         // font units -> em
    FT_Pos emboldenUnits = 0;     // synthetic bold, in font units
    bool oblique = false;         // synthetic slant
    bool symbolCharmap = false;   // symbol fonts keep their characters at U+F0xx

    ~Impl() {
        if (face) FT_Done_Face(face);
        if (library) FT_Done_FreeType(library);
    }

    FT_UInt GlyphIndex(char32_t character) const {
        if (!symbolCharmap) return FT_Get_Char_Index(face, character);
        FT_UInt index = FT_Get_Char_Index(face, 0xF000u | character);
        return index ? index : FT_Get_Char_Index(face, character);
    }

    bool Load(FT_UInt index) const {
        return FT_Load_Glyph(face, index, FT_LOAD_NO_SCALE | FT_LOAD_NO_HINTING | FT_LOAD_NO_BITMAP) == 0;
    }

    bool HasInk(FT_UInt index) const {
        return Load(index) && face->glyph->format == FT_GLYPH_FORMAT_OUTLINE && face->glyph->outline.n_points > 0;
    }
};

GlyphSource::GlyphSource(std::unique_ptr<Impl> impl) : impl_(std::move(impl)) {}
GlyphSource::~GlyphSource() = default;

std::unique_ptr<GlyphSource> GlyphSource::Open(const ResolvedFont& font, const FontRequest& request) {
    auto impl = std::make_unique<Impl>();
    if (FT_Init_FreeType(&impl->library) != 0) return nullptr;
    if (FT_New_Face(impl->library, font.file.c_str(), font.faceIndex, &impl->face) != 0) {
        impl->face = nullptr;
        return nullptr;
    }
    FT_Face face = impl->face;
    if (!FT_IS_SCALABLE(face) || face->units_per_EM == 0) return nullptr;
    if (FT_Select_Charmap(face, FT_ENCODING_UNICODE) != 0)
        impl->symbolCharmap = FT_Select_Charmap(face, FT_ENCODING_MS_SYMBOL) == 0;
    impl->emScale = 1.0f / static_cast<float>(face->units_per_EM);
    float bold = SyntheticBoldStrength(EffectiveWeight(request), font.weight);
    impl->emboldenUnits = static_cast<FT_Pos>(std::lround(bold * static_cast<float>(face->units_per_EM)));
    impl->oblique = request.italic && !font.italic;
    return std::unique_ptr<GlyphSource>(new GlyphSource(std::move(impl)));
}

std::uint32_t GlyphSource::GlyphIndex(char32_t character) const { return impl_->GlyphIndex(character); }

GlyphOutline GlyphSource::GlyphShape(std::uint32_t glyphIndex) const {
    GlyphOutline glyph;
    FT_Face face = impl_->face;
    if (!impl_->Load(glyphIndex)) return glyph;
    FT_GlyphSlot slot = face->glyph;
    float advanceUnits = static_cast<float>(slot->advance.x);
    if (slot->format == FT_GLYPH_FORMAT_OUTLINE) {
        FT_Outline& outline = slot->outline;
        if (impl_->emboldenUnits > 0 && outline.n_points > 0) {
            FT_Outline_EmboldenXY(&outline, impl_->emboldenUnits, impl_->emboldenUnits);
            advanceUnits += static_cast<float>(impl_->emboldenUnits);
        }
        if (impl_->oblique) {
            // The usual synthetic slant: x += 0.2 y.
            FT_Matrix shear{0x10000, 0x0366A, 0, 0x10000};
            FT_Outline_Transform(&outline, &shear);
        }
        OutlineFlattener flattener(kCurveTolerance * static_cast<float>(face->units_per_EM));
        glyph.contours = flattener.Flatten(outline);
    }
    const float scale = impl_->emScale;
    for (Contour& contour : glyph.contours)
        for (Point2& p : contour) {
            p.x *= scale;
            p.y *= scale;
        }
    glyph.metrics = MeasureContours(glyph.contours, advanceUnits * scale);
    return glyph;
}

// The same sum GlyphShape makes, so that a shaped advance equal to the
// font's own gives the very same float.
float GlyphSource::Advance(std::uint32_t glyphIndex, int shapedUnits) const {
    float advanceUnits = static_cast<float>(shapedUnits);
    if (impl_->emboldenUnits > 0 && impl_->HasInk(glyphIndex)) advanceUnits += static_cast<float>(impl_->emboldenUnits);
    return advanceUnits * impl_->emScale;
}

float GlyphSource::LineSpacing() const { return static_cast<float>(impl_->face->height) * impl_->emScale; }
float GlyphSource::EmScale() const { return impl_->emScale; }

// ----- geometry -------------------------------------------------------------

namespace {

using TessVertex = std::array<double, 3>;

struct TessellationState {
    std::deque<TessVertex> vertices;  // stable addresses for the tessellator
    std::vector<Point2> triangles;
    bool failed = false;
};

TessellationState& StateOf(void* data) { return *static_cast<TessellationState*>(data); }

void GLAPIENTRY TessBegin(GLenum, void*) {}
void GLAPIENTRY TessEnd(void*) {}
// Having an edge-flag callback makes the tessellator emit plain triangles.
void GLAPIENTRY TessEdgeFlag(GLboolean, void*) {}
void GLAPIENTRY TessVertexData(void* vertex, void* data) {
    const TessVertex& v = *static_cast<const TessVertex*>(vertex);
    StateOf(data).triangles.push_back({static_cast<float>(v[0]), static_cast<float>(v[1])});
}
void GLAPIENTRY TessCombine(GLdouble coords[3], void*[4], GLfloat[4], void** out, void* data) {
    TessellationState& state = StateOf(data);
    state.vertices.push_back({coords[0], coords[1], 0.0});
    *out = &state.vertices.back();
}
void GLAPIENTRY TessError(GLenum, void* data) { StateOf(data).failed = true; }

template <typename F>
_GLUfuncptr AsGluCallback(F* function) {
    return reinterpret_cast<_GLUfuncptr>(function);
}

float TwiceSignedArea(Point2 a, Point2 b, Point2 c) { return (b.x - a.x) * (c.y - a.y) - (c.x - a.x) * (b.y - a.y); }

void MakeCounterclockwise(std::vector<Point2>& triangles) {
    std::vector<Point2> kept;
    kept.reserve(triangles.size());
    for (std::size_t i = 0; i + 2 < triangles.size(); i += 3) {
        Point2 a = triangles[i], b = triangles[i + 1], c = triangles[i + 2];
        float area = TwiceSignedArea(a, b, c);
        if (area == 0.0f) continue;
        if (area < 0.0f) std::swap(b, c);
        kept.insert(kept.end(), {a, b, c});
    }
    triangles = std::move(kept);
}

double SignedArea(const Contour& contour) {
    double area = 0;
    for (std::size_t i = 0, n = contour.size(); i < n; ++i) {
        const Point2& p = contour[i];
        const Point2& q = contour[(i + 1) % n];
        area += static_cast<double>(p.x) * q.y - static_cast<double>(q.x) * p.y;
    }
    return area / 2;
}

bool ContainsPoint(const Contour& contour, Point2 point) {
    bool inside = false;
    for (std::size_t i = 0, j = contour.size() - 1; i < contour.size(); j = i++) {
        const Point2& a = contour[i];
        const Point2& b = contour[j];
        if ((a.y > point.y) != (b.y > point.y) && point.x < (b.x - a.x) * (point.y - a.y) / (b.y - a.y) + a.x)
            inside = !inside;
    }
    return inside;
}

}  // namespace

std::vector<Point2> FillTriangles(const std::vector<Contour>& contours) {
    TessellationState state;
    GLUtesselator* tess = gluNewTess();
    if (!tess) return {};
    gluTessCallback(tess, GLU_TESS_BEGIN_DATA, AsGluCallback(&TessBegin));
    gluTessCallback(tess, GLU_TESS_END_DATA, AsGluCallback(&TessEnd));
    gluTessCallback(tess, GLU_TESS_EDGE_FLAG_DATA, AsGluCallback(&TessEdgeFlag));
    gluTessCallback(tess, GLU_TESS_VERTEX_DATA, AsGluCallback(&TessVertexData));
    gluTessCallback(tess, GLU_TESS_COMBINE_DATA, AsGluCallback(&TessCombine));
    gluTessCallback(tess, GLU_TESS_ERROR_DATA, AsGluCallback(&TessError));
    gluTessProperty(tess, GLU_TESS_WINDING_RULE, GLU_TESS_WINDING_ODD);
    gluTessNormal(tess, 0.0, 0.0, 1.0);
    gluTessBeginPolygon(tess, &state);
    for (const Contour& contour : contours) {
        gluTessBeginContour(tess);
        for (const Point2& p : contour) {
            state.vertices.push_back({p.x, p.y, 0.0});
            gluTessVertex(tess, state.vertices.back().data(), &state.vertices.back());
        }
        gluTessEndContour(tess);
    }
    gluTessEndPolygon(tess);
    gluDeleteTess(tess);
    if (state.failed) return {};
    MakeCounterclockwise(state.triangles);
    return std::move(state.triangles);
}

std::vector<int> OutwardSides(const std::vector<Contour>& contours) {
    std::vector<int> sides(contours.size(), 0);
    for (std::size_t i = 0; i < contours.size(); ++i) {
        const Contour& contour = contours[i];
        double area = SignedArea(contour);
        if (contour.size() < 3 || std::abs(area) < 1e-12) continue;
        // A point on this contour lies inside an even number of the others
        // when the contour bounds a filled region, an odd number for a hole.
        Point2 probe{(contour[0].x + contour[1].x) / 2, (contour[0].y + contour[1].y) / 2};
        int enclosing = 0;
        for (std::size_t j = 0; j < contours.size(); ++j)
            if (j != i && contours[j].size() >= 3 && ContainsPoint(contours[j], probe)) ++enclosing;
        bool counterclockwise = area > 0;
        bool outer = enclosing % 2 == 0;
        // Counterclockwise around a filled region: the fill is on the left.
        sides[i] = counterclockwise == outer ? 1 : -1;
    }
    return sides;
}

// ----- meshes ---------------------------------------------------------------

namespace {

struct Normal2 {
    float x = 0, y = 0;
};

Normal2 Normalised(float x, float y) {
    float length = std::sqrt(x * x + y * y);
    if (length == 0.0f) return {};
    return {x / length, y / length};
}

// Neighbouring wall segments bending less than this share a normal at their
// common corner, so curves shade smoothly while corners stay sharp.
constexpr float kSmoothCornerCos = 0.82f;  // about 35 degrees

void EmitWallCorner(GlyphMesh& mesh, Point2 p, Normal2 n, float zFront, float zBack, bool front) {
    mesh.Normal(n.x, n.y, 0.0f);
    mesh.Vertex(p.x, p.y, front ? zFront : zBack);
}

void EmitContourWalls(GlyphMesh& mesh, const Contour& contour, int side, float zFront, float zBack) {
    const std::size_t n = contour.size();
    std::vector<Normal2> edgeNormals(n);
    for (std::size_t i = 0; i < n; ++i) {
        Point2 a = contour[i], b = contour[(i + 1) % n];
        float dx = b.x - a.x, dy = b.y - a.y;
        edgeNormals[i] = Normalised(side * dy, -side * dx);
    }
    auto cornerNormal = [&](std::size_t corner, std::size_t ownEdge) {
        Normal2 before = edgeNormals[(corner + n - 1) % n], after = edgeNormals[corner % n];
        if (before.x * after.x + before.y * after.y < kSmoothCornerCos) return edgeNormals[ownEdge];
        return Normalised(before.x + after.x, before.y + after.y);
    };
    for (std::size_t i = 0; i < n; ++i) {
        std::size_t next = (i + 1) % n;
        Normal2 na = cornerNormal(i, i), nb = cornerNormal(next, i);
        Point2 a = contour[i], b = contour[next];
        // Counterclockwise seen from outside the letter.
        if (side > 0) {
            EmitWallCorner(mesh, a, na, zFront, zBack, true);
            EmitWallCorner(mesh, a, na, zFront, zBack, false);
            EmitWallCorner(mesh, b, nb, zFront, zBack, false);
            EmitWallCorner(mesh, b, nb, zFront, zBack, true);
        } else {
            EmitWallCorner(mesh, a, na, zFront, zBack, true);
            EmitWallCorner(mesh, b, nb, zFront, zBack, true);
            EmitWallCorner(mesh, b, nb, zFront, zBack, false);
            EmitWallCorner(mesh, a, na, zFront, zBack, false);
        }
    }
}

void EmitOutlineLoops(GlyphMesh& mesh, const std::vector<Contour>& contours, float z, float normalZ) {
    mesh.Normal(0.0f, 0.0f, normalZ);
    for (const Contour& contour : contours) {
        mesh.Begin(GL_LINE_LOOP);
        for (const Point2& p : contour) mesh.Vertex(p.x, p.y, z);
        mesh.End();
    }
}

void EmitFaces(GlyphMesh& mesh, const std::vector<Point2>& triangles, float zFront, float zBack, float facing) {
    mesh.Normal(0.0f, 0.0f, facing);
    mesh.Begin(GL_TRIANGLES);
    for (const Point2& p : triangles) mesh.Vertex(p.x, p.y, zFront);
    mesh.End();
    // The back face is seen from the other side: reverse each triangle.
    mesh.Normal(0.0f, 0.0f, -facing);
    mesh.Begin(GL_TRIANGLES);
    for (std::size_t i = 0; i + 2 < triangles.size(); i += 3) {
        mesh.Vertex(triangles[i].x, triangles[i].y, zBack);
        mesh.Vertex(triangles[i + 2].x, triangles[i + 2].y, zBack);
        mesh.Vertex(triangles[i + 1].x, triangles[i + 1].y, zBack);
    }
    mesh.End();
}

}  // namespace

void GlyphMesh::Draw() const {
    for (const Call& call : calls_) {
        switch (call.kind) {
            case Kind::Begin: glBegin(call.mode); break;
            case Kind::Normal: glNormal3f(call.x, call.y, call.z); break;
            case Kind::Vertex: glVertex3f(call.x, call.y, call.z); break;
            case Kind::End: glEnd(); break;
        }
    }
}

GlyphMesh BuildGlyphMesh(const GlyphOutline& glyph, const ExtrusionOptions& options) {
    GlyphMesh mesh;
    if (glyph.contours.empty()) return mesh;
    // A depth from a damaged settings file must not poison the geometry.
    float depth = std::isfinite(options.depth) ? options.depth : 0.0f;
    const float zFront = 0.0f, zBack = -depth;
    const float facing = depth >= 0.0f ? 1.0f : -1.0f;
    if (options.wireframe) {
        EmitOutlineLoops(mesh, glyph.contours, zFront, facing);
        EmitOutlineLoops(mesh, glyph.contours, zBack, -facing);
        return mesh;
    }
    EmitFaces(mesh, FillTriangles(glyph.contours), zFront, zBack, facing);
    if (depth == 0.0f) return mesh;
    std::vector<int> sides = OutwardSides(glyph.contours);
    mesh.Begin(GL_QUADS);
    for (std::size_t i = 0; i < glyph.contours.size(); ++i)
        if (sides[i] != 0) EmitContourWalls(mesh, glyph.contours[i], sides[i], zFront, zBack);
    mesh.End();
    return mesh;
}


}  // namespace quorbel
