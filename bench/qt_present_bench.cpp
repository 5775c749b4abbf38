// What a present costs in Qt's raster painter for an unscaled 800 x 600
// window: the 24-bit picture drawn as BGR888 (converted by Qt on every
// paint) and the engine's 32-bit copy drawn as RGB32 (a plain copy), onto
// the 32-bit surface a window's backing store is; and our conversion plus
// the RGB32 draw. Each against the RGB32 draw alone ("x_rgb32").

#include <QImage>
#include <QPainter>
#include <benchmark/benchmark.h>

#include <chrono>
#include <functional>

#include "bench_pictures.h"
#include "graphics/window_mirror.h"

namespace veskar::bench {
namespace {

using Clock = std::chrono::steady_clock;

double seconds(Clock::duration d) { return std::chrono::duration<double>(d).count(); }

struct Surfaces {
    Picture picture = scenery(800, 600, 3);
    WindowMirror mirror{800, 600};
    QImage backingStore{800, 600, QImage::Format_RGB32};
    Surfaces() {
        mirror.picture() = picture;
        mirror.refresh();
    }
    QImage bgr888() const { return QImage(picture.bytes().data(), 800, 600, 800 * 3, QImage::Format_BGR888); }
    QImage rgb32() const {
        return QImage(reinterpret_cast<const uchar*>(mirror.pixels()), 800, 600, 800 * 4,
                      QImage::Format_RGB32);
    }
    void draw(const QImage& image) {
        QPainter painter(&backingStore);
        painter.drawImage(0, 0, image);
    }
};

Surfaces& surfaces() {
    static Surfaces s;
    return s;
}

void againstRgb32(benchmark::State& state, const std::function<void()>& work) {
    Surfaces& s = surfaces();
    const QImage plain = s.rgb32();
    double workTime = 0, baseTime = 0;
    for (auto _ : state) {
        const auto t0 = Clock::now();
        work();
        const auto t1 = Clock::now();
        s.draw(plain);
        const auto t2 = Clock::now();
        workTime += seconds(t1 - t0);
        baseTime += seconds(t2 - t1);
        state.SetIterationTime(seconds(t1 - t0));
    }
    state.counters["x_rgb32"] = workTime / baseTime;
}

void BM_PresentQtDrawBgr888(benchmark::State& state) {
    Surfaces& s = surfaces();
    const QImage image = s.bgr888();
    againstRgb32(state, [&] { s.draw(image); });
}
BENCHMARK(BM_PresentQtDrawBgr888)->UseManualTime();

void BM_PresentQtConvertAndDrawRgb32(benchmark::State& state) {
    Surfaces& s = surfaces();
    const QImage image = s.rgb32();
    againstRgb32(state, [&] {
        s.mirror.present({0, 0, 800, 600});
        s.draw(image);
    });
}
BENCHMARK(BM_PresentQtConvertAndDrawRgb32)->UseManualTime();

} // namespace
} // namespace veskar::bench
