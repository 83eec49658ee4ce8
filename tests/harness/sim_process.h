// The quorvel-sim program on a pseudo-terminal, in real time: for end-to-end tests and for
// the benchmarks.
#pragma once

#include <QProcess>
#include <QStringList>
#include <string>

class SimProcess {
  public:
    // Starts quorvel-sim with `arguments` and waits for the terminal's path.
    explicit SimProcess(const QStringList& arguments = {});
    ~SimProcess();
    SimProcess(const SimProcess&) = delete;
    SimProcess& operator=(const SimProcess&) = delete;

    bool started() const { return !path_.empty(); }
    const std::string& path() const { return path_; }
    // Points COMn at the simulator for the tool's serial layer.
    void exportAs(int comPort) const;
    void pressButton();  // the instrument's button, from its terminal
    // Stops the program and returns everything it printed after the path.
    std::string stop();
    // What the program wrote to its standard error, once stopped (its closing report).
    const std::string& errorOutput() const { return errors_; }

  private:
    QProcess process_;
    std::string path_;
    std::string errors_;
};
