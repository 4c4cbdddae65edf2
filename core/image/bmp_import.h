#pragma once
// Bringing a BMP into a paletted image: the import job of every image page, and its two ways of
// fitting the picture (resampling to the image's size or copying the upper-left corner), each
// converting colours through the nearest-colour cache.

#include "app/job.h"
#include "image/bmp.h"
#include "image/indexed_image.h"
#include "image/nearest_color.h"

#include <filesystem>
#include <optional>

// What an import writes into: the page's draw device.
class BmpImportTarget {
public:
    virtual ~BmpImportTarget() = default;
    virtual int width() const = 0;
    virtual int height() const = 0;
    virtual bool resizable() const { return false; }
    // Only called when resizable(); false when the new size cannot be had.
    virtual bool resize(int /*width*/, int /*height*/) { return false; }
    // The whole import is one undo record: opened before the first pixel, closed with the
    // size of the area written.
    virtual void beginImport() {}
    virtual void setPixel(int x, int y, uint8_t index) = 0;
    virtual void endImport(int /*widthWritten*/, int /*heightWritten*/) {}
};

// The import job (progress 0..102): reads the file, asks about a size that does not fit,
// converts and writes every pixel through the target. Success, or Failure after telling why
// (or on Cancel); nothing is written into the target before the questions are answered.
JobResult importBmp(const std::filesystem::path& path, BmpImportTarget& target,
                    const Palette& palette, NearestColorCache& cache, JobContext& context);

// Opens and checks the file: "Cannot open file:" with the path, or the header messages.
std::optional<BmpPicture> openBmpForImport(const std::filesystem::path& path, JobContext& context);

// The picture bilinearly resampled to width x height (8 fraction bits); nothing when cancelled.
// The cache must have been prepared for the palette.
std::optional<IndexedImage> resampleBmp(const BmpPicture& picture, int width, int height,
                                        NearestColorCache& cache, JobContext& context);
// The upper-left min(width) x min(height) of the picture, pixel for pixel; nothing when cancelled.
// An index pixel whose table colour is the palette's colour at that index keeps its index, so
// a picture exported with the palette comes back byte for byte even where colours repeat.
std::optional<IndexedImage> copyBmp(const BmpPicture& picture, int width, int height,
                                    const Palette& palette, NearestColorCache& cache,
                                    JobContext& context);
