// How long each instrument action takes through the tool against what the protocol itself
// takes. The tool runs in-process on the real clock and the real serial layer, pressed
// through its widgets, against quorvel-sim on a pseudo-terminal at 9600 baud; a bare
// termios client (bench/reference_actions) runs the same exchange on the same terminal
// right before or after it. Only one side has the terminal open at a time: the tool's port
// is closed while the reference runs and opened again, as a connect leaves it, after.
//
//   action_bench [--rounds N]
//
// Prints, per action, the median wall time of the tool and of the reference over the
// rounds and their ratio.
#include <QApplication>
#include <QTemporaryDir>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "app/vaskinterface.h"
#include "bench/bench_support.h"
#include "bench/reference_actions.h"
#include "feedback/panel_set.h"
#include "history/history.h"
#include "link/link_state.h"
#include "toolkit/panels/userint.h"
#include "toolkit/serial/rs232.h"
#include "ui/vaskinterface_ids.h"

namespace {

// What the tool must show once an action went well, besides no message panel.
enum class Shows { Nothing, Connected, Done };

struct Action {
    const char* name;
    int button;  // on currentPanel
    void (*reference)(ReferenceLine&);
    Shows shows;
};

struct Figures {
    std::vector<double> tool, reference;
    int toolFailures = 0, referenceFailures = 0;
};

bool toolPortOpen = false;

void closeToolPort() {
    if (toolPortOpen)
        CloseCom(comPort);
    toolPortOpen = false;
}

// The port as a connect leaves it: open at 9600 baud 8N1 with the 3.0 s time-out.
void reopenToolPort() {
    if (OpenComConfig(comPort, deviceName, 9600, 0, 8, 1, 512, 512) == 0)
        SetComTime(comPort, kComTimeout);
    toolPortOpen = true;
}

double timeReference(const Action& action, const std::string& path, bool& ok) {
    closeToolPort();
    ReferenceLine line(path);
    if (action.reference != referenceConnect)
        line.open();
    const double start = monotonicSeconds();
    action.reference(line);
    const double took = monotonicSeconds() - start;
    ok = line.healthy();
    return took;
}

double timeTool(const Action& action, bool& ok) {
    if (action.reference != referenceConnect && !toolPortOpen)
        reopenToolPort();
    ResetTextBox(messagePanel, MESSAGE_TEXT, "");
    HidePanel(messagePanel);
    HidePanel(donePanel);
    HidePanel(connectedPanel);
    const double start = monotonicSeconds();
    const bool pressed = press(currentPanel, action.button);
    const double took = monotonicSeconds() - start;
    toolPortOpen = true;
    ok = pressed && !IsPanelVisible(messagePanel);
    if (action.shows == Shows::Connected)
        ok = ok && IsPanelVisible(connectedPanel);
    if (action.shows == Shows::Done)
        ok = ok && IsPanelVisible(donePanel);
    if (!ok) {
        std::fprintf(stderr, "action_bench: %s went wrong%s\n", action.name,
                     pressed ? "" : " (button not reachable)");
        for (const std::string& line : TextBoxLines(messagePanel, MESSAGE_TEXT))
            std::fprintf(stderr, "  message: %s\n", line.c_str());
    }
    return took;
}

void measure(const Action& action, const std::string& path, bool toolFirst, Figures& figures) {
    bool toolOk = true, referenceOk = true;
    if (toolFirst)
        figures.tool.push_back(timeTool(action, toolOk));
    figures.reference.push_back(timeReference(action, path, referenceOk));
    if (!toolFirst)
        figures.tool.push_back(timeTool(action, toolOk));
    figures.toolFailures += toolOk ? 0 : 1;
    figures.referenceFailures += referenceOk ? 0 : 1;
}

// Moves the operator to another panel; not part of any figure.
void go(int button) {
    if (!press(currentPanel, button))
        std::fprintf(stderr, "action_bench: cannot press navigation button %d\n", button);
}

void enterCalibrationInputs() {
    const struct {
        int control;
        double value;
    } inputs[] = {{CAL_GAUGE_LENGTH, 2.0}, {CAL_GAUGE_TYPE, 0},  {CAL_LEVEL_A, 200},
                  {CAL_LEVEL_B, 1800},     {CAL_READING_A, 400}, {CAL_READING_B, 3700}};
    for (const auto& input : inputs) {
        if (!setValue(currentPanel, input.control, input.value))
            std::fprintf(stderr, "action_bench: calibration input %d refused %g\n", input.control,
                         input.value);
    }
}

const Action kConnect{"connect", MAIN_CONNECT, referenceConnect, Shows::Connected};
const Action kKxRead{"kx read", KX_READ, referenceKxRead, Shows::Nothing};
const Action kKxSet{"kx set", KX_SET, referenceKxSet, Shows::Done};
const Action kQvRead{"qv read", QV_READ, referenceQvRead, Shows::Nothing};
const Action kQvSet{"qv set", QV_SET, referenceQvSet, Shows::Done};
const Action kClockRead{"clock read", CLOCK_READ, referenceClockRead, Shows::Nothing};
const Action kClockSet{"clock set", CLOCK_SET, referenceClockSet, Shows::Done};
const Action kStartRead{"start read", START_READ, referenceStartRead, Shows::Nothing};
const Action kStartSet{"start set", START_SET, referenceStartSet, Shows::Done};
const Action kCalibrate{"calibrate", MAIN_CALIBRATE, referenceCalibrate, Shows::Nothing};
const Action kCalibrate2{"calibrate2", CAL_CALIBRATE, referenceCalibrate2, Shows::Done};
const Action kDefault{"default calibration", CAL_DEFAULT, referenceDefaultCalibration, Shows::Done};

const Action* const kActions[] = {&kConnect,   &kKxRead,    &kKxSet,      &kQvRead,
                                  &kQvSet,     &kClockRead, &kClockSet,   &kStartSet,
                                  &kStartRead, &kCalibrate, &kCalibrate2, &kDefault};
constexpr size_t kActionCount = sizeof kActions / sizeof kActions[0];

// One pass over every action, from the main panel back to a fresh main panel.
void runRound(const std::string& path, bool toolFirst, std::vector<Figures>& figures) {
    auto run = [&](const Action& action) {
        for (size_t i = 0; i < kActionCount; ++i)
            if (kActions[i] == &action)
                measure(action, path, toolFirst, figures[i]);
    };
    run(kConnect);
    go(MAIN_KX);
    run(kKxRead);
    run(kKxSet);
    go(KX_MAIN);
    go(MAIN_QV);
    run(kQvRead);
    run(kQvSet);
    go(QV_CLOCK);
    run(kClockRead);
    run(kClockSet);
    go(CLOCK_MAIN);
    go(MAIN_START);
    // Set first: a fresh instrument holds a start time the panel cannot show.
    run(kStartSet);
    run(kStartRead);
    go(START_MAIN);
    run(kCalibrate);
    enterCalibrationInputs();
    run(kCalibrate2);
    run(kDefault);  // ends on a fresh main panel
}

void printFigures(FILE* out, const std::vector<Figures>& figures, int rounds) {
    std::fprintf(out, "%-20s %10s %14s %7s   %s\n", "action", "tool (s)", "reference (s)", "ratio",
                 "ratio by round");
    double toolTotal = 0, referenceTotal = 0, worst = 0;
    for (size_t i = 0; i < kActionCount; ++i) {
        const Figures& f = figures[i];
        const double tool = median(f.tool), reference = median(f.reference);
        toolTotal += tool;
        referenceTotal += reference;
        const double ratio = tool / reference;
        worst = std::max(worst, ratio);
        std::string byRound;
        for (size_t r = 0; r < f.tool.size(); ++r) {
            char cell[16];
            std::snprintf(cell, sizeof cell, "%s%.3f", r ? " " : "", f.tool[r] / f.reference[r]);
            byRound += cell;
        }
        std::fprintf(out, "%-20s %10.3f %14.3f %7.3f   %s", kActions[i]->name, tool, reference,
                     ratio, byRound.c_str());
        if (f.toolFailures || f.referenceFailures)
            std::fprintf(out, "   FAILED tool %d, reference %d of %d", f.toolFailures,
                         f.referenceFailures, rounds);
        std::fprintf(out, "\n");
    }
    std::fprintf(out, "%-20s %10.3f %14.3f %7.3f\n", "all actions", toolTotal, referenceTotal,
                 toolTotal / referenceTotal);
    std::fprintf(out, "largest ratio: %.3f (target at most 1.05)\n", worst);
}

}  // namespace

int main(int argc, char** argv) {
    int rounds = 3;
    for (int i = 1; i + 1 < argc; i += 2)
        if (std::strcmp(argv[i], "--rounds") == 0)
            rounds = std::max(1, std::atoi(argv[i + 1]));
    FILE* out = reportStream();
    qputenv("QT_QPA_PLATFORM", "offscreen");
    quietPlatformNotes();
    printHarnessFailures("action_bench");
    QApplication app(argc, argv);
    RecordingPopups popups = benchPopups();
    SetPopupAnswerer(&popups);
    // Every write keeps a history; a benchmark's go to a folder of its own.
    QTemporaryDir history;
    setHistoryFolder(history.path().toStdString());

    SimProcess sim({"--baud", "9600"});
    if (!startToolAgainst(sim, "action_bench"))
        return 1;

    std::fprintf(out,
                 "instrument actions at 9600 baud, median of %d round%s, tool against a bare "
                 "termios client\n",
                 rounds, rounds == 1 ? "" : "s");
    std::vector<Figures> figures(kActionCount);
    for (int round = 0; round < rounds; ++round) runRound(sim.path(), round % 2 == 1, figures);
    printFigures(out, figures, rounds);
    SetPopupAnswerer(nullptr);
    return 0;
}
