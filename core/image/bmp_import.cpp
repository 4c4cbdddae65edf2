#include "image/bmp_import.h"

#include "common/file_io.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <vector>

namespace {

void percentLine(JobContext& context, int percent) {
    char text[16];
    std::snprintf(text, sizeof text, "%i %%", percent);
    context.progress().setCount(text);
}

// Index 14 for depths without pixels we can read, as the import always did.
constexpr uint8_t kUnreadablePixelIndex = 14;

} // namespace

std::optional<BmpPicture> openBmpForImport(const std::filesystem::path& path, JobContext& context) {
    context.title("Loading bitmap header...");
    context.progress().setCount("");
    context.position(0);
    std::optional<Bytes> data = readWholeFile(path);
    if (!data) {
        context.prompter().tell("Cannot open file:", path.string(), PromptIcon::Exclamation);
        return std::nullopt;
    }
    BmpProblem problem = BmpProblem::None;
    std::optional<BmpPicture> picture = parseBmp(std::move(*data), &problem);
    if (!picture)
        context.prompter().ask(bmpProblemPrompt(problem));
    return picture;
}

std::optional<IndexedImage> resampleBmp(const BmpPicture& picture, int width, int height,
                                        NearestColorCache& cache, JobContext& context) {
    context.title("Resampling image to current resolution...");
    IndexedImage out(std::max(width, 0), std::max(height, 0));
    if (out.empty())
        return out;
    const int64_t bw = picture.width(), bh = picture.height();
    const int64_t spanX = bw * 256 - 128, spanY = bh * 256 - 128;
    const int64_t stepX = bw > width ? spanX / width : 256;
    const int64_t stepY = bh > height ? spanY / height : 256;
    // The two source rows a row of samples mixes, decoded once.
    std::vector<Rgb> upper(static_cast<size_t>(bw)), lower(static_cast<size_t>(bw));
    int upperRow = -1, lowerRow = -1;
    for (int y = 0; y < height; ++y) {
        if (context.cancelled())
            return std::nullopt;
        percentLine(context, y * 100 / height);
        context.position(y * 100 / height + 2);
        const int64_t sy = y * spanY / height;
        const int iy = int(sy / 256);
        const int iy2 = int(std::min<int64_t>((sy + stepY) / 256, bh - 1));
        const int fy = int(sy % 256);
        if (upperRow != iy) {
            picture.rowColors(iy, upper.data());
            upperRow = iy;
        }
        if (lowerRow != iy2) {
            picture.rowColors(iy2, lower.data());
            lowerRow = iy2;
        }
        for (int x = 0; x < width; ++x) {
            const int64_t sx = x * spanX / width;
            const int ix = int(sx / 256);
            const int ix2 = int(std::min<int64_t>((sx + stepX) / 256, bw - 1));
            const int fx = int(sx % 256);
            const Rgb c00 = upper[size_t(ix)], c10 = upper[size_t(ix2)];
            const Rgb c01 = lower[size_t(ix)], c11 = lower[size_t(ix2)];
            const int w00 = (256 - fx) * (256 - fy), w10 = fx * (256 - fy);
            const int w01 = (256 - fx) * fy, w11 = fx * fy;
            auto mix = [&](uint8_t Rgb::*component) {
                return uint8_t((w00 * (c00.*component) + w10 * (c10.*component) +
                                w01 * (c01.*component) + w11 * (c11.*component)) >>
                               16);
            };
            out.set(x, y, cache.lookup(mix(&Rgb::r), mix(&Rgb::g), mix(&Rgb::b)));
        }
    }
    return out;
}

std::optional<IndexedImage> copyBmp(const BmpPicture& picture, int width, int height,
                                    const Palette& palette, NearestColorCache& cache,
                                    JobContext& context) {
    context.title("Converting colors to wolf palette...");
    const int w = std::max(0, std::min(width, picture.width()));
    const int h = std::max(0, std::min(height, picture.height()));
    IndexedImage out(w, h);
    const bool readable = picture.supportedDepth();
    const bool indexed = readable && picture.indexed();
    std::array<uint8_t, 256> indexMap{};
    if (indexed) {
        const std::vector<Rgb>& table = picture.colorTable();
        for (size_t i = 0; i < 256; ++i) {
            const Rgb color = i < table.size() ? table[i] : Rgb{};
            indexMap[i] = color == palette[i] ? uint8_t(i) : cache.lookup(color);
        }
    }
    std::vector<Rgb> row(size_t(picture.width()));
    for (int y = 0; y < h; ++y) {
        if (context.cancelled())
            return std::nullopt;
        percentLine(context, y * 100 / picture.height());
        context.position(y * 100 / h + 2);
        uint8_t* target = &out.pixels[out.indexOf(0, y)];
        if (!readable) {
            std::fill(target, target + w, kUnreadablePixelIndex);
            continue;
        }
        if (indexed) {
            for (int x = 0; x < w; ++x)
                target[x] = indexMap[picture.indexAt(x, y)];
            continue;
        }
        picture.rowColors(y, row.data());
        for (int x = 0; x < w; ++x)
            target[x] = cache.lookup(row[size_t(x)]);
    }
    return out;
}

JobResult importBmp(const std::filesystem::path& path, BmpImportTarget& target,
                    const Palette& palette, NearestColorCache& cache, JobContext& context) {
    std::optional<BmpPicture> picture = openBmpForImport(path, context);
    if (!picture)
        return JobResult::Failure;

    bool resample = false;
    if (picture->width() != target.width() || picture->height() != target.height()) {
        bool resized = false;
        if (target.resizable()) {
            PromptAnswer answer = context.prompter().ask(
                {"Picture doesn't fit!",
                 "The picture is larger than the current chunk.\nDo you want me to resize the "
                 "current chunk to let the whole picture have a place?",
                 PromptIcon::Question, PromptButtons::YesNoCancel});
            if (answer == PromptAnswer::Cancel)
                return JobResult::Failure;
            if (answer == PromptAnswer::Yes) {
                if (!target.resize(picture->width(), picture->height()))
                    return JobResult::Failure;
                resized = true;
            }
        }
        if (!resized) {
            PromptAnswer answer = context.prompter().ask(
                {"Resample picture?",
                 "Do you want me to resample the picture to this chunk's size?\n(Otherwise I will "
                 "just copy the upper left corner of the picture into this chunk.\nFor better "
                 "control over the section you want to import, import it into a Graphics "
                 "chunk\nat full size and copy and paste it to the location you want.\nIf you "
                 "need additional resizing, you gotta play a bit around with im- and "
                 "exporting...)",
                 PromptIcon::Question, PromptButtons::YesNoCancel});
            if (answer == PromptAnswer::Cancel)
                return JobResult::Failure;
            resample = answer == PromptAnswer::Yes;
        }
    }

    context.title("Loading bitmap data...");
    context.position(1);
    if (picture->truncated())
        context.prompter().tell("Unexpected file end!", "The content may be incomplete!",
                                PromptIcon::Information);

    cache.prepare(palette);
    std::optional<IndexedImage> image =
        resample ? resampleBmp(*picture, target.width(), target.height(), cache, context)
                 : copyBmp(*picture, target.width(), target.height(), palette, cache, context);
    if (!image)
        return JobResult::Failure;
    target.beginImport();
    for (int y = 0; y < image->height; ++y)
        for (int x = 0; x < image->width; ++x)
            target.setPixel(x, y, image->at(x, y));
    target.endImport(image->width, image->height);
    context.progress().setCount("100 %");
    context.position(102);
    return JobResult::Success;
}
