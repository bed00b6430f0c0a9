// SPDX-License-Identifier: GPL-3.0-or-later
// Drawing a full grid against a plain copy of the same 1,024,000 bytes.
#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

#include <QGuiApplication>

#include "core/core.h"
#include "renderer.h"

namespace {

struct Setup {
    Setup() {
        // Every cell lit and the codes varied, so no glyph stays in one cache line.
        for (int i = 0; i < kScreenCells; ++i) game.screen[i] = static_cast<uint8_t>(33 + (i * 7) % 222);
        ok = InitRenderer(renderer, game);
        CreateSurface(picture, kPictureWidth, kPictureHeight);
    }
    GameState game{};
    Renderer renderer;
    Surface picture;
    bool ok = false;
};

Setup& TheSetup() {
    static Setup s;
    return s;
}

void BM_DrawScreen(benchmark::State& state) {
    Setup& s = TheSetup();
    if (!s.ok) {
        state.SkipWithError("the glyph sheet could not be decoded");
        return;
    }
    for (auto _ : state) {
        DrawScreen(s.renderer, s.picture, 0, 0);
        benchmark::DoNotOptimize(s.picture.pixels);
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * kPictureWidth * kPictureHeight * 4);
}
BENCHMARK(BM_DrawScreen);

void BM_PlainCopy(benchmark::State& state) {
    const size_t bytes = size_t{kPictureWidth} * kPictureHeight * 4;
    std::vector<unsigned char> from(bytes, 0x5A);
    std::vector<unsigned char> to(bytes);
    for (auto _ : state) {
        std::memcpy(to.data(), from.data(), bytes);
        benchmark::DoNotOptimize(to.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(bytes));
}
BENCHMARK(BM_PlainCopy);

}  // namespace

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);  // the glyph sheet is decoded by Qt's image plugins
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
