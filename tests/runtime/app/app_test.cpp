// Start-up, message loops and shutdown, watched from outside: each test runs
// the probe program (app_probe.exe) with one scenario as a process of its own
// and reads the steps it recorded, its exit code and the message box it showed.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "tests/support/child_process.h"

namespace {

struct ProbeRun {
    ChildRun run;
    std::vector<std::string> records;
};

ProbeRun RunProbe(const std::string& scenario, DWORD timeoutMs = 15000) {
    char folder[MAX_PATH] = {};
    GetTempPathA(sizeof folder, folder);
    const std::string recordFile =
        std::string(folder) + "quillet_app_" + scenario + "_" + std::to_string(GetCurrentProcessId()) + ".txt";
    DeleteFileA(recordFile.c_str());
    ProbeRun probe;
    probe.run = RunChildProcess(std::string("\"") + BesideTests("app_probe.exe") + "\" " + scenario + " \"" + recordFile + "\"",
                                IDOK, timeoutMs);
    std::ifstream in(recordFile);
    for (std::string line; std::getline(in, line);) probe.records.push_back(line);
    in.close();
    DeleteFileA(recordFile.c_str());
    return probe;
}

// The position of the first record at or after `from` that begins with `prefix`, or -1.
int Find(const std::vector<std::string>& records, const std::string& prefix, int from = 0) {
    for (int i = from; i < static_cast<int>(records.size()); ++i)
        if (records[static_cast<size_t>(i)].rfind(prefix, 0) == 0) return i;
    return -1;
}

std::string Joined(const std::vector<std::string>& records) {
    std::string all;
    for (const std::string& line : records) all += "  " + line + "\n";
    return all;
}

// Each prefix is found, in this order.
void ExpectInOrder(const std::vector<std::string>& records, const std::vector<std::string>& prefixes) {
    int at = 0;
    for (const std::string& prefix : prefixes) {
        const int found = Find(records, prefix, at);
        ASSERT_GE(found, 0) << "no \"" << prefix << "\" in order in:\n" << Joined(records);
        at = found + 1;
    }
}

// The value of the fact "<name> <value>" the probe recorded, taken out of the records.
std::string TakeFact(std::vector<std::string>& records, const std::string& name) {
    const int at = Find(records, name + " ");
    if (at < 0) {
        ADD_FAILURE() << "no fact " << name << " in:\n" << Joined(records);
        return "";
    }
    std::string value = records[static_cast<size_t>(at)].substr(name.size() + 1);
    records.erase(records.begin() + at);
    return value;
}

// What a new initialisation of OLE answers, as the probe records it: S_FALSE
// while OLE is up, S_OK where it was not.
const std::string OleUp = "00000001";
const std::string OleDown = "00000000";

void ExpectNormalEnd(const ProbeRun& probe, DWORD exitCode = 0) {
    ASSERT_TRUE(probe.run.started);
    EXPECT_TRUE(probe.run.finished) << Joined(probe.records);
    EXPECT_FALSE(probe.run.box.found) << probe.run.box.text;
    EXPECT_EQ(probe.run.exitCode, exitCode);
}

TEST(StartupShutdownTest, AnEmptyProgramRunsEveryStepInOrderAndEndsWithCodeZero) {
    ProbeRun probe = RunProbe("normal-end");
    ExpectNormalEnd(probe);
    EXPECT_EQ(TakeFact(probe.records, "served-before-start-up"), "00000000") << "no dispatcher before start-up";
    const std::string service = TakeFact(probe.records, "dispatch-service");
    // The runtime's main thread is the one that started the program; it made the
    // hidden owner window, which is hidden and a tool window.
    const std::string thread = TakeFact(probe.records, "start-thread");
    EXPECT_EQ(TakeFact(probe.records, "main-thread"), thread);
    EXPECT_EQ(TakeFact(probe.records, "owner-thread"), thread);
    EXPECT_EQ(TakeFact(probe.records, "owner-visible"), "0");
    EXPECT_NE(std::strtoul(TakeFact(probe.records, "owner-ex-style").c_str(), nullptr, 16) & WS_EX_TOOLWINDOW, 0u);
    // Every callback slot holds the program's stubs: the return-zero stub twice
    // (HandlerBase - 4), then the plain return (HandlerBase - 1).
    EXPECT_EQ(TakeFact(probe.records, "callback-slots"), "-4 -4 -1 -4 -4 -1 -4 -4 -1 -4 -4 -1");
    // The run folder is the program's own, served as such and kept with a slash.
    const std::string folder = TakeFact(probe.records, "module-folder");
    EXPECT_FALSE(folder.empty());
    EXPECT_EQ(TakeFact(probe.records, "current-folder"), folder);
    EXPECT_EQ(TakeFact(probe.records, "served-folder"), folder);
    EXPECT_EQ(TakeFact(probe.records, "program-folder"), folder + "\\");
    const std::vector<std::string> expected = {
        "library start dispatcher=" + service,
        "ole=" + OleUp + " constant=1 serial=0001015D word-a=3",
        "return-zero=0",
        "finish-startup returned",
        // The shutdown: windows released before the exit routines, which still
        // find the hidden owner window and OLE; then the libraries are told,
        // and the hidden owner window and OLE are gone afterwards.
        "release windows",
        "exit A suppressed=1 owner=1 ole=" + OleUp + " thread=" + thread + " sent=0",
        "exit B",
        "exit C",
        "library shutdown word=0 owner=1",
        "after owner=00000000 ole=" + OleDown + " constant=0",
    };
    EXPECT_EQ(probe.records, expected) << Joined(probe.records);
}

TEST(StartupShutdownTest, AMissingStartupWindowIsAFatalErrorThatSkipsTheExitRoutines) {
    const ProbeRun probe = RunProbe("startup-window-missing");
    ASSERT_TRUE(probe.run.started);
    EXPECT_TRUE(probe.run.finished);
    ASSERT_TRUE(probe.run.box.found);
    EXPECT_EQ(probe.run.box.title, "错误");
    EXPECT_NE(probe.run.box.text.find("载入启动窗口失败"), std::string::npos) << probe.run.box.text;
    EXPECT_NE(probe.run.box.text.find("1375797249, 0"), std::string::npos) << "the window id is the first location";
    EXPECT_EQ(probe.run.exitCode, 0xFFFFFFFFu);
    ExpectInOrder(probe.records, {"load 52010001"});
    EXPECT_EQ(Find(probe.records, "load returned"), -1);
    EXPECT_EQ(Find(probe.records, "exit"), -1) << "a fatal error releases the exit routines uncalled";
    EXPECT_EQ(Find(probe.records, "after"), -1);
}

TEST(StartupShutdownTest, DestroyingTheLastWindowEndsTheMainLoopAndTheProgram) {
    const ProbeRun probe = RunProbe("last-window-closed");
    ExpectNormalEnd(probe);
    ExpectInOrder(probe.records, {"load 52010001", "window destroyed 52010002", "window destroyed 52010001",
                                  "finish-startup returned", "release windows", "exit A suppressed=1",
                                  "after owner=00000000 ole=" + OleDown});
}

TEST(StartupShutdownTest, AnExitRequestedByAnotherThreadRunsTheShutdownOnTheMainThread) {
    ProbeRun probe = RunProbe("exit-from-thread");
    ExpectNormalEnd(probe, 7);
    const std::string mainThread = TakeFact(probe.records, "main-thread");
    ExpectInOrder(probe.records, {"thread asks to exit", "release windows", "window destroyed 52010001",
                                  "exit A suppressed=1 owner=1 ole=" + OleUp + " thread=" + mainThread + " sent=1",
                                  "exit B"});
    EXPECT_EQ(Find(probe.records, "thread returned"), -1);
    EXPECT_EQ(Find(probe.records, "finish-startup returned"), -1) << "the process ended inside the main loop";
}

// A fatal error reported on another thread ends the process with -1 through the
// main thread's shutdown: one that has not begun drops the exit routines; one
// under way (an exit routine handling messages meanwhile, or not) runs to its end.
TEST(StartupShutdownTest, AFatalErrorOnAnotherThreadEndsThroughTheMainThreadsShutdown) {
    struct Case {
        const char* scenario;
        std::vector<std::string> inOrder;
        std::vector<std::string> absent;
    };
    const std::vector<std::string> wholeShutdown = {
        "finish-startup returned", "release windows", "exit A", "exit with failing thread",
        "thread error 4 presented", "exit with failing thread done", "exit B", "library shutdown",
        "after owner=00000000"};
    const Case cases[] = {
        {"fatal-on-thread-in-loop",
         {"thread error 4 presented", "release windows", "window destroyed 52010001", "library shutdown"},
         {"exit", "finish-startup returned", "thread returned", "after"}},
        {"fatal-on-thread-during-shutdown-pumping", wholeShutdown, {"thread returned"}},
        {"fatal-on-thread-during-shutdown-waiting", wholeShutdown, {"thread returned"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.scenario);
        const ProbeRun probe = RunProbe(c.scenario);
        ASSERT_TRUE(probe.run.started);
        EXPECT_TRUE(probe.run.finished) << Joined(probe.records);
        EXPECT_FALSE(probe.run.box.found) << "the probe's hook presents the error";
        EXPECT_EQ(probe.run.exitCode, 0xFFFFFFFFu) << Joined(probe.records);
        ExpectInOrder(probe.records, c.inOrder);
        for (const std::string& prefix : c.absent)
            EXPECT_EQ(Find(probe.records, prefix), -1) << prefix << " in:\n" << Joined(probe.records);
    }
}

// The records between two prefixes (exclusive); the end when `to` is not found.
std::vector<std::string> Between(const std::vector<std::string>& records, const std::string& from,
                                 const std::string& to) {
    const int start = from.empty() ? 0 : Find(records, from) + 1;
    int end = Find(records, to, start);
    if (end < 0) end = static_cast<int>(records.size());
    return std::vector<std::string>(records.begin() + start, records.begin() + end);
}

TEST(MessageLoopTest, IdlePassesCallLiveCallbacksAndAskEachWindowUntilItWantsNoMore) {
    const ProbeRun probe = RunProbe("idle");
    ExpectNormalEnd(probe);
    const auto& records = probe.records;
    // Adding refuses a window already listed and a handle that is no window.
    ExpectInOrder(records, {"added=1100", "held piece 1", "held piece 2", "idle 1", "tick 1", "plain one destroyed", "idle 2", "tick 2 callbacks=1",
                            "tick 3", "finish-startup returned"});
    const int destroyed = Find(records, "plain one destroyed");
    EXPECT_EQ(Find(records, "idle 1", destroyed), -1) << "a callback whose window died is never called again";

    // Each idle period: the first window is asked until it wants no more (three
    // times yes, then no), the second only once; elapsed times never go back.
    for (const auto& [from, to] : {std::pair<std::string, std::string>{"added=", "tick 1"},
                                   {"tick 1", "tick 2"}, {"tick 2", "tick 3"}}) {
        std::vector<std::string> period;
        for (const std::string& line : Between(records, from, to))
            if (line.rfind("event7", 0) == 0) period.push_back(line);
        ASSERT_EQ(period.size(), 5u) << from << " .. " << to << ":\n" << Joined(period);
        int answersFromFirst = 0, answersFromSecond = 0;
        long last = -1;
        for (const std::string& line : period) {
            const long elapsed = std::strtol(line.c_str() + std::string("event7 52010001 ").size(), nullptr, 10);
            EXPECT_GE(elapsed, last);
            last = elapsed;
            if (line.rfind("event7 52010001", 0) == 0) {
                ++answersFromFirst;
                EXPECT_EQ(line.substr(line.size() - 6), answersFromFirst <= 3 ? "more=1" : "more=0");
            } else {
                ++answersFromSecond;
                EXPECT_EQ(line.substr(line.size() - 6), "more=0");
            }
        }
        EXPECT_EQ(answersFromFirst, 4);
        EXPECT_EQ(answersFromSecond, 1);
    }
}

TEST(MessageLoopTest, WMQuitInAModalLoopEndsItAndThenTheMainLoop) {
    const ProbeRun probe = RunProbe("modal-quit");
    ExpectNormalEnd(probe);
    ExpectInOrder(probe.records, {"modal begin", "posting quit", "modal returned modal-id=00000000",
                                  "finish-startup returned main-alive=1", "release windows", "exit A"});
}

TEST(MessageLoopTest, WMQuitTakenWhileTheModalLoopWaitsStillEndsTheMainLoop) {
    const ProbeRun probe = RunProbe("modal-quit-while-waiting", 8000);
    ExpectNormalEnd(probe);
    ExpectInOrder(probe.records, {"modal begin", "thread posts quit", "modal returned modal-id=00000000",
                                  "finish-startup returned main-alive=1"});
}

TEST(MessageLoopTest, ClosingTheModalWindowEndsOnlyTheModalLoop) {
    const ProbeRun probe = RunProbe("modal-window-closed");
    ExpectNormalEnd(probe);
    ExpectInOrder(probe.records, {"modal begin", "window destroyed 52010002", "modal returned modal-id=00000000",
                                  "window destroyed 52010001", "finish-startup returned main-alive=0"});
}

TEST(MessageLoopTest, PendingEventsArePumpedUpToAQueuedWMQuitThroughPreTranslation) {
    const ProbeRun probe = RunProbe("pending-events");
    ExpectNormalEnd(probe);
    ExpectInOrder(probe.records, {"unit consumed key", "dispatched 1", "2018 returned next=" + std::to_string(WM_QUIT),
                                  "finish-startup returned"});
    EXPECT_EQ(Find(probe.records, "child got key"), -1) << "the unit object consumed it before dispatch";
    EXPECT_EQ(Find(probe.records, "dispatched 2"), -1) << "nothing behind the WM_QUIT is pumped";
}

}  // namespace
