#pragma once
// The music-player library the music page loads at run time by name. It plays IMF events at
// 700 ticks per second on an emulated OPL2, reports positions in the same ticks, and posts an
// event of the type given to SetIMFEndedEvent to the given QObject when a song has ended.
// Without an audio device it keeps time silently, so the page behaves the same.

#if defined(_WIN32)
#define IMFLIB_CALL __stdcall
#define IMFLIB_EXPORT __declspec(dllexport)
#else
#define IMFLIB_CALL
#define IMFLIB_EXPORT __attribute__((visibility("default")))
#endif

extern "C" {

IMFLIB_EXPORT void IMFLIB_CALL InitIMFPlayer(void);
// window is a QObject*; it receives a QEvent whose type() is message.
IMFLIB_EXPORT void IMFLIB_CALL SetIMFEndedEvent(void* window, unsigned int message);
IMFLIB_EXPORT void IMFLIB_CALL StartIMFMusic(const unsigned char* events, unsigned int length);
IMFLIB_EXPORT void IMFLIB_CALL PlayIMFMusicAt(const unsigned char* events, unsigned int length,
                                              unsigned int position);
// Pauses a playing song, or resumes a paused one.
IMFLIB_EXPORT void IMFLIB_CALL PauseIMFMusic(void);
IMFLIB_EXPORT void IMFLIB_CALL StopIMFMusic(void);
IMFLIB_EXPORT unsigned int IMFLIB_CALL GetIMFPosition(void);
// channel 0..8; mute nonzero mutes, 0 unmutes.
IMFLIB_EXPORT void IMFLIB_CALL MuteIMFChannel(int channel, int mute);
IMFLIB_EXPORT void IMFLIB_CALL ShutdownIMFPlayer(void);
}
