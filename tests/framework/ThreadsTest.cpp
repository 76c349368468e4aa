// The worker thread, the hand-over to the user-interface thread, and the
// calls that dialogs, frames and the modal seam take from a worker.
#include "support/DialogTemplateFile.h"
#include "support/ScriptedUserQueue.h"

#include "framework/Dialog.h"
#include "framework/Modal.h"
#include "framework/UserInterfaceThread.h"
#include "framework/WorkerThread.h"

#include <QApplication>
#include <QEventLoop>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>
#include <QTimer>

#include <array>
#include <atomic>
#include <chrono>
#include <latch>
#include <numeric>
#include <stdexcept>
#include <thread>

using namespace framework;
using Status = WorkerThread::Status;

namespace {

// A worker whose run body is a function; it waits for the body in its own
// destructor, before the function goes.
class Worker : public WorkerThread {
public:
    explicit Worker(std::function<int()> body) : body_(std::move(body)) {}
    ~Worker() override { waitForEnd(); }

protected:
    int run() override { return body_(); }

private:
    std::function<int()> body_;
};

// Waits for the worker's end while the user-interface thread runs its events,
// as a worker that asks that thread something needs.
bool endsWhileEventsRun(WorkerThread& worker)
{
    return QTest::qWaitFor([&] { return worker.waitForEnd(0); }, 5000);
}

// The critical lines logged while it lives. Read them once the worker that
// logs them has ended.
class CriticalLog {
public:
    CriticalLog()
    {
        lines.clear();
        previous_ = qInstallMessageHandler(&CriticalLog::take);
    }
    ~CriticalLog() { qInstallMessageHandler(previous_); }
    CriticalLog(const CriticalLog&) = delete;
    CriticalLog& operator=(const CriticalLog&) = delete;

    static inline QStringList lines;

private:
    static void take(QtMsgType type, const QMessageLogContext&, const QString& text)
    {
        if (type == QtCriticalMsg) lines << text;
    }
    QtMessageHandler previous_;
};

}  // namespace

TEST(WorkerThread, ReportsItsStatusAndExitCodeAndRunsOnce)
{
    std::latch release(1);
    std::atomic<int> runs{0};
    Worker worker([&] {
        ++runs;
        release.wait();
        return 42;
    });
    EXPECT_EQ(worker.status(), Status::NotStarted);
    worker.start();
    EXPECT_EQ(worker.status(), Status::Running);
    EXPECT_FALSE(worker.waitForEnd(50));
    EXPECT_EQ(worker.exitCode(), 0);
    worker.start();
    release.count_down();
    EXPECT_TRUE(worker.waitForEnd());
    EXPECT_EQ(worker.status(), Status::Ended);
    EXPECT_EQ(worker.exitCode(), 42);
    worker.start();
    EXPECT_TRUE(worker.waitForEnd());
    EXPECT_EQ(runs, 1);
}

TEST(WorkerThread, ARunBodyThatThrowsEndsWithMinusOneAndSaysWhy)
{
    const CriticalLog log;
    Worker worker([]() -> int { throw std::runtime_error("the disk is gone"); });
    worker.start();
    EXPECT_TRUE(worker.waitForEnd());
    EXPECT_EQ(worker.exitCode(), -1);
    ASSERT_EQ(CriticalLog::lines.size(), 1);
    EXPECT_TRUE(CriticalLog::lines[0].contains("the disk is gone")) << CriticalLog::lines[0].toStdString();
}

namespace {

struct SlowRun {
    std::latch entered{1};
    std::atomic<bool> finished{false};
};

// Uses nothing of itself once its body has begun, so that it may be
// destroyed while the body runs.
class SlowWorker : public WorkerThread {
public:
    explicit SlowWorker(SlowRun& slow) : slow_(&slow) {}

protected:
    int run() override
    {
        SlowRun* slow = slow_;
        slow->entered.count_down();
        std::this_thread::sleep_for(std::chrono::milliseconds(150));
        slow->finished = true;
        return 0;
    }

private:
    SlowRun* slow_;
};

}  // namespace

TEST(WorkerThread, ItsDestructorWaitsForTheRunBody)
{
    SlowRun slow;
    {
        SlowWorker worker(slow);
        worker.start();
        slow.entered.wait();
    }
    EXPECT_TRUE(slow.finished);
}

TEST(UserInterfaceThread, AWorkersQuestionRunsThereAndNeverOnItsOwn)
{
    bool askedThere = false;
    QThread* askedOn = nullptr;
    std::atomic<bool> workerIsUserInterfaceThread{true};
    Worker worker([&] {
        workerIsUserInterfaceThread = isUserInterfaceThread();
        return askOnUserInterfaceThread([&] {
                   askedThere = isUserInterfaceThread();
                   askedOn = QThread::currentThread();
                   return 17;
               })
            .value_or(-1);
    });
    worker.start();
    EXPECT_TRUE(endsWhileEventsRun(worker));
    EXPECT_EQ(worker.exitCode(), 17);
    EXPECT_FALSE(workerIsUserInterfaceThread);
    EXPECT_TRUE(askedThere);
    EXPECT_EQ(askedOn, QThread::currentThread());

    bool ranHere = false;
    const auto answerHere = askOnUserInterfaceThread([&] {
        ranHere = true;
        return 1;
    });
    EXPECT_EQ(answerHere, std::nullopt);
    EXPECT_FALSE(ranHere);
}

TEST(UserInterfaceThread, AQuestionIsAnsweredInsideAModalDialogWhoseTimersKeepFiring)
{
    QTemporaryDir folder;
    ASSERT_TRUE(writeDialogTemplate(folder.path(), "WAIT", "DIALOG WAIT 100 40 \"  Wait\"\n"));
    Dialog dialog(nullptr, ResourceSet(folder.path()), "WAIT");
    int ticks = 0;
    QTimer ticker;
    QObject::connect(&ticker, &QTimer::timeout, [&] { ++ticks; });
    ticker.start(10);
    bool askedDuringTheDialog = false;
    Worker worker([&] {
        return askOnUserInterfaceThread([&] {
                   askedDuringTheDialog = QApplication::activeModalWidget() == &dialog;
                   // Up for 300 ms, as a message box would be.
                   const int before = ticks;
                   QEventLoop shown;
                   QTimer::singleShot(300, &shown, &QEventLoop::quit);
                   shown.exec();
                   dialog.endDialog(ResultOk);
                   return ticks - before;
               })
            .value_or(-1);
    });
    // Should the question never get through, the dialog still ends.
    QTimer::singleShot(5000, &dialog, [&] { dialog.endDialog(ResultCancel); });
    worker.start();
    EXPECT_EQ(runModal(dialog), ResultOk);  // no scripted user: the dialog's own event loop
    EXPECT_TRUE(endsWhileEventsRun(worker));
    EXPECT_TRUE(askedDuringTheDialog);
    EXPECT_GE(worker.exitCode(), 5);
}

TEST(UserInterfaceThread, PostedActionsRunThereLaterAndInOrder)
{
    std::vector<int> order;
    bool allThere = true;
    Worker worker([&] {
        for (int i = 0; i < 50; ++i) {
            postToUserInterfaceThread([&, i] {
                allThere = allThere && isUserInterfaceThread();
                order.push_back(i);
            });
        }
        return 0;
    });
    worker.start();
    // The worker never waits: this thread runs no events until it has ended.
    EXPECT_TRUE(worker.waitForEnd(5000));
    EXPECT_TRUE(order.empty());
    EXPECT_TRUE(QTest::qWaitFor([&] { return order.size() == 50; }));
    std::vector<int> expected(50);
    std::iota(expected.begin(), expected.end(), 0);
    EXPECT_EQ(order, expected);
    EXPECT_TRUE(allThere);

    bool ranAtOnce = false;
    postToUserInterfaceThread([&] { ranAtOnce = true; });
    EXPECT_TRUE(ranAtOnce);
}

namespace {

class ThreadNotingUser : public ScriptedUserQueue {
public:
    std::vector<bool> onUserInterfaceThread;

    void useMessage(QMessageBox& box, const MessageRequest& request) override
    {
        onUserInterfaceThread.push_back(isUserInterfaceThread());
        ScriptedUserQueue::useMessage(box, request);
    }
    std::vector<std::string> answerFileDialog(const FileDialogRequest& request) override
    {
        onUserInterfaceThread.push_back(isUserInterfaceThread());
        return ScriptedUserQueue::answerFileDialog(request);
    }
};

}  // namespace

TEST(ModalFromAWorker, MessagesAndFileDialogsReachTheUserOnTheUserInterfaceThread)
{
    ThreadNotingUser user;
    ScopedScriptedUser installed(user);
    user.messageAnswers.push_back(ResultNo);
    user.fileAnswers = {{"/tmp/a", "/tmp/b"}, {"/tmp/saved"}};
    int answer = 0;
    PickedFiles opened;
    std::string saved;
    Worker worker([&] {
        answer = showMessage(nullptr,
                             {"Overwrite /tmp/x ?", "  Sealwin", MessageIcon::Question, MessageButtons::YesNoCancel});
        opened = chooseFilesToOpen(nullptr, {"Open", "Batch files (*.tvx)|*.tvx", true});
        saved = chooseFileToSave(nullptr, {"Save"});
        return 0;
    });
    worker.start();
    EXPECT_TRUE(endsWhileEventsRun(worker));
    EXPECT_EQ(answer, ResultNo);
    ASSERT_EQ(user.messages.size(), 1u);
    EXPECT_EQ(user.messages[0].text, "Overwrite /tmp/x ?");
    EXPECT_EQ(user.messages[0].caption, "  Sealwin");
    EXPECT_EQ(user.messages[0].icon, MessageIcon::Question);
    EXPECT_EQ(user.messages[0].buttons, MessageButtons::YesNoCancel);
    EXPECT_EQ(opened.folder, "/tmp");
    EXPECT_EQ(opened.names, (std::vector<std::string>{"a", "b"}));
    EXPECT_EQ(saved, "/tmp/saved");
    EXPECT_EQ(user.onUserInterfaceThread, (std::vector<bool>{true, true, true}));
}

TEST(ModalFromAWorker, ADialogIsNeverRunOffTheUserInterfaceThread)
{
    QTemporaryDir folder;
    ASSERT_TRUE(writeDialogTemplate(folder.path(), "WAIT", "DIALOG WAIT 100 40 \"  Wait\"\n"));
    ScriptedUserQueue user;  // without dialog steps: a dialog that reached it would fail the test
    ScopedScriptedUser installed(user);
    const CriticalLog log;
    Dialog dialog(nullptr, ResourceSet(folder.path()), "WAIT");
    Worker worker([&] { return runModal(dialog); });
    worker.start();
    EXPECT_TRUE(endsWhileEventsRun(worker));
    EXPECT_EQ(worker.exitCode(), ResultCancel);
    EXPECT_FALSE(dialog.isCreated());
    ASSERT_EQ(CriticalLog::lines.size(), 1);
    EXPECT_TRUE(CriticalLog::lines[0].contains("off the user-interface thread"));
}

namespace {

class WorkDialog : public Dialog {
public:
    using Dialog::Dialog;
    std::vector<bool> pressesOnUserInterfaceThread;

protected:
    void setupWindow() override
    {
        static constexpr std::array responses{Response<WorkDialog>{1, ControlEvent::Clicked, &WorkDialog::goClicked}};
        bindResponses<WorkDialog>(this, responses);
    }

private:
    void goClicked() { pressesOnUserInterfaceThread.push_back(isUserInterfaceThread()); }
};

class DialogFromAWorker : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(folder.isValid());
        ASSERT_TRUE(writeDialogTemplate(folder.path(), "WORK",
                                        "DIALOG WORK 200 120 \"  Work\"\n"
                                        "CONTROL 101 edit \"\" 8 8 104 14\n"
                                        "CONTROL 102 checkbox \"Wipe\" 8 26 60 10\n"
                                        "CONTROL 104 listbox \"\" 8 54 104 40\n"
                                        "CONTROL 1 pushbutton \"Go\" 120 8 50 14\n"));
    }
    QTemporaryDir folder;
};

}  // namespace

TEST_F(DialogFromAWorker, SettersActOnTheUserInterfaceThreadInTheirOrder)
{
    WorkDialog dialog(nullptr, ResourceSet(folder.path()), "WORK");
    ASSERT_TRUE(dialog.create());
    Worker worker([&] {
        dialog.setTextLimit(101, 6);
        dialog.setText(101, "first");
        dialog.setText(101, "second try");
        dialog.setChecked(102, true);
        dialog.setListItems(104, {"a", "b"});
        dialog.press(1);
        dialog.endDialog(ResultOk);
        return 0;
    });
    worker.start();
    // This thread runs no events until the worker has ended: nothing has
    // changed yet.
    EXPECT_TRUE(worker.waitForEnd(5000));
    EXPECT_EQ(dialog.text(101), "");
    EXPECT_FALSE(dialog.isChecked(102));

    EXPECT_TRUE(QTest::qWaitFor([&] { return dialog.hasEnded(); }));
    EXPECT_EQ(dialog.text(101), "second");
    EXPECT_TRUE(dialog.isChecked(102));
    EXPECT_EQ(dialog.listItems(104), QStringList({"a", "b"}));
    EXPECT_EQ(dialog.pressesOnUserInterfaceThread, std::vector<bool>{true});
    EXPECT_EQ(dialog.endResult(), ResultOk);
}

TEST_F(DialogFromAWorker, GettersGiveTheUserInterfaceThreadsValues)
{
    Dialog dialog(nullptr, ResourceSet(folder.path()), "WORK");
    ASSERT_TRUE(dialog.create());
    dialog.setPathText(101, "/tmp/caf\xE9");
    dialog.setChecked(102, true);
    dialog.setListItems(104, {"x", "y"});
    std::string path;
    bool checked = false;
    QStringList items;
    QString changed;
    Worker worker([&] {
        path = dialog.pathText(101);
        checked = dialog.isChecked(102);
        items = dialog.listItems(104);
        // Asked after a change the worker made: the change has been made.
        dialog.setText(101, "changed");
        changed = dialog.text(101);
        return 0;
    });
    worker.start();
    EXPECT_TRUE(endsWhileEventsRun(worker));
    EXPECT_EQ(path, "/tmp/caf\xE9");
    EXPECT_TRUE(checked);
    EXPECT_EQ(items, QStringList({"x", "y"}));
    EXPECT_EQ(changed, "changed");
}

TEST_F(DialogFromAWorker, CallsLeftForADialogThatIsGoneAreDropped)
{
    auto* gone = new Dialog(nullptr, ResourceSet(folder.path()), "WORK");
    ASSERT_TRUE(gone->create());
    Dialog kept(nullptr, ResourceSet(folder.path()), "WORK");
    ASSERT_TRUE(kept.create());
    Worker worker([&] {
        gone->setText(101, "late");
        gone->startDialogTimer(7, 1);
        kept.setText(101, "in time");
        return 0;
    });
    worker.start();
    EXPECT_TRUE(worker.waitForEnd(5000));
    delete gone;
    EXPECT_TRUE(QTest::qWaitFor([&] { return kept.text(101) == "in time"; }));
}
