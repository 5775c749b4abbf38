#pragma once
// Glyph rasters from FreeType, faces found through fontconfig.
//
// Glyphs are rendered without hinting and without embedded bitmaps, so a given
// font file and FreeType build give the same rasters on every run.

#include <cstdint>
#include <filesystem>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <string_view>

#include "platform/font_source.h"

namespace veskar {

// Where a face lives: a font file and the face's index inside it.
struct FaceLocation {
    std::filesystem::path file;
    int index = 0;
    std::string family; // as fontconfig names it (UTF-8)
    bool operator==(const FaceLocation&) const = default;
};

// Windows face names ("ＭＳ ゴシック", "MS Mincho" ...) that games name and
// that no Linux system has, with the installed faces that stand in for them.
// `utf8Name` is compared ignoring case, blanks and full-width Latin letters.
std::optional<std::string_view> substituteFaceName(std::string_view utf8Name);

// Finds an installed face whose family is exactly `utf8Family` (after the
// substitution above). Nothing when fontconfig only offers some other face.
std::optional<FaceLocation> lookupFace(std::string_view utf8Family);

// Any installed face that covers Japanese, preferring IPAGothic.
std::optional<FaceLocation> lookupJapaneseFace();

class FreeTypeFontSource : public FontSource {
public:
    // Faces looked up by name through fontconfig.
    FreeTypeFontSource();
    // Every face name selects this one font file (tests and reference runs
    // pin their rasters this way).
    explicit FreeTypeFontSource(std::filesystem::path fontFile);
    ~FreeTypeFontSource() override;
    FreeTypeFontSource(const FreeTypeFontSource&) = delete;
    FreeTypeFontSource& operator=(const FreeTypeFontSource&) = delete;

    // `faceName` is Shift-JIS. A face that is not installed falls back to an
    // installed Japanese face with one line on stderr per name; with no face
    // at all every glyph is empty.
    void selectFace(const std::string& faceName, int pixelSize, bool bold) override;
    FontMetrics metrics() override;
    GlyphRaster glyph(std::uint16_t code) override;

    // The face in use; nothing when no face could be opened.
    std::optional<FaceLocation> currentFace() const;

    // Pixel sizes are kept within this range so that a stored size cannot ask
    // for enormous rasters.
    static constexpr int kMinPixelSize = 1;
    static constexpr int kMaxPixelSize = 512;

private:
    struct Library;
    std::optional<FaceLocation> resolve(const std::string& faceName);
    void openFace(const std::optional<FaceLocation>& location);
    void applySize();

    Library* ft_;
    std::optional<std::filesystem::path> pinnedFile_;
    std::map<std::string, std::optional<FaceLocation>> resolved_; // by Shift-JIS name
    std::set<std::string> warned_;
    std::optional<FaceLocation> open_;
    bool openFailed_ = false;
    std::string selectedName_;
    bool haveSelection_ = false;
    int pixelSize_ = 25; // 19 points, until a face is selected
    int sizeApplied_ = 0;
    bool bold_ = false;
};

} // namespace veskar
