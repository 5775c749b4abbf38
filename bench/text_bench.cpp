// Story text: rendering a glyph the cache does not hold, preparing and
// drawing a cached glyph, and drawing a page of 3 rows x 20 full-width
// characters into the window picture, from the cache and with every glyph
// rendered afresh. Each benchmark also times a reference in the same
// iterations and reports the ratio as a counter ("x_..."), so the figures
// compare on any machine.
//
// Glyphs come from the pinned IPA Gothic file. The glyph cache is filled to
// its 1000 entries with other kanji first, so the "uncached" codes are
// rendered on every use, exactly as after a long game has filled the cache.

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstring>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "backends/freetype/freetype_font_source.h"
#include "backends/headless/headless_host.h"
#include "backends/headless/ini_settings_store.h"
#include "backends/headless/virtual_audio_device.h"
#include "bench_pictures.h"
#include "shell/engine.h"
#include "text/glyphs.h"

namespace veskar::bench {
namespace {

using Clock = std::chrono::steady_clock;

const std::filesystem::path kFontFile = "/usr/share/fonts/opentype/ipafont-gothic/ipag.ttf";

constexpr int kPageRows = 3;
constexpr int kPageColumns = 20; // full-width characters per row
constexpr int kPageGlyphs = kPageRows * kPageColumns;
// The window layout of the demo game: text origin, pitches, window size.
constexpr int kOriginX = 30, kOriginY = 24, kPitchX = 13, kPitchY = 32;
constexpr int kWindowWidth = 760, kWindowHeight = 160;

double seconds(Clock::duration d) { return std::chrono::duration<double>(d).count(); }

std::string codeBytes(std::uint16_t code) {
    return {static_cast<char>(code >> 8), static_cast<char>(code & 0xFF)};
}

// Level-1 kanji codes (lead bytes 0x88-0x9F) in order, trail bytes
// 0x40-0xFC without 0x7F.
std::vector<std::uint16_t> kanjiCodes() {
    std::vector<std::uint16_t> codes;
    for (int lead = 0x88; lead <= 0x9F; ++lead)
        for (int trail = 0x40; trail <= 0xFC; ++trail)
            if (trail != 0x7F && !(lead == 0x88 && trail < 0x9F))
                codes.push_back(static_cast<std::uint16_t>(lead * 256 + trail));
    return codes;
}

// An engine on the headless host with the pinned font, its glyph cache full:
// `cachedPage` are in it, `uncached` are not and never will be.
struct TextRig {
    TextRig() {
        engine.settings.FONTSIZE = 19;
        engine.vars.S(37) = 0xFFFFFF;
        engine.glyphs.SetupTextFont(Picture());
        GlyphRenderer& renderer = engine.glyphs.renderer;
        const GlyphCache& cache = renderer.cache();
        for (std::uint16_t code : kanjiCodes()) {
            const int before = cache.count();
            if (static_cast<int>(cachedPage.size()) < kPageGlyphs || before < GlyphCache::kCapacity) {
                renderer.RenderGlyph(code);
                if (cache.count() == before) continue; // no glyph for this code
                if (static_cast<int>(cachedPage.size()) < kPageGlyphs) cachedPage.push_back(code);
            } else if (renderGlyphCell(fonts, renderer.font, code)) {
                uncached.push_back(code);
            }
        }
        window.fill(makeColour(20, 30, 60));
    }

    // Where the i-th character of the page goes: rows 1-3, indented.
    static int pageX(int i) { return kOriginX + (2 + 2 * (i % kPageColumns)) * kPitchX; }
    static int pageY(int i) { return kOriginY + (1 + i / kPageColumns) * kPitchY; }

    HeadlessHost host{HeadlessOptions{}};
    IniSettingsStore store;
    VirtualAudioDevice audio{host.clock()};
    FreeTypeFontSource fonts{kFontFile};
    Engine engine{Platform{host, host.clock(), store, audio, &fonts}, EngineOptions{}};
    std::vector<std::uint16_t> cachedPage;
    std::vector<std::uint16_t> uncached;
    Picture window{kWindowWidth, kWindowHeight};
    Picture copy{kWindowWidth, kWindowHeight};
};

TextRig* rig(benchmark::State& state) {
    if (!std::filesystem::exists(kFontFile)) {
        state.SkipWithError("the pinned font file is not installed");
        return nullptr;
    }
    static auto r = std::make_unique<TextRig>();
    if (r->cachedPage.size() < kPageGlyphs || r->uncached.size() < kPageGlyphs) {
        state.SkipWithError("the font has too few kanji");
        return nullptr;
    }
    return r.get();
}

// Times `work` (the benchmark's manual time) and `reference` in the same
// iterations and reports their ratio as `counter`.
void against(benchmark::State& state, const char* counter, const std::function<void()>& work,
             const std::function<void()>& reference) {
    double workTime = 0, referenceTime = 0;
    for (auto _ : state) {
        const auto t0 = Clock::now();
        work();
        benchmark::ClobberMemory();
        const auto t1 = Clock::now();
        reference();
        benchmark::ClobberMemory();
        const auto t2 = Clock::now();
        workTime += seconds(t1 - t0);
        referenceTime += seconds(t2 - t1);
        state.SetIterationTime(seconds(t1 - t0));
    }
    state.counters[counter] = workTime / referenceTime;
}

// memcpy of the 32 x 35 pixel areas a glyph covers, row by row.
void copyCell(TextRig& r, int x, int y) {
    for (int row = 0; row < kGlyphCellHeight; ++row)
        std::memcpy(r.copy.row(y + row) + x * 3, r.window.row(y + row) + x * 3, kGlyphCellWidth * 3);
}

void drawPage(TextRig& r, const std::vector<std::uint16_t>& codes) {
    for (int i = 0; i < kPageGlyphs; ++i) {
        r.engine.glyphs.PrepareGlyph(codeBytes(codes[static_cast<std::size_t>(i)]));
        r.engine.glyphs.DrawGlyph(r.window, TextRig::pageX(i), TextRig::pageY(i));
    }
}

// One glyph through FreeType, the tone curve and the shadow, against the
// same call answered from the cache.
void BM_TextRenderUncachedGlyph(benchmark::State& state) {
    TextRig* r = rig(state);
    if (r == nullptr) return;
    GlyphRenderer& renderer = r->engine.glyphs.renderer;
    std::size_t next = 0;
    against(
        state, "x_cached",
        [&] {
            renderer.RenderGlyph(r->uncached[next]);
            next = (next + 1) % r->uncached.size();
        },
        [&] { renderer.RenderGlyph(r->cachedPage[next % kPageGlyphs]); });
}
BENCHMARK(BM_TextRenderUncachedGlyph)->UseManualTime();

// One prepared glyph blended into the window picture, shadow and all,
// against a plain copy of the same area.
void BM_TextDrawCachedGlyph(benchmark::State& state) {
    TextRig* r = rig(state);
    if (r == nullptr) return;
    r->engine.glyphs.PrepareGlyph(codeBytes(r->cachedPage[0]));
    const int x = TextRig::pageX(0), y = TextRig::pageY(0);
    against(
        state, "x_memcpy", [&] { r->engine.glyphs.DrawGlyph(r->window, x, y); }, [&] { copyCell(*r, x, y); });
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * kGlyphCellBytes * 3);
}
BENCHMARK(BM_TextDrawCachedGlyph)->UseManualTime();

// Preparing a cached glyph (lookup, shadow, both mask pictures) against
// drawing it: the two halves of every character of a page.
void BM_TextPrepareCachedGlyph(benchmark::State& state) {
    TextRig* r = rig(state);
    if (r == nullptr) return;
    const std::string bytes = codeBytes(r->cachedPage[30]);
    const int x = TextRig::pageX(0), y = TextRig::pageY(0);
    against(
        state, "x_draw", [&] { r->engine.glyphs.PrepareGlyph(bytes); },
        [&] { r->engine.glyphs.DrawGlyph(r->window, x, y); });
}
BENCHMARK(BM_TextPrepareCachedGlyph)->UseManualTime();

// A full page whose glyphs the cache holds, against copying its 60 areas.
void BM_TextPageFromCache(benchmark::State& state) {
    TextRig* r = rig(state);
    if (r == nullptr) return;
    against(
        state, "x_memcpy", [&] { drawPage(*r, r->cachedPage); },
        [&] {
            for (int i = 0; i < kPageGlyphs; ++i)
                copyCell(*r, TextRig::pageX(i), TextRig::pageY(i));
        });
}
BENCHMARK(BM_TextPageFromCache)->UseManualTime();

// A full page of glyphs the cache does not hold, against the same page from
// the cache: what a cold cache costs per page.
void BM_TextPageUncached(benchmark::State& state) {
    TextRig* r = rig(state);
    if (r == nullptr) return;
    std::size_t offset = 0;
    std::vector<std::uint16_t> page(kPageGlyphs);
    against(
        state, "x_page_from_cache",
        [&] {
            for (int i = 0; i < kPageGlyphs; ++i)
                page[static_cast<std::size_t>(i)] =
                    r->uncached[(offset + static_cast<std::size_t>(i)) % r->uncached.size()];
            offset += kPageGlyphs;
            drawPage(*r, page);
        },
        [&] { drawPage(*r, r->cachedPage); });
}
BENCHMARK(BM_TextPageUncached)->UseManualTime();

} // namespace
} // namespace veskar::bench
