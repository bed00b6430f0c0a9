// SPDX-License-Identifier: GPL-3.0-or-later
#include "renderer.h"

#include <QBuffer>
#include <QFile>
#include <QImageReader>

bool InitRenderer(Renderer& r, GameState& g, const QByteArray& sheet) {
    QBuffer buffer;
    buffer.setData(sheet);
    QImageReader reader(&buffer, "gif");
    const QImage decoded = reader.read().convertToFormat(QImage::Format_RGB32);
    if (decoded.isNull() || decoded.bytesPerLine() != decoded.width() * 4) return false;
    return InitRenderer(r, g, reinterpret_cast<const uint32_t*>(decoded.constBits()), decoded.width(),
                        decoded.height());
}

bool InitRenderer(Renderer& r, GameState& g) {
    QFile file(QStringLiteral(":/glyphs.gif"));
    QByteArray sheet;
    if (file.open(QIODevice::ReadOnly)) sheet = file.readAll();
    return InitRenderer(r, g, sheet);
}

QImage ImageOf(const Surface& s) {
    return QImage(reinterpret_cast<const uchar*>(s.pixels), s.width, s.height, s.stride * 4, QImage::Format_RGB32);
}
