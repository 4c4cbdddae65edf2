#include "imflib.h"

#include "imf_sequencer.h"

#include <QAudioFormat>
#include <QAudioSink>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QIODevice>
#include <QMediaDevices>
#include <QPointer>
#include <QTimer>

#include <algorithm>
#include <memory>
#include <mutex>
#include <vector>

namespace {

constexpr int kClockIntervalMs = 10;
constexpr int kSinkBufferMs = 100;

// Hands the audio sink whatever the sequencer renders next.
class SequencerDevice : public QIODevice {
public:
    SequencerDevice(ImfSequencer& sequencer, std::mutex& mutex)
        : m_sequencer(sequencer), m_mutex(mutex) {}

    bool isSequential() const override { return true; }
    qint64 bytesAvailable() const override { return (1 << 16) + QIODevice::bytesAvailable(); }

protected:
    qint64 readData(char* data, qint64 maxSize) override {
        size_t frames = size_t(maxSize) / sizeof(int16_t);
        std::lock_guard lock(m_mutex);
        m_sequencer.render(reinterpret_cast<int16_t*>(data), frames);
        return qint64(frames * sizeof(int16_t));
    }
    qint64 writeData(const char*, qint64) override { return -1; }

private:
    ImfSequencer& m_sequencer;
    std::mutex& m_mutex;
};

class ImfPlayer {
public:
    ImfPlayer() : m_device(m_sequencer, m_mutex) {
        m_device.open(QIODevice::ReadOnly);
        QObject::connect(&m_clock, &QTimer::timeout, [this] { tick(); });
        m_clock.setInterval(kClockIntervalMs);
    }
    ~ImfPlayer() { stop(); }

    void setEndedEvent(QObject* window, unsigned message) {
        m_window = window;
        m_message = message;
    }

    void play(const unsigned char* events, unsigned length, unsigned position) {
        stopOutput();
        {
            std::lock_guard lock(m_mutex);
            m_sequencer.start(std::span<const uint8_t>(events, events ? length : 0), position);
        }
        m_startTick = position;
        m_paused = false;
        m_endReported = false;
        startOutput();
    }

    void togglePause() {
        if (!m_playing)
            return;
        m_paused = !m_paused;
        if (m_sink) {
            if (m_paused)
                m_sink->suspend();
            else
                m_sink->resume();
        } else if (m_paused) {
            advanceSilently();
        } else {
            m_silentClock.restart();
        }
    }

    void stop() {
        stopOutput();
        std::lock_guard lock(m_mutex);
        m_sequencer.stop();
        m_startTick = 0;
    }

    unsigned position() {
        if (m_playing && !m_paused && !m_sink)
            advanceSilently();
        // Asked before taking the lock: the device may be feeding itself under its own.
        qint64 processedUs = m_sink ? m_sink->processedUSecs() : 0;
        std::lock_guard lock(m_mutex);
        uint32_t rendered = m_sequencer.position();
        if (!m_sink)
            return rendered;
        // What has reached the device, not what is still queued in front of it.
        uint64_t heard = m_startTick + uint64_t(processedUs) * kImfTickRate / 1000000;
        return unsigned(std::min<uint64_t>(heard, rendered));
    }

    void mute(int channel, bool muted) {
        std::lock_guard lock(m_mutex);
        m_sequencer.setMuted(channel, muted);
    }

private:
    void startOutput() {
        m_playing = true;
        m_clock.start();
        if (!QCoreApplication::instance() || !openSink()) {
            m_sink.reset();
            m_silentClock.start();
        }
    }

    bool openSink() {
        QAudioDevice device = QMediaDevices::defaultAudioOutput();
        if (device.isNull())
            return false;
        QAudioFormat format;
        format.setSampleRate(m_sequencer.sampleRate());
        format.setChannelCount(1);
        format.setSampleFormat(QAudioFormat::Int16);
        if (!device.isFormatSupported(format))
            return false;
        m_sink = std::make_unique<QAudioSink>(device, format);
        m_sink->setBufferSize(format.bytesForDuration(kSinkBufferMs * 1000));
        m_sink->start(&m_device);
        return m_sink->error() == QAudio::NoError && m_sink->state() != QAudio::StoppedState;
    }

    void stopOutput() {
        m_clock.stop();
        m_playing = false;
        m_paused = false;
        if (m_sink) {
            m_sink->stop();
            m_sink.reset();
        }
    }

    // Without a device the song advances by the time that has passed.
    void advanceSilently() {
        qint64 elapsedMs = m_silentClock.restart();
        std::lock_guard lock(m_mutex);
        size_t frames = size_t(elapsedMs) * size_t(m_sequencer.sampleRate()) / 1000;
        m_scratch.resize(std::min<size_t>(frames, size_t(m_sequencer.sampleRate())));
        while (frames > 0 && m_sequencer.playing()) {
            size_t count = std::min(frames, m_scratch.size());
            m_sequencer.render(m_scratch.data(), count);
            frames -= count;
        }
    }

    void tick() {
        if (m_paused || !m_playing)
            return;
        if (m_sink && m_sink->error() != QAudio::NoError &&
            m_sink->error() != QAudio::UnderrunError) {
            // The device went away: keep time silently from here.
            m_sink.reset();
            m_silentClock.start();
        }
        if (!m_sink)
            advanceSilently();
        bool ended;
        {
            std::lock_guard lock(m_mutex);
            ended = m_sequencer.finished();
        }
        if (!ended || (m_sink && position() < m_sequencer.length()) || m_endReported)
            return;
        m_endReported = true;
        stopOutput();
        if (m_window)
            QCoreApplication::postEvent(m_window, new QEvent(QEvent::Type(m_message)));
    }

    std::mutex m_mutex;
    ImfSequencer m_sequencer;
    SequencerDevice m_device;
    std::unique_ptr<QAudioSink> m_sink;
    QTimer m_clock;
    QElapsedTimer m_silentClock;
    std::vector<int16_t> m_scratch;
    QPointer<QObject> m_window;
    unsigned m_message = 0;
    uint32_t m_startTick = 0;
    bool m_playing = false;
    bool m_paused = false;
    bool m_endReported = false;
};

std::unique_ptr<ImfPlayer> g_player;

ImfPlayer& player() {
    if (!g_player)
        g_player = std::make_unique<ImfPlayer>();
    return *g_player;
}

} // namespace

extern "C" {

void IMFLIB_CALL InitIMFPlayer(void) {
    player();
}

void IMFLIB_CALL SetIMFEndedEvent(void* window, unsigned int message) {
    player().setEndedEvent(static_cast<QObject*>(window), message);
}

void IMFLIB_CALL StartIMFMusic(const unsigned char* events, unsigned int length) {
    player().play(events, length, 0);
}

void IMFLIB_CALL PlayIMFMusicAt(const unsigned char* events, unsigned int length,
                                unsigned int position) {
    player().play(events, length, position);
}

void IMFLIB_CALL PauseIMFMusic(void) {
    player().togglePause();
}

void IMFLIB_CALL StopIMFMusic(void) {
    player().stop();
}

unsigned int IMFLIB_CALL GetIMFPosition(void) {
    return player().position();
}

void IMFLIB_CALL MuteIMFChannel(int channel, int mute) {
    player().mute(channel, mute != 0);
}

void IMFLIB_CALL ShutdownIMFPlayer(void) {
    g_player.reset();
}
}
