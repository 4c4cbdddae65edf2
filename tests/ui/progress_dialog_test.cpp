#include "app/progress_dialog.h"

#include <QCoreApplication>
#include <QMetaObject>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

TEST(ProgressDialog, JobReportsAndEndsTheDialogWithItsResult) {
    CProgressDlg dialog;
    RecordingPrompter prompter;
    for (JobResult expected : {JobResult::Success, JobResult::Failure, JobResult::NothingDone}) {
        JobResult result = dialog.runJob(
            [expected](JobContext& job) {
                job.title("Saving Maps...");
                job.range(10);
                job.count(10, 10);
                job.position(10);
                return expected;
            },
            prompter);
        EXPECT_EQ(result, expected);
        QCoreApplication::processEvents();
        EXPECT_EQ(dialog.titleText(), "Saving Maps...");
        EXPECT_EQ(dialog.countText(), "10/10");
        EXPECT_EQ(dialog.bar()->maximum(), 10);
        EXPECT_EQ(dialog.bar()->value(), 10);
        EXPECT_FALSE(dialog.isVisible());
    }
}

TEST(ProgressDialog, CancelEndsWithTwoAtOnceAndTheJobStopsBeforeReturning) {
    CProgressDlg dialog;
    RecordingPrompter prompter;
    std::atomic<int> items{0};
    std::atomic<bool> jobStillRunning{false};
    JobResult result = dialog.runJob(
        [&](JobContext& job) {
            jobStillRunning = true;
            for (int i = 0; i < 100000; ++i) {
                if (job.cancelled())
                    break;
                // The user presses Cancel while the job is in the middle of its work.
                if (++items == 3)
                    QMetaObject::invokeMethod(
                        &dialog, [&] { dialog.cancelButton()->click(); }, Qt::QueuedConnection);
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
            }
            jobStillRunning = false;
            return JobResult::Success;
        },
        prompter);
    EXPECT_EQ(result, JobResult::Failure);
    EXPECT_FALSE(jobStillRunning); // joined before runJob returned
    EXPECT_GE(items.load(), 3);
    EXPECT_LT(items.load(), 100000);
}

TEST(ProgressDialog, QuestionsFromTheWorkerAreAnsweredOnTheInterfaceThread) {
    CProgressDlg dialog;
    RecordingPrompter prompter;
    prompter.script(PromptAnswer::No);
    JobResult result = dialog.runJob(
        [](JobContext& job) {
            bool yes = job.prompter().askYesNo("Tessarand", "Go on?");
            return yes ? JobResult::Success : JobResult::Failure;
        },
        prompter);
    EXPECT_EQ(result, JobResult::Failure);
    ASSERT_EQ(prompter.prompts().size(), 1u);
}

TEST(ProgressDialog, BarIsPureGreen) {
    CProgressDlg dialog;
    EXPECT_NE(dialog.bar()->styleSheet().indexOf("rgb(0, 255, 0)"), -1);
    EXPECT_EQ(dialog.windowTitle(), "Progress");
    EXPECT_EQ(dialog.cancelButton()->text(), "Cancel");
}
