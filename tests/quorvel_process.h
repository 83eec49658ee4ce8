// What the command line's end-to-end tests share: quorvel run as a script runs it, with its
// settings history in a folder of the test's own; what the simulator reports once stopped;
// lines counted.
#pragma once

#include <gtest/gtest.h>

#include <QProcess>
#include <QTemporaryDir>
#include <algorithm>
#include <string>

#include "tests/harness/sim_process.h"

struct Outcome {
    int status = -1;
    std::string out;
    std::string err;
};

class Quorvel {
  public:
    Quorvel() {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("QUORVEL_HISTORY_DIR", history_.path());
        process_.setProcessEnvironment(environment);
    }
    void start(const QStringList& arguments) {
        process_.start(QStringLiteral(QUORVEL_CLI_PATH), arguments);
        ASSERT_TRUE(process_.waitForStarted(5000));
    }
    Outcome finish(int timeoutMs = 20000) {
        process_.waitForFinished(timeoutMs);
        return {process_.exitStatus() == QProcess::NormalExit ? process_.exitCode() : -1,
                process_.readAllStandardOutput().toStdString(),
                process_.readAllStandardError().toStdString()};
    }
    Outcome run(const QStringList& arguments) {
        start(arguments);
        return finish();
    }
    QProcess& process() { return process_; }
    QString historyFile(const QString& serialNumber) const {
        return history_.filePath(serialNumber + ".txt");
    }

  private:
    QTemporaryDir history_;
    QProcess process_;
};

// What the simulator reports once stopped: a number or a text after "<label>: ".
inline std::string reported(SimProcess& sim, const std::string& label) {
    sim.stop();
    const std::string& report = sim.errorOutput();
    // Each line is "quorvel-sim: <label>: ..."; "received" is not "characters received".
    const std::string start = "quorvel-sim: " + label + ": ";
    const size_t at = report.find(start);
    if (at == std::string::npos)
        return {};
    const size_t from = at + start.size();
    return report.substr(from, report.find('\n', from) - from);
}

inline size_t lineCount(const std::string& text) {
    return static_cast<size_t>(std::count(text.begin(), text.end(), '\n'));
}
