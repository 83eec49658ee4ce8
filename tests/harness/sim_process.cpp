// Starting quorvel-sim, learning its terminal from its first line, and stopping it.
#include "tests/harness/sim_process.h"

#include <QByteArray>
#include <cstdlib>
#include <string>

#ifndef QUORVEL_SIM_PATH
#define QUORVEL_SIM_PATH ""
#endif

SimProcess::SimProcess(const QStringList& arguments) {
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

SimProcess::~SimProcess() {
    stop();
}

void SimProcess::exportAs(int comPort) const {
    const std::string name = "QUORVEL_COM" + std::to_string(comPort);
    qputenv(name.c_str(), path_.c_str());
}

void SimProcess::pressButton() {
    process_.write("\n");
    process_.waitForBytesWritten(1000);
}

std::string SimProcess::stop() {
    if (process_.state() == QProcess::NotRunning)
        return {};
    // A simulator streaming flat out may take a moment to notice the signal.
    process_.terminate();
    if (!process_.waitForFinished(5000)) {
        process_.kill();
        process_.waitForFinished(2000);
    }
    errors_ = process_.readAllStandardError().toStdString();
    return process_.readAllStandardOutput().toStdString();
}
