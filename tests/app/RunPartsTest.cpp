// The parts of a run, without the window: program-like names and the
// overwrite decision, target names, the recovery list, log entries, key bytes,
// the progress bar's updates and processFiles itself on real files.
#include "EngineHeldElsewhere.h"
#include "support/FolderTree.h"

#include "app/EngineBusy.h"
#include "app/KeyText.h"
#include "app/RunWindow.h"
#include "core/EngineGate.h"
#include "core/OverwriteDecision.h"
#include "core/RecoveryList.h"
#include "core/TargetFiles.h"

#include "services/ActivityLog.h"

#include "framework/FileSystem.h"

#include "support/ScriptedUserQueue.h"

#include "ChildProcess.h"
#include "TestFiles.h"
#include "tarvex.h"

#include <sys/fsuid.h>
#include <sys/stat.h>

#include <deque>
#include <filesystem>
#include <fstream>
#include <thread>

using services::BuildVariant;
using services::StringList;
using services::variantTexts;
using testsupport::Bytes;
using testsupport::readFile;
using testsupport::writeFile;

namespace {

StringList listOf(const std::vector<std::string>& entries)
{
    StringList list;
    for (const std::string& entry : entries) list.add(entry);
    return list;
}

std::vector<std::string> entriesOf(const StringList& list)
{
    std::vector<std::string> entries;
    for (int i = 0; i < list.count(); ++i) entries.push_back(list.getAt(i));
    return entries;
}

// The window as a run sees it, answering from a queue and recording all.
class FakeRunWindow : public RunWindow {
public:
    std::vector<QString> captions;
    std::vector<int> progress;
    std::vector<QString> questions;
    std::deque<int> answers;
    std::function<void()> onQuestion;
    std::vector<QString> failureReports;
    bool goOnWithoutList = false;
    int recoveryListQuestions = 0;

    void showCaption(const QString& caption) override { captions.push_back(caption); }
    void showProgress(int percent) override { progress.push_back(percent); }
    int askOverwrite(const QString& question) override
    {
        questions.push_back(question);
        if (onQuestion) onQuestion();
        if (answers.empty()) {
            ADD_FAILURE() << "unexpected question " << question.toStdString();
            return AnswerCancel;
        }
        const int answer = answers.front();
        answers.pop_front();
        return answer;
    }
    bool goOnWithoutRecoveryList(const QString&) override
    {
        ++recoveryListQuestions;
        return goOnWithoutList;
    }
    void reportFailures(const QString& text) override { failureReports.push_back(text); }
};

const char* const key = "a key of several words";

Bytes transformedDirectly(const Bytes& plain, int direction, int layerChoice, const std::string& scratch)
{
    writeFile(scratch, plain);
    EXPECT_EQ(tarvexTransformFile(key, scratch.c_str(), scratch.c_str(), direction, layerChoice), TARVEX_OK);
    return readFile(scratch);
}

class Run : public testing::Test {
protected:
    RunRecords records() { return {processed, keyHistory, activityLog, lock}; }
    void run(const std::vector<std::string>& sources, const std::vector<std::string>& targets, bool confirm,
             bool blowFishOnly = false, BuildVariant variant = BuildVariant::Encrypt)
    {
        const WorkingDirectoryGuard restored;
        std::filesystem::current_path(tree.path());
        const RunRequest request{SecretText(key), listOf(sources), listOf(targets), blowFishOnly, confirm};
        processFiles(request, records(), variantTexts(variant), window);
    }
    std::vector<std::string> recoveryLists() const
    {
        std::vector<std::string> lists;
        for (const auto& entry : std::filesystem::directory_iterator(tree.path())) {
            const std::string name = entry.path().filename().string();
            if (name.starts_with("Mendkit") && name.ends_with(".log")) lists.push_back(entry.path().string());
        }
        return lists;
    }

    FolderTree tree;
    FakeRunWindow window;
    StringList processed;
    StringList keyHistory;
    StringList activityLog;
    std::mutex lock;
};

}  // namespace

TEST(CheckProgramKind, JudgesTheTextBehindTheLastFullStopInAnyCase)
{
    EXPECT_EQ(checkProgramKind("/d/SETUP.Exe"), "an executable file");
    EXPECT_EQ(checkProgramKind("x.com"), "an executable file");
    EXPECT_EQ(checkProgramKind("y.Bat"), "a batch file");
    EXPECT_EQ(checkProgramKind("z.DLL"), "an application extension");
    for (const char* ordinary : {"report.exe.txt", "archive.exe.bak", "/home/a.b/plain", "noextension", "dot."})
        EXPECT_EQ(checkProgramKind(ordinary), std::nullopt) << ordinary;
}

TEST(OverwriteDecision, StandingAnswersCoverWhatTheirWordingSays)
{
    FolderTree tree;
    const std::string a = tree.file("a.txt"), b = tree.file("b.txt"), c = tree.file("c.txt");
    const std::string program = tree.file("SETUP.Exe"), secondProgram = tree.file("tool.dll");
    std::vector<std::string> asked;
    std::deque<int> answers;
    OverwriteDecision decision([&](const std::string& question) {
        asked.push_back(question);
        const int answer = answers.front();
        answers.pop_front();
        return answer;
    });
    // A target that does not exist is never asked about, whatever its name.
    EXPECT_EQ(decision.decide(tree.at("absent.exe")), OverwriteOutcome::Proceed);
    EXPECT_TRUE(asked.empty());

    answers = {AnswerYesToAll};
    EXPECT_EQ(decision.decide(a), OverwriteOutcome::Proceed);
    EXPECT_EQ(asked.back(), "The file " + a + " already exists. Do you want to overwrite it ?");
    EXPECT_EQ(decision.decide(b), OverwriteOutcome::Proceed);  // covered
    ASSERT_EQ(asked.size(), 1u);

    // Programs are still asked about, in their own words; Yes there switches
    // the ordinary standing answer off again.
    answers = {AnswerYes};
    EXPECT_EQ(decision.decide(program), OverwriteOutcome::Proceed);
    EXPECT_EQ(asked.back(), "The file " + program + " is an executable file. Do you want to overwrite it ?");
    answers = {AnswerNo};
    EXPECT_EQ(decision.decide(c), OverwriteOutcome::Skip);
    ASSERT_EQ(asked.size(), 3u);

    // Yes To All on a program covers both kinds.
    answers = {AnswerYesToAll};
    EXPECT_EQ(decision.decide(program), OverwriteOutcome::Proceed);
    EXPECT_EQ(decision.decide(secondProgram), OverwriteOutcome::Proceed);
    EXPECT_EQ(decision.decide(c), OverwriteOutcome::Proceed);
    ASSERT_EQ(asked.size(), 4u);

    OverwriteDecision fresh([](const std::string&) { return AnswerCancel; });
    EXPECT_EQ(fresh.decide(a), OverwriteOutcome::Stop);
    // Whatever else closes the question stops too: nothing is overwritten
    // without a yes.
    OverwriteDecision closed([](const std::string&) { return 2; });
    EXPECT_EQ(closed.decide(a), OverwriteOutcome::Stop);
}

TEST(TargetNames, BothFormsAndAnEmptyEntryMeaningInPlace)
{
    const StringList sources = listOf({"/a/one.txt", "/b/two.txt"});
    StringList directory;
    setTargetDirectory(directory, "/out");
    EXPECT_EQ(targetNameFor(sources, directory, 0), "/out/one.txt");
    EXPECT_EQ(targetNameFor(sources, directory, 1), "/out/two.txt");
    EXPECT_EQ(targetNameFor(sources, listOf({"/x/first", ""}), 0), "/x/first");
    EXPECT_EQ(targetNameFor(sources, listOf({"/x/first", ""}), 1), "/b/two.txt");
    EXPECT_EQ(targetNameFor(sources, StringList(), 1), "/b/two.txt");
    // One file with an empty entry (a batch file's single line): in place,
    // not a file without a name.
    EXPECT_EQ(targetNameFor(listOf({"/a/one.txt"}), listOf({""}), 0), "/a/one.txt");
}

TEST(RecoveryList, HoldsEveryTargetOnDiskNeverClobbersAndGoesWithTheRun)
{
    FolderTree tree;
    const WorkingDirectoryGuard restored;
    std::filesystem::current_path(tree.path());
    tree.file("Mendkit1000.log", "an earlier run's list\n");
    {
        const auto list = RecoveryList::create({"/a/one", "/b/caf\xE9"}, 1000);
        ASSERT_NE(list, nullptr);
        EXPECT_EQ(list->name(), "Mendkit1001.log");
        std::ifstream written(list->name(), std::ios::binary);
        const std::string content((std::istreambuf_iterator<char>(written)), std::istreambuf_iterator<char>());
        EXPECT_EQ(content, "/a/one\n/b/caf\xE9\n");
        // A second window in this folder sees only the list no run holds.
        const std::vector<LeftRecoveryList> left = findLeftRecoveryLists(tree.path());
        ASSERT_EQ(left.size(), 1u);
        EXPECT_EQ(std::filesystem::path(left[0].path).filename(), "Mendkit1000.log");
    }
    EXPECT_FALSE(std::filesystem::exists("Mendkit1001.log"));
    EXPECT_TRUE(std::filesystem::exists("Mendkit1000.log"));

    // A folder that cannot take the list gives none.
    if (geteuid() != 0) {
        std::filesystem::permissions(tree.path(),
                                     std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
        EXPECT_EQ(RecoveryList::create({"/a"}, 5), nullptr);
        std::filesystem::permissions(tree.path(), std::filesystem::perms::owner_all);
    }
}

TEST(ActivityLog, EntriesKeyWordsAndTimes)
{
    // 9 h 5 min 7 s on 3 February 2000.
    std::tm when{};
    when.tm_mday = 3;
    when.tm_mon = 1;
    when.tm_year = 100;
    when.tm_hour = 9;
    when.tm_min = 5;
    when.tm_sec = 7;
    EXPECT_EQ(services::logEntry("/a/b.txt", "/out/b.txt", "NEW", true, when),
              "SOURCE: /a/b.txt; TARGET: /out/b.txt; KEY: NEW; OPTIONS: BlowFishOnly; 03/02/2000 09:05:07");
    EXPECT_EQ(services::logEntry("s", "t", "SAME", false, std::nullopt),
              "SOURCE: s; TARGET: t; KEY: SAME; OPTIONS: Default; dd/mm/yyyy hh:mm:ss");

    StringList history;
    StringList log;
    services::recordProcessedFile(history, log, "s1", "t1", "first key", false);
    services::recordProcessedFile(history, log, "s2", "t2", "first key", false);
    services::recordProcessedFile(history, log, "s3", "t3", "Other key", false);
    services::recordProcessedFile(history, log, "s4", "t4", "other key", false);
    ASSERT_EQ(log.count(), 4);
    const std::vector<std::string> words{"INITIAL", "SAME", "NEW", "NEW"};
    for (int i = 0; i < 4; ++i) EXPECT_NE(log.getAt(i).find("KEY: " + words[i] + ";"), std::string::npos) << i;
    for (int i = 0; i < 4; ++i) EXPECT_EQ(log.getAt(i).find("key"), std::string::npos);  // never the key itself
    // Names of any length are kept whole.
    const std::string longName(600, 'n');
    EXPECT_NE(services::logEntry(longName, longName, "NEW", false, when).find(longName + "; TARGET: " + longName),
              std::string::npos);
}

TEST(KeyText, KeysAreHeldInTheWesternEuropeanCodePage)
{
    EXPECT_EQ(keyFromTypedText(QString::fromUtf8("caf\u00e9 \u20ac\u0153")).text(), "caf\xE9 \x80\x9C");
    EXPECT_EQ(keyFromTypedText("plain ascii").text(), "plain ascii");
    // Outside the page a character keeps its own bytes, so the same typing
    // always gives the same key.
    EXPECT_EQ(keyFromTypedText(QString::fromUtf8("\u4e2d\U0001F511")).text(), "\xE4\xB8\xAD\xF0\x9F\x94\x91");
}

TEST_F(Run, EncryptsInPlaceAsTheEngineDoesKeepsTheTimeAndRecordsTheFile)
{
    const Bytes plain = testsupport::randomBytes(3 * 65536 + 123, 7);
    const std::string file = tree.file("data.bin");
    writeFile(file, plain);
    const framework::FileTime stamp{1500000000, 123456789};
    ASSERT_TRUE(framework::setLastWriteTime(file, stamp));
    run({file}, {file}, false);

    EXPECT_EQ(readFile(file), transformedDirectly(plain, TARVEX_ENCRYPT, 0, tree.at("direct.bin")));
    EXPECT_EQ(framework::lastWriteTime(file), stamp);
    EXPECT_EQ(entriesOf(processed), std::vector<std::string>{file});
    EXPECT_EQ(entriesOf(keyHistory), std::vector<std::string>{key});
    ASSERT_EQ(activityLog.count(), 1);
    EXPECT_TRUE(activityLog.getAt(0).starts_with("SOURCE: " + file + "; TARGET: " + file +
                                                 "; KEY: INITIAL; OPTIONS: Default; "));
    EXPECT_EQ(window.captions,
              (std::vector<QString>{QString::fromStdString("Tarvex - Encrypting: " + file), "Tarvex - Encrypt"}));
    EXPECT_TRUE(window.failureReports.empty());
    // The bar climbs, never repeats a value, and ends empty.
    ASSERT_FALSE(window.progress.empty());
    EXPECT_LE(window.progress.size(), 101u + 1u);
    EXPECT_EQ(window.progress.back(), 0);
    for (std::size_t i = 1; i < window.progress.size(); ++i) EXPECT_NE(window.progress[i], window.progress[i - 1]);

    // Unsealwin, block cipher only, into another file.
    const std::string back = tree.at("back.bin");
    writeFile(file, transformedDirectly(plain, TARVEX_ENCRYPT, 1, tree.at("direct1.bin")));
    run({file}, {back}, false, true, BuildVariant::Decrypt);
    EXPECT_EQ(readFile(back), plain);
    EXPECT_NE(activityLog.getAt(1).find("OPTIONS: BlowFishOnly"), std::string::npos);
}

TEST_F(Run, ProgressUpdatesNoMoreThanOncePerValue)
{
    const std::string file = tree.file("big.bin");
    writeFile(file, testsupport::randomBytes(40 * 65536, 3));
    run({file}, {tree.at("big.out")}, false);
    // A two-layer run of a file this size reports thousands of values.
    EXPECT_LE(window.progress.size(), 102u);
    EXPECT_GE(window.progress.size(), 90u);
    for (const int value : window.progress) {
        EXPECT_GE(value, 0);
        EXPECT_LE(value, 100);
    }
}

TEST_F(Run, RecoveryListNamesEveryTargetBeforeTheFirstFileAndCancelStopsTheRest)
{
    std::vector<std::string> files;
    std::vector<Bytes> contents;
    for (int i = 0; i < 5; ++i) {
        files.push_back(tree.file("f" + std::to_string(i) + ".txt", "content " + std::to_string(i)));
        contents.push_back(readFile(files.back()));
    }
    std::string listedAtFirstQuestion;
    window.onQuestion = [&] {
        if (!listedAtFirstQuestion.empty()) return;
        const auto lists = recoveryLists();
        ASSERT_EQ(lists.size(), 1u);
        std::ifstream list(lists[0]);
        listedAtFirstQuestion.assign(std::istreambuf_iterator<char>(list), std::istreambuf_iterator<char>());
        // Nothing is touched yet.
        EXPECT_EQ(readFile(files[0]), contents[0]);
    };
    window.answers = {AnswerYes, AnswerNo, AnswerCancel};
    run(files, {}, true);

    std::string expectedList;
    for (const std::string& file : files) expectedList += file + "\n";
    EXPECT_EQ(listedAtFirstQuestion, expectedList);
    EXPECT_TRUE(recoveryLists().empty());  // deleted after Cancel too
    EXPECT_NE(readFile(files[0]), contents[0]);
    for (int i = 1; i < 5; ++i) EXPECT_EQ(readFile(files[i]), contents[i]) << i;
    EXPECT_EQ(entriesOf(processed), std::vector<std::string>{files[0]});
    EXPECT_EQ(activityLog.count(), 1);
    EXPECT_EQ(window.captions.back(), "Tarvex - Encrypt");
}

namespace {

// As root, file permissions bind this thread only once it works as an
// ordinary user; it is root again when the object goes, however the test
// ends.
class OrdinaryFileSystemUser {
public:
    OrdinaryFileSystemUser() : switched_(geteuid() == 0)
    {
        if (switched_) setfsuid(65534);
    }
    ~OrdinaryFileSystemUser()
    {
        if (switched_) setfsuid(0);
    }
    OrdinaryFileSystemUser(const OrdinaryFileSystemUser&) = delete;
    OrdinaryFileSystemUser& operator=(const OrdinaryFileSystemUser&) = delete;

private:
    bool switched_;
};

}  // namespace

TEST_F(Run, WithoutARecoveryListTheUserDecidesBeforeAnythingIsTouched)
{
    // The run's current folder takes no new file; the files themselves may be
    // rewritten. Root writes anywhere, so as root the thread works as an
    // ordinary user.
    const std::string work = tree.folder("work");
    const std::string first = tree.file("work/a.txt", "first"), second = tree.file("work/b.txt", "second");
    const std::string readOnly = tree.folder("read-only");
    for (const std::string& path : {tree.path(), work}) chmod(path.c_str(), 0777);
    for (const std::string& path : {first, second}) chmod(path.c_str(), 0666);
    chmod(readOnly.c_str(), 0555);
    // Back to the test's own folder only once the user is root again: that
    // folder may be closed to everyone else.
    const WorkingDirectoryGuard restored;
    const OrdinaryFileSystemUser ordinary;
    struct stat reachable {};
    if (stat(work.c_str(), &reachable) != 0)
        GTEST_SKIP() << "an ordinary user cannot reach the temporary folder " << tree.path();
    std::error_code entered;
    std::filesystem::current_path(readOnly, entered);
    ASSERT_FALSE(entered) << entered.message();
    const auto runThere = [&] {
        const RunRequest request{SecretText(key), listOf({first, second}), StringList(), false, false};
        processFiles(request, records(), variantTexts(BuildVariant::Encrypt), window);
    };
    window.goOnWithoutList = false;
    runThere();
    EXPECT_EQ(window.recoveryListQuestions, 1);
    EXPECT_EQ(readFile(first), Bytes({'f', 'i', 'r', 's', 't'}));  // No: nothing touched
    EXPECT_EQ(processed.count(), 0);
    // Yes: the run goes on, but in place each file needs a journal there too,
    // so each is left untouched and the user is told why.
    window.goOnWithoutList = true;
    runThere();
    EXPECT_EQ(window.recoveryListQuestions, 2);
    EXPECT_EQ(processed.count(), 2);
    EXPECT_EQ(readFile(first), Bytes({'f', 'i', 'r', 's', 't'}));
    ASSERT_EQ(window.failureReports.size(), 1u);
    EXPECT_TRUE(window.failureReports[0].contains(QString::fromStdString(
        second + ": left untouched: no journal can be written in the current folder " + readOnly)))
        << window.failureReports[0].toStdString();
}

TEST_F(Run, FailuresAreCountedAsFilesAndThenReported)
{
    const std::string good = tree.file("good.txt");
    const std::string absent = tree.at("absent.txt");
    const std::string target = tree.at("no-such-folder/out.txt");
    window.answers = {};
    run({good, absent, good}, {tree.at("good.out"), "", target}, false);
    // Every file that reached the engine is recorded, failed or not.
    EXPECT_EQ(entriesOf(processed), (std::vector<std::string>{good, absent, good}));
    EXPECT_EQ(activityLog.count(), 3);
    ASSERT_EQ(window.failureReports.size(), 1u);
    const QString report = window.failureReports[0];
    EXPECT_TRUE(report.startsWith("These files could not be encrypted:\n")) << report.toStdString();
    EXPECT_TRUE(report.contains(QString::fromStdString(absent + ": the file cannot be read")));
    EXPECT_TRUE(report.contains(QString::fromStdString(good + ": " + target + " cannot be written")));
    EXPECT_FALSE(report.contains(QString::fromStdString(good + ": the file")));
}

TEST_F(Run, AFullDiskIsReportedAsAWriteFailure)
{
    const std::string source = tree.file("source.bin");
    writeFile(source, testsupport::randomBytes(200000, 5));
    const std::string target = tree.at("target.bin");
    testsupport::ChildOptions options;
    options.fileSizeLimit = 100000;
    const pid_t child = testsupport::startChild(
        [&] {
            run({source}, {target}, false);
            if (window.failureReports.size() != 1) return 10;
            const QString expected = QString::fromStdString(source + ": reading or writing failed part way");
            return window.failureReports[0].contains(expected) ? 0 : 11;
        },
        options);
    const testsupport::Ending ending = testsupport::waitForChild(child);
    EXPECT_TRUE(ending.exited);
    EXPECT_EQ(ending.status, 0);
}

TEST(EngineGate, TheWindowIsToldRatherThanMadeToWaitWhileARunHoldsTheEngine)
{
    ScriptedUserQueue user;
    framework::ScopedScriptedUser installed(user);
    EngineHeldElsewhere engine;
    user.messageAnswers = {framework::ResultOk};
    EXPECT_EQ(tryEngineTurnOrSay(nullptr, variantTexts(BuildVariant::Decrypt)), std::nullopt);
    ASSERT_EQ(user.messages.size(), 1u);
    EXPECT_EQ(user.messages[0].text, "Tarvex is still decrypting a selection.\nPlease try again when it has finished.");
    EXPECT_EQ(user.messages[0].caption, "Tarvex - Decrypt");
    engine.release();
    EXPECT_NE(tryEngineTurnOrSay(nullptr, variantTexts(BuildVariant::Decrypt)), std::nullopt);
    EXPECT_EQ(user.messages.size(), 1u);
}
