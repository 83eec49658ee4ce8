// End to end: how quorvel live ends, against quorvel-sim on a pseudo-terminal in real
// time. Every way out stops the instrument and keeps what came; the raw records are the
// characters the simulator sent; an instrument that goes on sending is named as such.
#include <gtest/gtest.h>
#include <signal.h>
#include <unistd.h>

#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "tests/harness/sim_process.h"
#include "tests/quorvel_process.h"

namespace {

std::string fileText(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll().toStdString() : std::string();
}

void writeFile(const QString& path, const std::string& text) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(text.data(), static_cast<qint64>(text.size()));
}

// Runs quorvel through bash, for what only a shell sets up: pipes and closed descriptors.
Outcome shell(const std::string& script) {
    QProcess bash;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("QUORVEL", QStringLiteral(QUORVEL_CLI_PATH));
    bash.setProcessEnvironment(environment);
    bash.start("bash", {"-c", QString::fromStdString(script)});
    bash.waitForFinished(30000);
    return {bash.exitCode(), bash.readAllStandardOutput().toStdString(),
            bash.readAllStandardError().toStdString()};
}

// A run whose simulator hangs up `hangUpAfter` seconds after it started, behind a link
// that a later simulator takes over, as /dev/serial/by-id links follow an adapter.
class QuorvelLostLine : public ::testing::Test {
  protected:
    void startSim(double hangUpAfter = -1) {
        sim_.reset();  // the one before has hung up and gone, its link with it
        QStringList arguments{"--link", QString::fromStdString(link_), "--no-drift"};
        if (hangUpAfter >= 0)
            arguments << "--hang-up-after" << QString::number(hangUpAfter);
        sim_ = std::make_unique<SimProcess>(arguments);
        ASSERT_TRUE(sim_->started());
    }
    void startLive(QStringList options = {}) {
        quorvel_.start(QStringList{"--port", QString::fromStdString(link_), "live", "--csv", csv_} +
                       options);
    }
    // Standard error until it holds `text`, for at most 20 s.
    bool errorHolds(const std::string& text) {
        QElapsedTimer waited;
        waited.start();
        while (err_.find(text) == std::string::npos && waited.elapsed() < 20000) {
            quorvel_.process().waitForReadyRead(100);
            err_ += quorvel_.process().readAllStandardError().toStdString();
        }
        return err_.find(text) != std::string::npos;
    }
    Outcome terminate() {
        ::kill(static_cast<pid_t>(quorvel_.process().processId()), SIGTERM);
        Outcome run = quorvel_.finish();
        run.err = err_ + run.err;
        return run;
    }
    // The CSV's records in each stretch, counted by their last column.
    std::vector<size_t> recordsByStretch() {
        std::vector<size_t> counts;
        const std::string text = fileText(csv_);
        size_t line = 0;
        for (size_t at = 0, end; (end = text.find('\n', at)) != std::string::npos; at = end + 1) {
            if (line++ == 0)
                continue;
            const size_t comma = text.rfind(',', end);
            const size_t stretch = std::stoul(text.substr(comma + 1, end - comma - 1));
            counts.resize(std::max(counts.size(), stretch));
            ++counts[stretch - 1];
        }
        return counts;
    }

    QTemporaryDir dir_;
    const std::string link_ = dir_.filePath("ttyQV").toStdString();
    const QString csv_ = dir_.filePath("level.csv");
    std::unique_ptr<SimProcess> sim_;
    Quorvel quorvel_;
    std::string err_;
};

TEST_F(QuorvelLostLine, TheRunWaitsAndGoesOnInTheNextStretchWhenTheLineIsBack) {
    startSim(5);
    startLive();
    ASSERT_TRUE(errorHolds("quorvel: line lost at ")) << err_;
    EXPECT_NE(err_.find(" records; waiting for " + link_ + " to come back\n"), std::string::npos)
        << err_;
    startSim();
    ASSERT_TRUE(errorHolds("quorvel: line back at ")) << err_;
    ASSERT_TRUE(errorHolds("before it; the run goes on\n")) << err_;
    quorvel_.process().waitForFinished(1000);  // records of the second stretch
    const Outcome run = terminate();
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(fileText(csv_).substr(0, fileText(csv_).find('\n')),
              "time_iso,elapsed_s,counts,level,stretch\r");
    const std::vector<size_t> stretches = recordsByStretch();
    ASSERT_EQ(stretches.size(), 2u);
    EXPECT_GT(stretches[0], 100u);
    EXPECT_GT(stretches[1], 50u);
    // Every record the second simulator sent is in the CSV, once.
    EXPECT_EQ(stretches[1], std::stoul(reported(*sim_, "records sent")));
}

TEST_F(QuorvelLostLine, SigtermDuringTheWaitEndsTheRunWithTheRecordsKept) {
    startSim(5);
    startLive();
    ASSERT_TRUE(errorHolds("quorvel: line lost at ")) << err_;
    const Outcome run = terminate();
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_NE(run.err.find("The run ended while waiting for the line; the records received are "
                           "kept\n"),
              std::string::npos)
        << run.err;
    EXPECT_EQ(recordsByStretch().size(), 1u);
}

TEST_F(QuorvelLostLine, ReconnectForGivesUpWithStatus1) {
    startSim(5);
    startLive({"--reconnect-for", "2s"});
    const Outcome run = quorvel_.finish();
    EXPECT_EQ(run.status, 1) << run.err;
    EXPECT_NE(run.err.find("quorvel: the line did not come back within 2 s; the run ends\n"),
              std::string::npos)
        << run.err;
    EXPECT_GT(recordsByStretch().at(0), 100u);
}

constexpr char kStillSending[] =
    "quorvel: the instrument is still sending live records: it did not take the stop\n";

TEST(QuorvelLive, AHangUpStopsTheStreamAndKeepsEveryRecordReceived) {
    SimProcess sim;
    ASSERT_TRUE(sim.started());
    Quorvel quorvel;
    quorvel.start({"--port", QString::fromStdString(sim.path()), "live"});
    std::string out;
    while (lineCount(out) < 100 && quorvel.process().waitForReadyRead(10000))
        out += quorvel.process().readAllStandardOutput().toStdString();
    ASSERT_GE(lineCount(out), 100u);
    ::kill(static_cast<pid_t>(quorvel.process().processId()), SIGHUP);
    const Outcome run = quorvel.finish();
    out += run.out;
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_NE(run.err.find("live: "), std::string::npos) << run.err;
    // A stream that went on would have sent far more than came out.
    EXPECT_EQ(lineCount(out), std::stoul(reported(sim, "records sent")) + 1);
}

TEST(QuorvelLive, AReaderThatClosesThePipeEndsTheRunWithTheStreamStoppedAndTheRawLogWhole) {
    SimProcess sim({"--no-drift"});
    ASSERT_TRUE(sim.started());
    QTemporaryDir dir;
    const QString raw = dir.filePath("r.raw"), err = dir.filePath("err");
    const Outcome run =
        shell("\"$QUORVEL\" --port '" + sim.path() + "' live --raw '" + raw.toStdString() +
              "' 2>'" + err.toStdString() + "' | head -n 5 >/dev/null; echo \"${PIPESTATUS[0]}\"");
    EXPECT_EQ(run.out, "1\n") << fileText(err);
    EXPECT_NE(fileText(err).find("quorvel: standard output was closed by the program reading "
                                 "it: the run ended\n"),
              std::string::npos)
        << fileText(err);
    const std::string records = fileText(raw);
    EXPECT_GT(lineCount(records), 4u);
    EXPECT_EQ(lineCount(records), std::stoul(reported(sim, "records sent")));
}

TEST(QuorvelLive, AClosedStandardOutputIsRefusedBeforeAnythingIsSent) {
    SimProcess sim;
    ASSERT_TRUE(sim.started());
    const Outcome run = shell("\"$QUORVEL\" --port '" + sim.path() + "' live >&-");
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.err.substr(0, run.err.find('\n') + 1),
              "quorvel: standard output is closed: nowhere to write the records\n");
    EXPECT_EQ(reported(sim, "characters received"), "0");
}

TEST(QuorvelLive, AnInstrumentThatKeepsSendingEndsTheRunWithStatusOneAndTheNextCommandSaysWhy) {
    SimProcess sim({"--keep-streaming"});
    ASSERT_TRUE(sim.started());
    QTemporaryDir dir;
    Quorvel quorvel;
    const QString port = QString::fromStdString(sim.path());
    const Outcome run =
        quorvel.run({"--port", port, "live", "--seconds", "1", "--csv", dir.filePath("run.csv")});
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find(kStillSending), std::string::npos) << run.err;

    const Outcome identify = quorvel.run({"--port", port, "identify"});
    EXPECT_EQ(identify.status, 1);
    EXPECT_NE(identify.err.find(kStillSending), std::string::npos) << identify.err;
    EXPECT_EQ(identify.err.find("button"), std::string::npos) << identify.err;
}

TEST(QuorvelLive, CsvAndRawReachingOneFileAreRefusedBeforeAnythingIsSent) {
    SimProcess sim;
    ASSERT_TRUE(sim.started());
    QTemporaryDir dir;
    const QString kept = dir.filePath("kept.csv");
    writeFile(kept, "kept\n");
    ASSERT_EQ(
        ::symlink(kept.toLocal8Bit().constData(), dir.filePath("link").toLocal8Bit().constData()),
        0);
    ASSERT_EQ(
        ::link(kept.toLocal8Bit().constData(), dir.filePath("hard").toLocal8Bit().constData()), 0);
    ASSERT_EQ(::symlink(dir.filePath("new.csv").toLocal8Bit().constData(),
                        dir.filePath("dangling").toLocal8Bit().constData()),
              0);
    const struct {
        QString csv, raw;
    } pairs[] = {{kept, kept},
                 {kept, dir.filePath("link")},
                 {kept, dir.filePath("hard")},
                 {dir.filePath("new.csv"), dir.filePath("dangling")}};
    Quorvel quorvel;
    for (const auto& pair : pairs) {
        const Outcome run = quorvel.run({"--port", QString::fromStdString(sim.path()), "live",
                                         "--csv", pair.csv, "--raw", pair.raw});
        EXPECT_EQ(run.status, 2);
        EXPECT_EQ(run.err.substr(0, run.err.find('\n') + 1),
                  "quorvel: --csv and --raw name one file (" + pair.csv.toStdString() + " and " +
                      pair.raw.toStdString() + "): each needs its own\n");
    }
    EXPECT_EQ(fileText(kept), "kept\n");
    EXPECT_FALSE(QFile::exists(dir.filePath("new.csv")));
    EXPECT_EQ(reported(sim, "characters received"), "0");
}

// The records the simulator is given, and how the raw log splits its stream: the first
// piece, then each following one (a stream of six-character records read as five is out
// of step from the second on, each piece up to the next CR).
struct RawCase {
    const char* name;
    QStringList records;
    size_t firstPiece, piece;
};

class QuorvelRawLog : public ::testing::TestWithParam<RawCase> {};

TEST_P(QuorvelRawLog, HoldsTheSimulatorsStreamByteForByteEachPieceFollowedByCrLf) {
    QTemporaryDir dir;
    const QString sent = dir.filePath("sent"), raw = dir.filePath("r.raw");
    QStringList arguments{"--sent-to", sent};
    for (const QString& record : GetParam().records) arguments << "--record" << record;
    SimProcess sim(arguments);
    ASSERT_TRUE(sim.started());
    Quorvel quorvel;
    const Outcome run =
        quorvel.run({"--port", QString::fromStdString(sim.path()), "live", "--seconds", "1",
                     "--raw", raw, "--csv", dir.filePath("run.csv")});
    EXPECT_EQ(run.status, 0) << run.err;
    sim.stop();

    const std::string wire = fileText(sent);
    const size_t go = wire.find("<G>OK");
    ASSERT_NE(go, std::string::npos);
    const std::string stream = wire.substr(go + 5);
    ASSERT_GT(stream.size(), 400u);
    std::string expected;
    for (size_t at = 0, size = GetParam().firstPiece; at < stream.size();
         at += size, size = GetParam().piece)
        expected += stream.substr(at, size) + "\r\n";
    EXPECT_EQ(fileText(raw), expected);
}

INSTANTIATE_TEST_SUITE_P(
    Records, QuorvelRawLog,
    ::testing::Values(
        RawCase{"NonTextAndNul", {"\\xff\\x1b12\\r", "\\0\\0\\0\\0\\r", "1234\\r"}, 5, 5},
        RawCase{"NoLineEnd", {"zzzzz"}, 5, 5}, RawCase{"CrLf", {"1234\\r\\n"}, 5, 6}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
