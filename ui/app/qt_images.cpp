#include "app/qt_images.h"

QImage toQImage(const IndexedImage& image, const Palette& palette, int transparentIndex,
                QRgb background) {
    if (image.empty())
        return {};
    QImage result(image.width, image.height, QImage::Format_Indexed8);
    QList<QRgb> colours;
    for (const Rgb& c : palette.colors)
        colours << qRgb(c.r, c.g, c.b);
    if (transparentIndex >= 0 && transparentIndex < 256)
        colours[transparentIndex] = background;
    result.setColorTable(colours);
    for (int y = 0; y < image.height; ++y) {
        uchar* line = result.scanLine(y);
        for (int x = 0; x < image.width; ++x)
            line[x] = image.at(x, y);
    }
    return result;
}

QImage toQImage(const IndexedImage& image, const Palette& palette) {
    return toQImage(image, palette, -1, 0);
}
