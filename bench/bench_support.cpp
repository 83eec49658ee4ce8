#include "bench/bench_support.h"

#include <fcntl.h>
#include <sys/resource.h>
#include <time.h>
#include <unistd.h>

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QDoubleSpinBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QRegularExpression>
#include <QSpinBox>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>

#include "toolkit/panels/userint.h"

#ifndef QUORVEL_SIM_PATH
#define QUORVEL_SIM_PATH "quorvel-sim"
#endif

SimRun::SimRun(const QStringList& arguments) {
    process_.setProcessChannelMode(QProcess::SeparateChannels);
    process_.start(QString::fromUtf8(QUORVEL_SIM_PATH), arguments);
    if (!process_.waitForStarted(5000))
        return;
    while (!process_.canReadLine()) {
        if (!process_.waitForReadyRead(5000))
            return;
    }
    path_ = process_.readLine().trimmed().toStdString();
}

SimRun::~SimRun() {
    stop();
}

void SimRun::exportAsCom1() const {
    setenv("QUORVEL_COM1", path_.c_str(), 1);
}

long SimRun::stop() {
    if (process_.state() == QProcess::NotRunning)
        return -1;
    process_.terminate();
    if (!process_.waitForFinished(5000)) {
        process_.kill();
        process_.waitForFinished(2000);
    }
    static const QRegularExpression report("records sent: (\\d+)");
    const QRegularExpressionMatch match =
        report.match(QString::fromLocal8Bit(process_.readAllStandardError()));
    return match.hasMatch() ? match.captured(1).toLong() : -1;
}

namespace {

QWidget* reachable(int panel, int control) {
    QWidget* window = PanelWindow(panel);
    QWidget* widget = ControlWidget(panel, control);
    if (!window || !widget || !window->isVisible())
        return nullptr;
    return widget;
}

void typeAndCommit(QAbstractSpinBox* spin, const QString& text) {
    auto* entry = spin->findChild<QLineEdit*>();
    entry->selectAll();
    entry->insert(text);
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QCoreApplication::sendEvent(spin, &enter);
}

}  // namespace

bool pressButton(int panel, int control) {
    auto* button = qobject_cast<QAbstractButton*>(reachable(panel, control));
    if (!button || !button->isEnabled())
        return false;
    button->click();
    return true;
}

bool enterValue(int panel, int control, double value) {
    QWidget* widget = reachable(panel, control);
    if (!widget || !widget->isEnabled())
        return false;
    if (auto* spin = qobject_cast<QSpinBox*>(widget)) {
        typeAndCommit(spin, QString::number(static_cast<int>(value)));
        return spin->value() == value;
    }
    if (auto* spin = qobject_cast<QDoubleSpinBox*>(widget)) {
        typeAndCommit(spin, spin->locale()
                                .toString(value, 'f', spin->decimals())
                                .remove(spin->locale().groupSeparator()));
        return std::fabs(spin->value() - value) < 0.5 * std::pow(10.0, -spin->decimals());
    }
    if (auto* ring = qobject_cast<QComboBox*>(widget)) {
        for (int i = 0; i < ring->count(); ++i) {
            if (static_cast<float>(ring->itemData(i).toDouble()) == static_cast<float>(value)) {
                ring->setCurrentIndex(i);
                emit ring->activated(i);
                return true;
            }
        }
        return false;
    }
    if (auto* box = qobject_cast<QCheckBox*>(widget)) {
        if (box->isChecked() != (value == 1))
            box->click();
        return box->isChecked() == (value == 1);
    }
    return false;
}

void BenchPopups::message(const std::string& title, const std::string& text) {
    std::fprintf(stderr, "pop-up \"%s\": %s\n", title.c_str(), text.c_str());
}

int BenchPopups::fileSelect(const std::string&, bool, std::string& path) {
    path = logPath_;
    return VAL_NEW_FILE_SELECTED;
}

void quietPlatformNotes() {
    static QtMessageHandler standard = nullptr;
    standard = qInstallMessageHandler(
        [](QtMsgType type, const QMessageLogContext& context, const QString& message) {
            if (message.startsWith("This plugin does not support") ||
                message.contains("XDG_RUNTIME_DIR"))
                return;
            if (standard)
                standard(type, context, message);
        });
}

FILE* reportStream() {
    static FILE* report = [] {
        std::fflush(stdout);
        FILE* stream = fdopen(dup(STDOUT_FILENO), "w");
        const int null = open("/dev/null", O_WRONLY);
        dup2(null, STDOUT_FILENO);
        close(null);
        setvbuf(stream, nullptr, _IOLBF, 0);
        return stream;
    }();
    return report;
}

double monotonicSeconds() {
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return static_cast<double>(ts.tv_sec) + static_cast<double>(ts.tv_nsec) * 1e-9;
}

double cpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    auto seconds = [](const timeval& t) {
        return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_usec) * 1e-6;
    };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

long residentKb() {
    std::ifstream status("/proc/self/status");
    std::string key;
    while (status >> key) {
        if (key == "VmRSS:") {
            long kb = -1;
            status >> kb;
            return kb;
        }
        status.ignore(1 << 16, '\n');
    }
    return -1;
}

double median(std::vector<double> values) {
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    const size_t mid = values.size() / 2;
    return values.size() % 2 ? values[mid] : (values[mid - 1] + values[mid]) / 2;
}
