// SPDX-License-Identifier: GPL-3.0-or-later
// The shared picture, fed from the embedded glyph sheet and shown through QImage.
#pragma once

#include <QByteArray>
#include <QImage>

#include "picture.h"

// Both glyph surfaces from a GIF glyph sheet; false when it cannot be decoded.
bool InitRenderer(Renderer& r, GameState& g, const QByteArray& sheet);
// The same from the sheet embedded in the program.
bool InitRenderer(Renderer& r, GameState& g);
// A QImage over the surface's pixels (no copy; valid while the surface is).
QImage ImageOf(const Surface& s);
