// End to end: one program per instrument. While quorvel live runs on the simulator's
// terminal, a second quorvel that reaches the same device through a link is refused with
// who holds it, sends the instrument nothing, and the run keeps every record sent.
#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <string>

#include "tests/quorvel_process.h"

namespace {

size_t count(const std::string& text, char c) {
    return static_cast<size_t>(std::count(text.begin(), text.end(), c));
}

TEST(QuorvelDeviceLock, ASecondProgramThroughALinkIsRefusedAndTheRunKeepsEveryRecord) {
    SimProcess sim;
    ASSERT_TRUE(sim.started());
    QTemporaryDir folder;
    const QString link = folder.filePath("by-id-quorvel");
    ASSERT_TRUE(QFile::link(QString::fromStdString(sim.path()), link));
    const QString csv = folder.filePath("run.csv");

    Quorvel first;
    first.start(
        {"--port", QString::fromStdString(sim.path()), "live", "--seconds", "6", "--csv", csv});
    first.process().setReadChannel(QProcess::StandardError);
    std::string progress;
    while (progress.find("Live records") == std::string::npos &&
           first.process().waitForReadyRead(10000))
        progress += first.process().readAllStandardError().toStdString();
    ASSERT_NE(progress.find("Live records"), std::string::npos) << progress;

    const std::string refusal =
        "quorvel: " + link.toStdString() +
        " cannot be opened: error code = -6\n"
        "The port cannot be opened: its device is in use by quorvel (process " +
        std::to_string(first.process().processId()) +
        "). Wait for that program to end, or end it, then run the command again.\n";
    for (const QStringList& command :
         {QStringList{"identify"}, QStringList{"set", "setting byte 7=5"}}) {
        Quorvel second;
        const Outcome refused = second.run(QStringList{"--port", link} + command);
        EXPECT_EQ(refused.status, 3);
        EXPECT_EQ(refused.out, "");
        EXPECT_EQ(refused.err, refusal);
    }

    const Outcome run = first.finish();
    EXPECT_EQ(run.status, 0) << progress << run.err;
    QFile rows(csv);
    ASSERT_TRUE(rows.open(QIODevice::ReadOnly));
    const std::string written = rows.readAll().toStdString();
    const std::string received = reported(sim, "received");
    EXPECT_EQ(count(written, '\n'), std::stoul(reported(sim, "records sent")) + 1);
    // One wake-up, one identify and one block read: the first program's, and no other.
    EXPECT_EQ(received.substr(0, 5), "stirg") << received;
    EXPECT_EQ(count(received, 'i'), 1u) << received;
    EXPECT_EQ(count(received, 'r'), 1u) << received;
    EXPECT_EQ(count(received, 'w'), 0u) << received;
}

}  // namespace
