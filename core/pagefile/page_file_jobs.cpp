#include "pagefile/page_file_jobs.h"

#include "common/file_io.h"

#include <chrono>

namespace fs = std::filesystem;

namespace {

// The whole of an open stream, or nothing when it is larger than any game file.
std::optional<Bytes> readStream(std::ifstream& in) {
    in.seekg(0, std::ios::end);
    const std::streamoff size = in.tellg();
    if (size < 0 || uint64_t(size) > kMaxGameFileSize)
        return std::nullopt;
    in.seekg(0, std::ios::beg);
    Bytes data(static_cast<size_t>(size));
    if (size > 0 && !in.read(reinterpret_cast<char*>(data.data()), size))
        return std::nullopt;
    return data;
}

const char* openFailureCaption(PageKind kind) {
    switch (kind) {
    case PageKind::Walls:
        return "Cannot Open";
    case PageKind::Sprites:
        return "CTessarandDlg::LoadSprites(): Cannot open file:";
    case PageKind::Sounds:
        return "Error while loading sounds: Cannot open file:";
    }
    return "Cannot Open";
}

} // namespace

uint64_t pageFileClockMs() {
    using namespace std::chrono;
    return uint64_t(duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

PageFileLoad::PageFileLoad(PageKind kind, fs::path path) : m_kind(kind), m_path(std::move(path)) {}

bool PageFileLoad::open(Prompter& prompter) {
    std::error_code error;
    if (fs::is_regular_file(m_path, error))
        m_in.open(m_path, std::ios::binary);
    if (!m_in.is_open()) {
        prompter.tell(openFailureCaption(m_kind), m_path.string());
        return false;
    }
    return true;
}

JobResult PageFileLoad::run(JobContext& context) {
    std::optional<Bytes> file = m_in.is_open() ? readStream(m_in) : std::nullopt;
    m_in.close();
    if (!file) {
        context.prompter().tell(openFailureCaption(m_kind), m_path.string());
        return JobResult::Failure;
    }
    switch (m_kind) {
    case PageKind::Walls:
        return readWalls(*file, m_walls, context);
    case PageKind::Sprites:
        return readSprites(*file, m_sprites, context);
    case PageKind::Sounds:
        return readSounds(*file, m_sounds, context);
    }
    return JobResult::Failure;
}

bool PageFileLoad::finish(JobResult result, PageFile& pageFile) {
    m_in.close();
    if (result != JobResult::Success)
        return false;
    switch (m_kind) {
    case PageKind::Walls:
        pageFile.walls = std::move(m_walls);
        break;
    case PageKind::Sprites:
        pageFile.sprites = std::move(m_sprites);
        break;
    case PageKind::Sounds:
        pageFile.sounds = std::move(m_sounds);
        break;
    }
    pageFile.loaded[size_t(m_kind)] = true;
    pageFile.lastPath[size_t(m_kind)] = m_path;
    pageFile.lastAccessMs = pageFileClockMs();
    return true;
}

PageFileSave::PageFileSave(PageKind kind, fs::path path, const PageFile& source,
                           SpriteCompression compression)
    : m_kind(kind), m_path(std::move(path)), m_source(source),
      m_compressor(shapeCompressorFor(compression)), m_writer(m_path) {}

bool PageFileSave::begin(Prompter& prompter) {
    if (!m_writer.begin()) {
        prompter.tell("Cannot Open", m_writer.tmpPath().string());
        return false;
    }
    std::error_code error;
    if (fs::is_regular_file(m_path, error))
        m_existing.open(m_path, std::ios::binary);
    return true;
}

JobResult PageFileSave::run(JobContext& context) {
    Bytes existing;
    if (m_existing.is_open()) {
        std::optional<Bytes> read = readStream(m_existing);
        m_existing.close();
        if (!read) {
            context.prompter().tell("Cannot Open", m_path.string());
            return JobResult::Failure;
        }
        existing = std::move(*read);
    }
    Bytes out;
    JobResult result = JobResult::Failure;
    switch (m_kind) {
    case PageKind::Walls:
        result = writeWalls(existing, m_source.walls, out, context);
        break;
    case PageKind::Sprites:
        result = writeSprites(existing, m_source.sprites, m_compressor, out, context);
        break;
    case PageKind::Sounds:
        result = writeSounds(existing, m_source.sounds, out, context);
        break;
    }
    if (result != JobResult::Success)
        return JobResult::Failure;
    if (context.cancelled())
        return JobResult::Failure;
    if (!m_writer.write(out)) {
        context.prompter().tell("Cannot Write", m_writer.tmpPath().string(),
                                PromptIcon::Exclamation);
        return JobResult::Failure;
    }
    return JobResult::Success;
}

bool PageFileSave::finish(JobResult result, PageFile& pageFile, Prompter& prompter) {
    m_existing.close();
    if (result != JobResult::Success) {
        m_writer.abandon();
        return false;
    }
    std::string error;
    if (!m_writer.commit(&error)) {
        prompter.tell("Cannot Write", error, PromptIcon::Exclamation);
        return false;
    }
    pageFile.lastAccessMs = pageFileClockMs();
    return true;
}

JobResult loadPageFileKind(PageFile& pageFile, PageKind kind, const fs::path& path,
                           Prompter& prompter, ProgressSink& progress) {
    PageFileLoad load(kind, path);
    if (!load.open(prompter))
        return JobResult::Failure;
    JobResult result =
        runJobHere([&](JobContext& context) { return load.run(context); }, progress, prompter);
    load.finish(result, pageFile);
    return result;
}

JobResult savePageFileKind(PageFile& pageFile, PageKind kind, const fs::path& path,
                           SpriteCompression compression, Prompter& prompter,
                           ProgressSink& progress) {
    PageFileSave save(kind, path, pageFile, compression);
    if (!save.begin(prompter))
        return JobResult::Failure;
    JobResult result =
        runJobHere([&](JobContext& context) { return save.run(context); }, progress, prompter);
    if (!save.finish(result, pageFile, prompter))
        return JobResult::Failure;
    return result;
}
