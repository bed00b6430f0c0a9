// SPDX-License-Identifier: GPL-3.0-or-later
// A program's worth of host for one test: a game built as at start-up, the
// renderer on the embedded glyph sheet and the real main window, shown.
#pragma once

#include <gtest/gtest.h>

#include <QTest>

#include <memory>

#include "core/core.h"
#include "renderer.h"
#include "window.h"

class HostTest : public ::testing::Test {
protected:
    void SetUp() override {
        InitGameState(g);
        ASSERT_TRUE(InitRenderer(r, g));
        w = std::make_unique<MainWindow>(g, r);
        w->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(w.get()));
        w->activateWindow();
        w->View().setFocus();
        ASSERT_TRUE(QTest::qWaitForWindowActive(w.get()));
    }
    void TearDown() override { w.reset(); }

    // The pixel of the window's picture, without the unused top byte.
    uint32_t Pixel(int x, int y) const {
        const Surface& s = w->WindowSurface();
        return s.pixels[y * s.stride + x] & 0xFFFFFFu;
    }
    // Every pixel of the cell is black or the colour; returns how many are the colour.
    int CountCellPixels(int column, int row, uint32_t colour, bool* onlyThese) const {
        int n = 0;
        *onlyThese = true;
        for (int y = 16 * row; y < 16 * row + 16; ++y) {
            for (int x = 16 * column; x < 16 * column + 16; ++x) {
                const uint32_t p = Pixel(x, y);
                if (p == colour) ++n;
                else if (p != 0) *onlyThese = false;
            }
        }
        return n;
    }
    void ClearGrid() {
        for (uint8_t& c : g.screen) c = 0;
    }

    GameState g{};
    Renderer r;
    std::unique_ptr<MainWindow> w;
};
