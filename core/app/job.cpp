#include "app/job.h"

#include <cstdio>

void JobChannel::setFinishHandler(std::function<void(JobResult)> handler) {
    std::lock_guard lock(m_handlerMutex);
    m_finishHandler = std::move(handler);
}

bool JobChannel::waitUntilReady() {
    while (!m_ready.load(std::memory_order_acquire)) {
        if (cancelRequested())
            return false;
        std::this_thread::yield();
    }
    m_ready.store(false, std::memory_order_release);
    return true;
}

void JobChannel::finish(JobResult result) {
    int expected = 0;
    if (!m_result.compare_exchange_strong(expected, static_cast<int>(result)))
        return;
    std::function<void(JobResult)> handler;
    {
        std::lock_guard lock(m_handlerMutex);
        handler = m_finishHandler;
    }
    if (handler)
        handler(result);
}

std::optional<JobResult> JobChannel::result() const {
    int value = m_result.load();
    if (value == 0)
        return std::nullopt;
    return static_cast<JobResult>(value);
}

void JobChannel::reset() {
    m_ready.store(false);
    m_cancel.store(false);
    m_result.store(0);
}

void JobContext::count(int item, int total) {
    char text[32];
    std::snprintf(text, sizeof text, "%i/%i", item, total);
    m_progress.setCount(text);
}

void Worker::start(JobChannel& channel, ProgressSink& progress, Prompter& prompter,
                   JobRoutine routine) {
    join();
    m_thread = std::thread([&channel, &progress, &prompter, routine = std::move(routine)] {
        if (!channel.waitUntilReady()) {
            channel.finish(JobResult::Failure);
            return;
        }
        JobContext context(progress, prompter, &channel);
        channel.finish(routine(context));
    });
}

void Worker::join() {
    if (m_thread.joinable())
        m_thread.join();
}

JobResult runJobHere(const JobRoutine& routine, ProgressSink& progress, Prompter& prompter) {
    JobContext context(progress, prompter);
    return routine(context);
}
