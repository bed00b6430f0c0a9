// SPDX-License-Identifier: GPL-3.0-or-later
// The picture the window shows, checked pixel by pixel.
#include <QAction>
#include <QFile>

#include <cstring>
#include <string>

#include "host_fixture.h"

namespace {

using RendererTest = HostTest;

TEST_F(RendererTest, SolidBlockFillsItsCellInTheSchemeColour) {
    ClearGrid();
    Cell(g, 3, 4) = 0xDB;
    w->PresentScreen();
    bool only = false;
    EXPECT_EQ(CountCellPixels(3, 4, kGrayColour, &only), 256);
    QTest::keyClick(&w->View(), Qt::Key_F6);
    EXPECT_EQ(CountCellPixels(3, 4, kGreenColour, &only), 256);
    QTest::keyClick(&w->View(), Qt::Key_F7);
    EXPECT_EQ(CountCellPixels(3, 4, kAmberColour, &only), 256);
    // Its neighbours stay black.
    EXPECT_EQ(CountCellPixels(2, 4, kAmberColour, &only), 0);
    EXPECT_TRUE(only);
    EXPECT_EQ(CountCellPixels(4, 4, kAmberColour, &only), 0);
}

TEST_F(RendererTest, BlankCodesDrawBlackCells) {
    ClearGrid();
    const uint8_t blanks[] = {0, 10, 32, 255};
    for (int i = 0; i < 4; ++i) Cell(g, i, 0) = blanks[i];
    Cell(g, 4, 0) = 'A';
    w->PresentScreen();
    bool only = false;
    for (int i = 0; i < 4; ++i) EXPECT_EQ(CountCellPixels(i, 0, kGrayColour, &only), 0) << i;
    EXPECT_GT(CountCellPixels(4, 0, kGrayColour, &only), 0);
    EXPECT_TRUE(only);
}

TEST_F(RendererTest, NeighbouringDoubleLinesJoinUnbroken) {
    ClearGrid();
    Cell(g, 10, 7) = 0xCD;
    Cell(g, 11, 7) = 0xCD;
    w->PresentScreen();
    int fullRows = 0;
    for (int y = 16 * 7; y < 16 * 8; ++y) {
        int lit = 0;
        for (int x = 160; x < 192; ++x) lit += Pixel(x, y) == kGrayColour ? 1 : 0;
        if (lit == 32) {
            ++fullRows;
        } else {
            EXPECT_EQ(lit, 0) << "row " << y << " is broken";
        }
    }
    EXPECT_EQ(fullRows, 2);  // the two lines of the double line
}

QImage PictureOf(const MainWindow& window) { return window.WindowSurface().image.copy(); }

TEST_F(RendererTest, SchemesCanBeSwitchedInAnyOrder) {
    for (int key : {Qt::Key_F6, Qt::Key_F5, Qt::Key_F7, Qt::Key_F6}) QTest::keyClick(&w->View(), Qt::Key(key));
    EXPECT_EQ(w->SchemeId(), SCHEME_GREEN);

    // The same grid, green once, on a second program of its own.
    GameState other{};
    InitGameState(other);
    Renderer otherRenderer;
    ASSERT_TRUE(InitRenderer(otherRenderer, other));
    MainWindow once(other, otherRenderer);
    std::memcpy(other.screen, g.screen, sizeof g.screen);
    once.OnCommand(ID_VIEW_GREEN);
    w->PresentScreen();
    EXPECT_TRUE(PictureOf(*w) == PictureOf(once));
    EXPECT_TRUE(w->Action(ID_VIEW_GREEN)->isChecked());
}

TEST_F(RendererTest, AboutBoxIsYellowOverItsColumnsAndRowsOnly) {
    for (uint8_t& c : g.screen) c = 0xDB;  // a fully lit grid shows where the box ends
    QTest::keyClick(&w->View(), Qt::Key_F7);
    QTest::keyClick(&w->View(), Qt::Key_F1);
    ASSERT_EQ(g.aboutShown, 1);
    bool only = false;
    for (int column = 0; column < 40; ++column) {
        for (int row = 0; row < 25; ++row) {
            const bool inBox = column >= 6 && column <= 33 && row >= 3 && row <= 21;
            if (inBox) {
                CountCellPixels(column, row, kAboutColour, &only);
                EXPECT_TRUE(only) << column << "," << row;
            } else {
                EXPECT_EQ(CountCellPixels(column, row, kAmberColour, &only), 256) << column << "," << row;
            }
        }
    }
    // The frame's corners and a letter of the name are drawn.
    EXPECT_GT(CountCellPixels(6, 3, kAboutColour, &only), 0);
    EXPECT_GT(CountCellPixels(33, 21, kAboutColour, &only), 0);
    EXPECT_GT(CountCellPixels(15, 5, kAboutColour, &only), 0);  // the G of Grimspire
    EXPECT_EQ(CountCellPixels(14, 5, kAboutColour, &only), 0);
}

TEST_F(RendererTest, PaintingOnlyCopiesThePicture) {
    w->PresentScreen();
    const QImage shown = w->View().grab().toImage().convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(shown.size(), QSize(640, 400));
    const QImage& picture = w->WindowSurface().image;
    int differing = 0;
    for (int y = 0; y < 400; ++y) {
        for (int x = 0; x < 640; ++x) differing += (shown.pixel(x, y) & 0xFFFFFF) != (picture.pixel(x, y) & 0xFFFFFF);
    }
    EXPECT_EQ(differing, 0);
}

TEST(AboutBox, RowsAndBuildDate) {
    char16_t rows[kAboutRows][kAboutColumns + 1];
    BuildAboutBox(rows);
    auto text = [&](int row) {
        std::string s;
        for (int k = 0; k < kAboutColumns; ++k) s += static_cast<char>(MapBoxChar(rows[row][k]));
        return s;
    };
    EXPECT_EQ(text(16), "\xBA  Built On:  " + std::string(__DATE__) + "  \xBA");
    EXPECT_EQ(std::strlen(BuildDate()), 11u);
    EXPECT_EQ(BuildDate()[3], ' ');
    EXPECT_EQ(BuildDate()[6], ' ');
    EXPECT_EQ(text(0), "\xC9" + std::string(26, '\xCD') + "\xBB");
    EXPECT_EQ(text(4), "\xCC" + std::string(26, '\xCD') + "\xB9");
    EXPECT_EQ(text(18), "\xC8" + std::string(26, '\xCD') + "\xBC");
    EXPECT_EQ(text(2), "\xBA        Grimspire         \xBA");
    EXPECT_EQ(text(13), "\xBA  Version:   1.0          \xBA");
    for (int row = 0; row < kAboutRows; ++row) EXPECT_EQ(rows[row][kAboutColumns], 0) << row;
}

TEST(AboutBox, MapBoxCharTable) {
    EXPECT_EQ(MapBoxChar(u'═'), 0xCD);
    EXPECT_EQ(MapBoxChar(u'║'), 0xBA);
    EXPECT_EQ(MapBoxChar(u'╔'), 0xC9);
    EXPECT_EQ(MapBoxChar(u'╗'), 0xBB);
    EXPECT_EQ(MapBoxChar(u'╚'), 0xC8);
    EXPECT_EQ(MapBoxChar(u'╝'), 0xBC);
    EXPECT_EQ(MapBoxChar(u'╠'), 0xCC);
    EXPECT_EQ(MapBoxChar(u'╣'), 0xB9);
    EXPECT_EQ(MapBoxChar(u'G'), 'G');
    EXPECT_EQ(MapBoxChar(u'\u2591'), 0x91);  // anything else keeps its low byte
}

TEST(GlyphSheet, DecodesTheEmbeddedSheetAtTwiceItsWidth) {
    QFile file(QStringLiteral(":/glyphs.gif"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray sheet = file.readAll();
    Surface s;
    ASSERT_TRUE(LoadGlyphSheet(s, sheet));
    EXPECT_EQ(s.width, 4608);
    EXPECT_EQ(s.height, 16);
    int gray = 0;
    for (int y = 0; y < 16; ++y) {
        for (int x = 0; x < 4608; ++x) {
            const uint32_t p = s.pixels[y * s.stride + x];
            ASSERT_TRUE(p == 0 || p == kGrayColour) << x << "," << y;
            gray += p != 0;
            if (x % 2 == 1) {
                ASSERT_EQ(p, s.pixels[y * s.stride + x - 1]);
            }
        }
    }
    EXPECT_GT(gray, 0);
}

TEST(GlyphSheet, RefusesDataThatIsNotTheSheet) {
    QFile file(QStringLiteral(":/glyphs.gif"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray sheet = file.readAll();
    QFile icon(QStringLiteral(":/icons/grimspire-green-32.png"));
    ASSERT_TRUE(icon.open(QIODevice::ReadOnly));
    Surface s;
    CreateSurface(s, 10, 10);
    EXPECT_FALSE(LoadGlyphSheet(s, QByteArray()));
    EXPECT_FALSE(LoadGlyphSheet(s, QByteArray("GIF89a nothing more")));
    EXPECT_FALSE(LoadGlyphSheet(s, sheet.left(13)));
    EXPECT_FALSE(LoadGlyphSheet(s, icon.readAll()));  // a picture, but not a sheet
    EXPECT_EQ(s.width, 10);
    EXPECT_EQ(s.height, 10);
    GameState g{};
    Renderer r;
    EXPECT_FALSE(InitRenderer(r, g, QByteArray("not a picture")));
}

}  // namespace
