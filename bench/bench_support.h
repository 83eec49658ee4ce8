// What the benchmarks share: quorvel-sim as a child process, the operator at the widgets,
// pop-ups answered without a dialog, and the process's own clock, CPU time and memory.
#pragma once

#include <QProcess>
#include <QStringList>
#include <cstdio>
#include <string>
#include <vector>

#include "toolkit/panels/testing.h"

// quorvel-sim on its pseudo-terminal, running until stop().
class SimRun {
  public:
    explicit SimRun(const QStringList& arguments);
    ~SimRun();
    SimRun(const SimRun&) = delete;
    SimRun& operator=(const SimRun&) = delete;

    bool started() const { return !path_.empty(); }
    const std::string& path() const { return path_; }
    // Points the tool's COM1 at the terminal.
    void exportAsCom1() const;
    // Ends the program; the live records it reports having sent, or -1 when it said nothing.
    long stop();

  private:
    QProcess process_;
    std::string path_;
};

// A click on a button of a shown panel, as the operator makes it. False when the control
// is not a button the operator can reach.
bool pressButton(int panel, int control);
// Types a value into a numeric control and commits it with Enter, picks a ring item, or
// sets a switch. False when the control does not show the value afterwards.
bool enterValue(int panel, int control, double value);

// The operator at pop-ups: messages are noted on stderr, the file chooser picks `logPath`.
class BenchPopups : public PopupAnswerer {
  public:
    explicit BenchPopups(std::string logPath = {}) : logPath_(std::move(logPath)) {}
    void message(const std::string& title, const std::string& text) override;
    int fileSelect(const std::string& title, bool allowCancel, std::string& path) override;

  private:
    std::string logPath_;
};

// Drops the offscreen platform's notes about window features it lacks, which say nothing
// about the tool; every other message goes through.
void quietPlatformNotes();

// The stream for the benchmark's own figures: the original stdout. The process's stdout
// then goes to /dev/null, so the tool's trace lines do not mix with the figures.
FILE* reportStream();

double monotonicSeconds();  // CLOCK_MONOTONIC, comparable between processes
double cpuSeconds();        // user + system time of this process
long residentKb();          // VmRSS of this process, -1 when unknown

double median(std::vector<double> values);
