// End to end: quorvel report against quorvel-sim on a pseudo-terminal, from the history the
// command line's own set and live runs keep; and its refusals.
#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>
#include <string>
#include <vector>

#include "tests/harness/sim_process.h"
#include "tests/quorvel_process.h"

namespace {

std::vector<std::string> linesOf(const std::string& text) {
    std::vector<std::string> lines;
    size_t from = 0;
    for (size_t end; (end = text.find('\n', from)) != std::string::npos; from = end + 1)
        lines.push_back(text.substr(from, end - from));
    return lines;
}

bool hasLine(const std::vector<std::string>& lines, const std::string& start) {
    for (const std::string& line : lines)
        if (line.rfind(start, 0) == 0)
            return true;
    return false;
}

TEST(QuorvelReport, AVisitOfASetAndALiveRunIsReportedFromTheHistory) {
    SimProcess sim({"--no-drift"});
    ASSERT_TRUE(sim.started());
    const QString port = QString::fromStdString(sim.path());
    QTemporaryDir files;
    Quorvel quorvel;
    ASSERT_EQ(quorvel.run({"--port", port, "--quiet", "set", "setting byte 8=200"}).status, 0);
    const QString csv = files.filePath("run.csv");
    const Outcome live =
        quorvel.run({"--port", port, "--quiet", "live", "--seconds", "1", "--csv", csv});
    ASSERT_EQ(live.status, 0) << live.err;

    const QString out = files.filePath("visit.txt");
    const Outcome report = quorvel.run(
        {"--port", port, "--quiet", "report", "--since", "2000-01-01 00:00", "--out", out});
    EXPECT_EQ(report.status, 0) << report.err;
    EXPECT_EQ(report.out, "");
    QFile file(out);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const std::vector<std::string> lines = linesOf(file.readAll().toStdString());
    ASSERT_GT(lines.size(), 10u);
    EXPECT_EQ(lines[0], "Visit report: Quorvel QV-0000012345");
    EXPECT_TRUE(hasLine(lines, "Visit: 2000-01-01 00:00 to "));
    EXPECT_TRUE(hasLine(lines, "Instrument: Quorvel QV-0000012345 on "));
    EXPECT_TRUE(hasLine(lines, "  read at ")) << "the settings as found";
    EXPECT_TRUE(hasLine(lines, "    setting byte 8: 0 \u2192 200"));
    EXPECT_TRUE(hasLine(lines, "  no calibration in this visit"));
    EXPECT_TRUE(hasLine(lines, "  written at ")) << "the settings as left";
    bool run = false;
    for (const std::string& line : lines)
        run |=
            line.find(" records, 0 out of step; files " + csv.toStdString()) != std::string::npos;
    EXPECT_TRUE(run);

    // Without --out, the same text on standard output.
    const Outcome printed =
        quorvel.run({"--port", port, "--quiet", "report", "--since", "2000-01-01 00:00"});
    EXPECT_EQ(printed.status, 0) << printed.err;
    EXPECT_EQ(linesOf(printed.out).size(), lines.size());
}

TEST(QuorvelReport, AWrongSinceIsAUsageErrorBeforeAnythingIsSent) {
    SimProcess sim;
    ASSERT_TRUE(sim.started());
    Quorvel quorvel;
    const Outcome run = quorvel.run(
        {"--port", QString::fromStdString(sim.path()), "report", "--since", "2026-02-30 10:00"});
    EXPECT_EQ(run.status, 2);
    EXPECT_NE(run.err.find("quorvel: --since needs a date and time \"YYYY-MM-DD HH:MM\" that "
                           "exists, not \"2026-02-30 10:00\""),
              std::string::npos)
        << run.err;
    EXPECT_EQ(reported(sim, "characters received"), "0");
}

}  // namespace
