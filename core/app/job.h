#pragma once
// The job protocol of long load/save work: the worker waits for the progress display to be
// ready, reports title, count line, range and position, and finishes exactly once with a result.
// Cancel is cooperative: the job tests cancelled() between items and the starter joins it.

#include "common/prompter.h"

#include <atomic>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

enum class JobResult : int {
    Success = 1,
    Failure = 2, // failed after reporting why, or cancelled
    NothingDone = 3, // the wall reader found no walls and changed nothing
};

class ProgressSink {
public:
    virtual ~ProgressSink() = default;
    virtual void setTitle(const std::string& title) = 0;
    virtual void setCount(const std::string& count) = 0;
    virtual void setRange(int low, int high) = 0;
    virtual void setPosition(int position) = 0;
};

class NullProgress : public ProgressSink {
public:
    void setTitle(const std::string&) override {}
    void setCount(const std::string&) override {}
    void setRange(int, int) override {}
    void setPosition(int) override {}
};

// The handshake between one run of the progress dialog and its worker.
class JobChannel {
public:
    // Dialog side.
    void markReady() { m_ready.store(true, std::memory_order_release); }
    void requestCancel() { m_cancel.store(true, std::memory_order_release); }
    // Called once with the result; the dialog ends itself from it (on its own thread).
    void setFinishHandler(std::function<void(JobResult)> handler);

    // Worker side.
    // Waits until the dialog is shown, then clears the flag so the next job waits again.
    // Returns false when the job was cancelled before the dialog became ready.
    bool waitUntilReady();
    bool cancelRequested() const { return m_cancel.load(std::memory_order_acquire); }
    // Only the first result counts.
    void finish(JobResult result);

    std::optional<JobResult> result() const;
    // Makes the channel usable for the next job.
    void reset();

private:
    std::atomic<bool> m_ready{false};
    std::atomic<bool> m_cancel{false};
    std::atomic<int> m_result{0};
    std::mutex m_handlerMutex;
    std::function<void(JobResult)> m_finishHandler;
};

// What a job routine is given: where to report, whom to ask, and whether to stop.
class JobContext {
public:
    JobContext(ProgressSink& progress, Prompter& prompter, const JobChannel* channel = nullptr)
        : m_progress(progress), m_prompter(prompter), m_channel(channel) {}

    ProgressSink& progress() { return m_progress; }
    Prompter& prompter() { return m_prompter; }
    bool cancelled() const { return m_channel && m_channel->cancelRequested(); }

    void title(const std::string& text) { m_progress.setTitle(text); }
    // The usual "%i/%i" count line.
    void count(int item, int total);
    void range(int total) { m_progress.setRange(0, total); }
    void position(int value) { m_progress.setPosition(value); }

private:
    ProgressSink& m_progress;
    Prompter& m_prompter;
    const JobChannel* m_channel;
};

using JobRoutine = std::function<JobResult(JobContext&)>;

// One worker thread running one job under the protocol.
class Worker {
public:
    Worker() = default;
    Worker(const Worker&) = delete;
    Worker& operator=(const Worker&) = delete;
    ~Worker() { join(); }

    void start(JobChannel& channel, ProgressSink& progress, Prompter& prompter,
               JobRoutine routine);
    // Waits for the thread; after Cancel the job stops at its next check.
    void join();
    bool running() const { return m_thread.joinable(); }

private:
    std::thread m_thread;
};

// Runs a routine on the calling thread (CLI, tests): no dialog, nothing to wait for.
JobResult runJobHere(const JobRoutine& routine, ProgressSink& progress, Prompter& prompter);
