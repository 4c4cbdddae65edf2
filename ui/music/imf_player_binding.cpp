#include "music/imf_player_binding.h"

#include <QCoreApplication>

namespace {

const char* const kNewVersionText = "Please download a new version of IMFLib!";

} // namespace

QString ImfPlayerBinding::defaultLibraryPath() {
    return QCoreApplication::applicationDirPath() + "/imflib";
}

bool ImfPlayerBinding::load(Prompter& prompter, QObject* window, const QString& path) {
    unload();
    m_library.setFileName(path);
    if (!m_library.load()) {
        prompter.tell("Tessarand", "IMFLIB.DLL not found!");
        return false;
    }
    if (bind(prompter, window, [this](const char* name) { return m_library.resolve(name); }))
        return true;
    m_library.unload();
    return false;
}

bool ImfPlayerBinding::bind(Prompter& prompter, QObject* window, const Resolver& resolve) {
    unload();
    // Older players lack the last two. Any missing function leaves the page without driver.
    struct Entry {
        const char* name;
        QFunctionPointer* target;
    } entries[] = {
        {"InitIMFPlayer", reinterpret_cast<QFunctionPointer*>(&m_init)},
        {"SetIMFEndedEvent", reinterpret_cast<QFunctionPointer*>(&m_setEndedEvent)},
        {"StartIMFMusic", reinterpret_cast<QFunctionPointer*>(&m_start)},
        {"PauseIMFMusic", reinterpret_cast<QFunctionPointer*>(&m_pause)},
        {"StopIMFMusic", reinterpret_cast<QFunctionPointer*>(&m_stop)},
        {"GetIMFPosition", reinterpret_cast<QFunctionPointer*>(&m_position)},
        {"ShutdownIMFPlayer", reinterpret_cast<QFunctionPointer*>(&m_shutdown)},
        {"MuteIMFChannel", reinterpret_cast<QFunctionPointer*>(&m_mute)},
        {"PlayIMFMusicAt", reinterpret_cast<QFunctionPointer*>(&m_playAt)},
    };
    for (const Entry& entry : entries) {
        *entry.target = resolve(entry.name);
        if (!*entry.target) {
            prompter.tell(std::string(entry.name) + " not found in IMFLib!", kNewVersionText,
                          PromptIcon::Exclamation);
            for (const Entry& clear : entries)
                *clear.target = nullptr;
            return false;
        }
    }
    m_loaded = true;
    m_init();
    m_setEndedEvent(window, kSongEndedMessage);
    return true;
}

void ImfPlayerBinding::unload() {
    if (m_loaded) {
        m_shutdown();
        m_loaded = false;
    }
    if (m_library.isLoaded())
        m_library.unload();
}

void ImfPlayerBinding::start(ByteView events) {
    if (m_loaded)
        m_start(events.data(), unsigned(events.size()));
}

void ImfPlayerBinding::playAt(ByteView events, uint32_t tick) {
    if (m_loaded)
        m_playAt(events.data(), unsigned(events.size()), tick);
}

void ImfPlayerBinding::pause() {
    if (m_loaded)
        m_pause();
}

void ImfPlayerBinding::stop() {
    if (m_loaded)
        m_stop();
}

uint32_t ImfPlayerBinding::position() const {
    return m_loaded ? m_position() : 0;
}

void ImfPlayerBinding::mute(int channel, bool muted) {
    if (m_loaded)
        m_mute(channel, muted ? 1 : 0);
}
