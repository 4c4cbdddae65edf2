#pragma once
// Game images as Qt images, drawn with the current palette.

#include "image/indexed_image.h"
#include "image/palette.h"

#include <QImage>

QImage toQImage(const IndexedImage& image, const Palette& palette);
// The same with one index shown as the given colour (sprites: 255 is transparent).
QImage toQImage(const IndexedImage& image, const Palette& palette, int transparentIndex,
                QRgb background);
