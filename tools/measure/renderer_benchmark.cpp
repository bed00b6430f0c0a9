// SPDX-License-Identifier: GPL-3.0-or-later
// Drawing a full grid against a plain copy of the same 1,024,000 bytes.
#include <benchmark/benchmark.h>

#include <QGuiApplication>

#include <cstring>
#include <vector>

#include "core/core.h"
#include "renderer.h"

namespace {

void BM_DrawScreen(benchmark::State& state) {
    static GameState game{};
    // Every cell lit and the codes varied, so no glyph stays in one cache line.
    for (int i = 0; i < kScreenCells; ++i) game.screen[i] = static_cast<uint8_t>(33 + (i * 7) % 222);
    Renderer renderer;
    Surface picture;
    CreateSurface(picture, kPictureWidth, kPictureHeight);
    if (!InitRenderer(renderer, game)) state.SkipWithError("the glyph sheet could not be decoded");
    for (auto _ : state) {
        DrawScreen(renderer, picture, 0, 0);
        benchmark::DoNotOptimize(picture.pixels);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_DrawScreen);

void BM_PlainCopy(benchmark::State& state) {
    std::vector<unsigned char> from(size_t{kPictureWidth} * kPictureHeight * 4, 0x5A), to(from.size());
    for (auto _ : state) {
        std::memcpy(to.data(), from.data(), from.size());
        benchmark::DoNotOptimize(to.data());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_PlainCopy);

}  // namespace

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);  // the glyph sheet is decoded by Qt's image plugins
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
