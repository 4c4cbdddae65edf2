#pragma once
// The music page's link to the player library (imflib), loaded by name at run time. When the
// library or one of its functions is missing the user is told and the page works without a
// driver: every call below then does nothing.

#include "common/byte_io.h"
#include "common/prompter.h"

#include <QLibrary>
#include <QString>

#include <cstdint>
#include <functional>

class QObject;

// The library's calling convention: the Windows standard one where there is a choice.
#if defined(_WIN32)
#define IMFLIB_BINDING_CALL __stdcall
#else
#define IMFLIB_BINDING_CALL
#endif

class ImfPlayerBinding {
public:
    // The event type the library posts to the page when a song has played to its end.
    static constexpr unsigned kSongEndedMessage = 0x800E;
    using Resolver = std::function<QFunctionPointer(const char* name)>;

    ImfPlayerBinding() = default;
    ~ImfPlayerBinding() { unload(); }
    ImfPlayerBinding(const ImfPlayerBinding&) = delete;
    ImfPlayerBinding& operator=(const ImfPlayerBinding&) = delete;

    // imflib in the program's folder.
    static QString defaultLibraryPath();

    // Loads the library, finds its functions and starts the player, which will post
    // kSongEndedMessage to window.
    bool load(Prompter& prompter, QObject* window, const QString& path = defaultLibraryPath());
    // The same with functions found by resolve in a library loaded by the caller.
    bool bind(Prompter& prompter, QObject* window, const Resolver& resolve);
    // Shuts the player down and unloads the library; the driver is gone afterwards.
    void unload();

    bool driverLoaded() const { return m_loaded; }

    void start(ByteView events);
    void playAt(ByteView events, uint32_t tick);
    // Pauses, or resumes a paused song.
    void pause();
    void stop();
    uint32_t position() const;
    // channel 0..8
    void mute(int channel, bool muted);

private:
    using VoidFunction = void(IMFLIB_BINDING_CALL*)();
    using SetEndedEventFunction = void(IMFLIB_BINDING_CALL*)(void*, unsigned);
    using StartFunction = void(IMFLIB_BINDING_CALL*)(const unsigned char*, unsigned);
    using PlayAtFunction = void(IMFLIB_BINDING_CALL*)(const unsigned char*, unsigned, unsigned);
    using PositionFunction = unsigned(IMFLIB_BINDING_CALL*)();
    using MuteFunction = void(IMFLIB_BINDING_CALL*)(int, int);

    QLibrary m_library;
    bool m_loaded = false;
    VoidFunction m_init = nullptr;
    SetEndedEventFunction m_setEndedEvent = nullptr;
    StartFunction m_start = nullptr;
    PlayAtFunction m_playAt = nullptr;
    VoidFunction m_pause = nullptr;
    VoidFunction m_stop = nullptr;
    PositionFunction m_position = nullptr;
    MuteFunction m_mute = nullptr;
    VoidFunction m_shutdown = nullptr;
};
