#include "backends/freetype/freetype_font_source.h"

#include <algorithm>
#include <array>
#include <iostream>
#include <utility>

#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_SYNTHESIS_H
#include FT_TRUETYPE_TABLES_H

#include "core/sjis.h"

namespace veskar {

namespace {

// Decodes UTF-8 into code points; a malformed sequence gives U+FFFD.
std::u32string decodeUtf8(std::string_view text) {
    std::u32string out;
    std::size_t i = 0;
    while (i < text.size()) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        int extra = 0;
        char32_t cp = 0;
        if (c < 0x80) {
            cp = c;
        } else if ((c & 0xE0) == 0xC0) {
            extra = 1;
            cp = c & 0x1F;
        } else if ((c & 0xF0) == 0xE0) {
            extra = 2;
            cp = c & 0x0F;
        } else if ((c & 0xF8) == 0xF0) {
            extra = 3;
            cp = c & 0x07;
        } else {
            out.push_back(0xFFFD);
            ++i;
            continue;
        }
        if (i + static_cast<std::size_t>(extra) >= text.size()) {
            out.push_back(0xFFFD);
            break;
        }
        bool ok = true;
        for (int k = 1; k <= extra; ++k) {
            const unsigned char t = static_cast<unsigned char>(text[i + static_cast<std::size_t>(k)]);
            if ((t & 0xC0) != 0x80) {
                ok = false;
                break;
            }
            cp = (cp << 6) | (t & 0x3F);
        }
        if (!ok) {
            out.push_back(0xFFFD);
            ++i;
            continue;
        }
        out.push_back(cp);
        i += static_cast<std::size_t>(extra) + 1;
    }
    return out;
}

void appendUtf8(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out.push_back(static_cast<char>(cp));
    } else if (cp < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else if (cp < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    }
}

// Face names as Windows users type them mix full-width and half-width Latin
// letters and blanks ("ＭＳ Ｐゴシック", "MS PGothic"); compare them folded.
std::string foldFaceName(std::string_view utf8) {
    std::string out;
    for (char32_t cp : decodeUtf8(utf8)) {
        if (cp >= 0xFF01 && cp <= 0xFF5E) cp -= 0xFEE0;
        if (cp == ' ' || cp == '\t' || cp == 0x3000) continue;
        if (cp >= 'A' && cp <= 'Z') cp = cp - 'A' + 'a';
        appendUtf8(out, cp);
    }
    return out;
}

struct Substitution {
    std::string_view folded;
    std::string_view family;
};

// Keys as foldFaceName gives them ("ＭＳ Ｐゴシック" -> "mspゴシック").
constexpr std::array kSubstitutions{
    Substitution{"msゴシック", "IPAGothic"},  Substitution{"mspゴシック", "IPAPGothic"},
    Substitution{"msgothic", "IPAGothic"},    Substitution{"mspgothic", "IPAPGothic"},
    Substitution{"msuigothic", "IPAPGothic"}, Substitution{"ms明朝", "IPAMincho"},
    Substitution{"msp明朝", "IPAPMincho"},    Substitution{"msmincho", "IPAMincho"},
    Substitution{"mspmincho", "IPAPMincho"},
};

constexpr std::string_view kPreferredJapaneseFace = "IPAGothic";

std::optional<FaceLocation> locationOf(FcPattern* match) {
    FcChar8* file = nullptr;
    if (FcPatternGetString(match, FC_FILE, 0, &file) != FcResultMatch || file == nullptr) return std::nullopt;
    FaceLocation location;
    location.file = reinterpret_cast<const char*>(file);
    int index = 0;
    if (FcPatternGetInteger(match, FC_INDEX, 0, &index) == FcResultMatch) location.index = index;
    FcChar8* family = nullptr;
    if (FcPatternGetString(match, FC_FAMILY, 0, &family) == FcResultMatch && family != nullptr)
        location.family = reinterpret_cast<const char*>(family);
    return location;
}

// fontconfig always answers with some font; this says whether it is the one asked for.
bool hasFamily(FcPattern* match, std::string_view folded) {
    FcChar8* family = nullptr;
    for (int n = 0; FcPatternGetString(match, FC_FAMILY, n, &family) == FcResultMatch; ++n)
        if (family != nullptr && foldFaceName(reinterpret_cast<const char*>(family)) == folded) return true;
    return false;
}

class FcPatternHandle {
public:
    explicit FcPatternHandle(FcPattern* pattern) : pattern_(pattern) {}
    ~FcPatternHandle() {
        if (pattern_ != nullptr) FcPatternDestroy(pattern_);
    }
    FcPatternHandle(const FcPatternHandle&) = delete;
    FcPatternHandle& operator=(const FcPatternHandle&) = delete;
    FcPattern* get() const { return pattern_; }

private:
    FcPattern* pattern_;
};

FcPattern* matchPattern(FcPattern* pattern) {
    if (!FcConfigSubstitute(nullptr, pattern, FcMatchPattern)) return nullptr;
    FcDefaultSubstitute(pattern);
    FcResult result = FcResultNoMatch;
    return FcFontMatch(nullptr, pattern, &result);
}

int scaleToPixels(long fontUnits, int pixelSize, int unitsPerEm) {
    if (unitsPerEm <= 0) return 0;
    const long long scaled = static_cast<long long>(fontUnits) * pixelSize;
    return static_cast<int>((scaled + unitsPerEm / 2) / unitsPerEm);
}

} // namespace

std::optional<std::string_view> substituteFaceName(std::string_view utf8Name) {
    const std::string folded = foldFaceName(utf8Name);
    for (const auto& s : kSubstitutions)
        if (s.folded == folded) return s.family;
    return std::nullopt;
}

std::optional<FaceLocation> lookupFace(std::string_view utf8Family) {
    const std::string folded = foldFaceName(utf8Family);
    if (folded.empty()) return std::nullopt;
    const std::string family(utf8Family);
    FcPatternHandle pattern(FcPatternCreate());
    if (pattern.get() == nullptr) return std::nullopt;
    FcPatternAddString(pattern.get(), FC_FAMILY, reinterpret_cast<const FcChar8*>(family.c_str()));
    FcPatternHandle match(matchPattern(pattern.get()));
    if (match.get() == nullptr || !hasFamily(match.get(), folded)) return std::nullopt;
    return locationOf(match.get());
}

std::optional<FaceLocation> lookupJapaneseFace() {
    if (auto preferred = lookupFace(kPreferredJapaneseFace)) return preferred;
    FcPatternHandle pattern(FcPatternCreate());
    if (pattern.get() == nullptr) return std::nullopt;
    FcPatternAddString(pattern.get(), FC_LANG, reinterpret_cast<const FcChar8*>("ja"));
    FcPatternHandle match(matchPattern(pattern.get()));
    if (match.get() == nullptr) return std::nullopt;
    FcLangSet* langs = nullptr;
    if (FcPatternGetLangSet(match.get(), FC_LANG, 0, &langs) != FcResultMatch ||
        FcLangSetHasLang(langs, reinterpret_cast<const FcChar8*>("ja")) != FcLangEqual)
        return std::nullopt;
    return locationOf(match.get());
}

struct FreeTypeFontSource::Library {
    FT_Library library = nullptr;
    FT_Face face = nullptr;
};

FreeTypeFontSource::FreeTypeFontSource() : ft_(new Library) {
    if (FT_Init_FreeType(&ft_->library) != 0) {
        ft_->library = nullptr;
        std::cerr << "veskar: FreeType could not be initialised; text will not be drawn\n";
    }
}

FreeTypeFontSource::FreeTypeFontSource(std::filesystem::path fontFile) : FreeTypeFontSource() {
    pinnedFile_ = std::move(fontFile);
    openFace(FaceLocation{*pinnedFile_, 0, {}});
}

FreeTypeFontSource::~FreeTypeFontSource() {
    if (ft_->face != nullptr) FT_Done_Face(ft_->face);
    if (ft_->library != nullptr) FT_Done_FreeType(ft_->library);
    delete ft_;
}

std::optional<FaceLocation> FreeTypeFontSource::currentFace() const {
    if (ft_->face == nullptr) return std::nullopt;
    return open_;
}

std::optional<FaceLocation> FreeTypeFontSource::resolve(const std::string& faceName) {
    if (pinnedFile_) return FaceLocation{*pinnedFile_, 0, {}};
    if (auto known = resolved_.find(faceName); known != resolved_.end()) return known->second;

    const std::string utf8 = cp932ToUtf8(faceName);
    std::optional<FaceLocation> location = lookupFace(utf8);
    if (!location) {
        if (auto substitute = substituteFaceName(utf8)) location = lookupFace(*substitute);
    }
    if (!location) {
        location = lookupJapaneseFace();
        // A game that names no face simply gets the default one.
        if (warned_.insert(faceName).second && !(faceName.empty() && location)) {
            if (location)
                std::cerr << "veskar: font face \"" << utf8 << "\" is not installed; using \""
                          << location->family << "\" (" << location->file.string() << ")\n";
            else
                std::cerr << "veskar: font face \"" << utf8
                          << "\" is not installed and no Japanese face is; text will not be drawn\n";
        }
    }
    resolved_[faceName] = location;
    return location;
}

void FreeTypeFontSource::openFace(const std::optional<FaceLocation>& location) {
    if (location == open_ && (ft_->face != nullptr || openFailed_)) return;
    if (ft_->face != nullptr) {
        FT_Done_Face(ft_->face);
        ft_->face = nullptr;
    }
    open_ = location;
    openFailed_ = false;
    sizeApplied_ = 0;
    if (!location || ft_->library == nullptr) return;
    if (FT_New_Face(ft_->library, location->file.c_str(), location->index, &ft_->face) != 0) {
        ft_->face = nullptr;
        openFailed_ = true;
        std::cerr << "veskar: cannot open font file " << location->file.string()
                  << "; text will not be drawn\n";
    }
}

void FreeTypeFontSource::selectFace(const std::string& faceName, int pixelSize, bool bold) {
    // Called before every glyph: only a new name costs a lookup.
    if (!haveSelection_ || faceName != selectedName_) {
        selectedName_ = faceName;
        haveSelection_ = true;
        openFace(resolve(faceName));
    }
    pixelSize_ = std::clamp(pixelSize, kMinPixelSize, kMaxPixelSize);
    bold_ = bold;
}

void FreeTypeFontSource::applySize() {
    if (ft_->face == nullptr || sizeApplied_ == pixelSize_) return;
    FT_Set_Pixel_Sizes(ft_->face, 0, static_cast<FT_UInt>(pixelSize_));
    sizeApplied_ = pixelSize_;
}

FontMetrics FreeTypeFontSource::metrics() {
    FontMetrics m;
    if (ft_->face == nullptr) return m;
    applySize();
    FT_Face face = ft_->face;
    // The Windows metrics the games were laid out with, where the face has them.
    const auto* os2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
    if (os2 != nullptr && os2->version != 0xFFFF && (os2->usWinAscent != 0 || os2->usWinDescent != 0)) {
        m.ascent = scaleToPixels(os2->usWinAscent, pixelSize_, face->units_per_EM);
        m.descent = scaleToPixels(os2->usWinDescent, pixelSize_, face->units_per_EM);
    } else if (FT_IS_SCALABLE(face)) {
        m.ascent = scaleToPixels(face->ascender, pixelSize_, face->units_per_EM);
        m.descent = scaleToPixels(-face->descender, pixelSize_, face->units_per_EM);
    } else {
        m.ascent = static_cast<int>((face->size->metrics.ascender + 32) >> 6);
        m.descent = static_cast<int>((-face->size->metrics.descender + 32) >> 6);
    }
    m.height = m.ascent + m.descent;
    return m;
}

GlyphRaster FreeTypeFontSource::glyph(std::uint16_t code) {
    GlyphRaster raster;
    if (ft_->face == nullptr || code == 0) return raster;
    applySize();

    std::string bytes;
    if (code > 0xFF) bytes.push_back(static_cast<char>(code >> 8));
    bytes.push_back(static_cast<char>(code & 0xFF));
    const std::u32string text = decodeUtf8(cp932ToUtf8(bytes));
    // A code CP932 does not map draws as nothing rather than as a substitute.
    if (text.size() != 1 || text[0] == 0xFFFD || text[0] < 0x20) return raster;

    FT_Face face = ft_->face;
    const FT_UInt index = FT_Get_Char_Index(face, text[0]);
    if (index == 0) return raster;
    // No hinting and no embedded bitmaps: the same outline always gives the
    // same raster, whatever the system's font configuration says.
    if (FT_Load_Glyph(face, index, FT_LOAD_NO_HINTING | FT_LOAD_NO_BITMAP) != 0) return raster;
    FT_GlyphSlot slot = face->glyph;
    if (bold_ && slot->format == FT_GLYPH_FORMAT_OUTLINE) FT_GlyphSlot_Embolden(slot);
    raster.advance = static_cast<int>((slot->advance.x + 32) >> 6);
    if (FT_Render_Glyph(slot, FT_RENDER_MODE_NORMAL) != 0) return raster;

    const FT_Bitmap& bitmap = slot->bitmap;
    if (bitmap.pixel_mode != FT_PIXEL_MODE_GRAY || bitmap.buffer == nullptr || bitmap.width == 0 ||
        bitmap.rows == 0 || bitmap.pitch < static_cast<int>(bitmap.width))
        return raster;
    const int maxLevel = bitmap.num_grays > 1 ? bitmap.num_grays - 1 : 255;
    raster.width = static_cast<int>(bitmap.width);
    raster.height = static_cast<int>(bitmap.rows);
    raster.originX = slot->bitmap_left;
    raster.originY = slot->bitmap_top;
    raster.levels.resize(static_cast<std::size_t>(raster.width) * static_cast<std::size_t>(raster.height));
    for (int y = 0; y < raster.height; ++y) {
        const unsigned char* row = bitmap.buffer + static_cast<std::ptrdiff_t>(y) * bitmap.pitch;
        for (int x = 0; x < raster.width; ++x)
            raster.levels[static_cast<std::size_t>(y * raster.width + x)] =
                static_cast<std::uint8_t>((row[x] * 64 + maxLevel / 2) / maxLevel);
    }
    return raster;
}

} // namespace veskar
