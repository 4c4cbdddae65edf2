#include "app/job.h"

#include <gtest/gtest.h>

#include <chrono>
#include <mutex>
#include <vector>

namespace {

// A progress display that records what the job wrote, in order.
class RecordingProgress : public ProgressSink {
public:
    void setTitle(const std::string& t) override { add("title " + t); }
    void setCount(const std::string& c) override { add("count " + c); }
    void setRange(int low, int high) override {
        add("range " + std::to_string(low) + ".." + std::to_string(high));
    }
    void setPosition(int p) override { add("position " + std::to_string(p)); }
    std::vector<std::string> events() {
        std::lock_guard lock(m_mutex);
        return m_events;
    }

private:
    void add(const std::string& e) {
        std::lock_guard lock(m_mutex);
        m_events.push_back(e);
    }
    std::mutex m_mutex;
    std::vector<std::string> m_events;
};

} // namespace

TEST(Job, WaitsForTheDialogBeforeReportingAndKeepsAQuickResult) {
    JobChannel channel;
    RecordingProgress progress;
    RecordingPrompter prompter;
    std::atomic<bool> started{false};
    Worker worker;
    worker.start(channel, progress, prompter, [&](JobContext& job) {
        started = true;
        job.title("Loading Maps...");
        job.range(3);
        job.count(1, 3);
        job.position(1);
        return JobResult::Success;
    });
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    EXPECT_FALSE(started);
    EXPECT_FALSE(channel.result());
    channel.markReady();
    worker.join();
    EXPECT_EQ(channel.result(), JobResult::Success);
    EXPECT_EQ(progress.events(), (std::vector<std::string>{"title Loading Maps...", "range 0..3",
                                                           "count 1/3", "position 1"}));
}

TEST(Job, FinishedBeforeTheDialogHandlerIsSetStillDeliversItsResult) {
    JobChannel channel;
    NullProgress progress;
    RecordingPrompter prompter;
    channel.markReady();
    Worker worker;
    worker.start(channel, progress, prompter, [](JobContext&) { return JobResult::NothingDone; });
    worker.join();
    std::optional<JobResult> delivered;
    channel.setFinishHandler([&](JobResult r) { delivered = r; });
    EXPECT_EQ(channel.result(), JobResult::NothingDone);
    EXPECT_FALSE(delivered); // already finished: the starter reads result()
}

TEST(Job, OnlyTheFirstResultCounts) {
    JobChannel channel;
    int calls = 0;
    channel.setFinishHandler([&](JobResult) { ++calls; });
    channel.finish(JobResult::Failure);
    channel.finish(JobResult::Success);
    EXPECT_EQ(channel.result(), JobResult::Failure);
    EXPECT_EQ(calls, 1);
}

TEST(Job, CancelStopsACooperativeJobAndKeepsWhatItDid) {
    JobChannel channel;
    NullProgress progress;
    RecordingPrompter prompter;
    std::atomic<int> itemsDone{0};
    channel.markReady();
    Worker worker;
    worker.start(channel, progress, prompter, [&](JobContext& job) {
        for (int i = 0; i < 1000000; ++i) {
            if (job.cancelled())
                return JobResult::Failure;
            ++itemsDone;
            std::this_thread::sleep_for(std::chrono::microseconds(50));
        }
        return JobResult::Success;
    });
    while (itemsDone < 5)
        std::this_thread::yield();
    channel.requestCancel();
    worker.join();
    EXPECT_EQ(channel.result(), JobResult::Failure);
    EXPECT_GE(itemsDone.load(), 5);
    EXPECT_LT(itemsDone.load(), 1000000);
}

TEST(Job, CancelBeforeTheDialogIsReadyEndsWithoutRunning) {
    JobChannel channel;
    NullProgress progress;
    RecordingPrompter prompter;
    bool ran = false;
    Worker worker;
    worker.start(channel, progress, prompter, [&](JobContext&) {
        ran = true;
        return JobResult::Success;
    });
    channel.requestCancel();
    worker.join();
    EXPECT_FALSE(ran);
    EXPECT_EQ(channel.result(), JobResult::Failure);
}

TEST(Job, SecondJobWaitsForTheSecondReadySignal) {
    JobChannel channel;
    NullProgress progress;
    RecordingPrompter prompter;
    channel.markReady();
    {
        Worker first;
        first.start(channel, progress, prompter, [](JobContext&) { return JobResult::Success; });
    }
    channel.reset();
    std::atomic<bool> secondRan{false};
    Worker second;
    second.start(channel, progress, prompter, [&](JobContext&) {
        secondRan = true;
        return JobResult::Success;
    });
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    EXPECT_FALSE(secondRan);
    channel.markReady();
    second.join();
    EXPECT_TRUE(secondRan);
}
