// End to end: the quorvel command line against quorvel-sim on a pseudo-terminal, in real
// time, as a script runs it: its exit status, what it prints, and the block the simulated
// instrument keeps when it ends.
#include <gtest/gtest.h>
#include <signal.h>

#include <QByteArray>
#include <QDateTime>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "history/history_lines.h"
#include "history/settings_file.h"
#include "tests/harness/sim_process.h"
#include "tests/quorvel_process.h"

namespace {

// Byte `index` of a block text (read form).
int blockByte(const std::string& text, int index) {
    return std::stoi(text.substr(3 * static_cast<size_t>(index), 2), nullptr, 16);
}

// The block text without its clock bytes (11 to 17), which run on.
std::string withoutClock(const std::string& text) {
    return text.substr(0, 33) + text.substr(54);
}

TEST(QuorvelCommandLine, IdentifyWakesTheInstrumentOnComOneAndPrintsItsSerialNumber) {
    SimProcess sim({"--serial", "QV-E2E-0000042"});
    ASSERT_TRUE(sim.started());
    sim.exportAs(1);
    Quorvel quorvel;
    const Outcome run = quorvel.run({"--port", "COM1", "identify"});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "QV-E2E-0000042\n");
}

TEST(QuorvelCommandLine, SettingsAsJsonHoldTheSimulatorsBlockFieldByField) {
    SimProcess sim;
    ASSERT_TRUE(sim.started());
    Quorvel quorvel;
    const Outcome run =
        quorvel.run({"--port", QString::fromStdString(sim.path()), "settings", "--json"});
    ASSERT_EQ(run.status, 0) << run.err;
    const QJsonObject settings =
        QJsonDocument::fromJson(QByteArray::fromStdString(run.out)).object();
    const std::string text = settings["block text"].toString().toStdString();
    const QJsonObject fields = settings["fields"].toObject();

    const std::string kept = reported(sim, "settings block");
    ASSERT_EQ(text.size(), 129u);
    EXPECT_EQ(withoutClock(text), withoutClock(kept.substr(0, 129)));
    EXPECT_EQ(settings["serial number"].toString(), "QV-0000012345");
    EXPECT_EQ(fields["gain"].toInt(), blockByte(kept, 3) * 256 + blockByte(kept, 4));
    EXPECT_EQ(fields["gauge length"].toDouble(), blockByte(kept, 24) / 10.0);
    EXPECT_EQ(fields["RS232 data flag"].toBool(), (blockByte(kept, 42) & 0x02) != 0);
}

TEST(QuorvelCommandLine, SetOfAKxAndAQvFieldIsKeptByTheInstrumentAndInTheHistory) {
    SimProcess sim;
    ASSERT_TRUE(sim.started());
    Quorvel quorvel;
    const Outcome run = quorvel.run({"--port", QString::fromStdString(sim.path()), "set",
                                     "option_bit_6=on", "setting byte 8=200"});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out,
              "setting byte 8: 0 → 200\noption bit 6: off → on\n"
              "written; the block read back matches\n");

    const std::string kept = reported(sim, "settings block");
    EXPECT_EQ(blockByte(kept, 8), 200);
    EXPECT_EQ(blockByte(kept, 42), 0x42);  // option bit 6 beside the RS232 data flag
    EXPECT_EQ(blockByte(kept, 7), 0);      // the fields not named stay as they were
    QFile history(quorvel.historyFile("QV-0000012345"));
    ASSERT_TRUE(history.open(QIODevice::ReadOnly));
    const QList<QByteArray> lines = history.readAll().trimmed().split('\n');
    ASSERT_EQ(lines.size(), 2);
    EXPECT_TRUE(lines[0].contains("\tquorvel set\tbefore\tQV-0000012345\t"));
    EXPECT_TRUE(lines[1].contains("\tquorvel set\twritten\tQV-0000012345\t"));
}

TEST(QuorvelCommandLine, ClockSetNowPutsThisComputersTimeInTheInstrument) {
    SimProcess sim;
    ASSERT_TRUE(sim.started());
    Quorvel quorvel;
    const Outcome run =
        quorvel.run({"--port", QString::fromStdString(sim.path()), "clock", "--set", "now"});
    EXPECT_EQ(run.status, 0) << run.err;

    const std::string kept = reported(sim, "settings block");
    const auto bcd = [&](int index) {
        return std::stoi(kept.substr(3 * static_cast<size_t>(index), 2));
    };
    const QDateTime clock(QDate(2000 + bcd(17), bcd(16), bcd(15)),
                          QTime(bcd(13), bcd(12), bcd(11)));
    EXPECT_LE(std::abs(clock.secsTo(QDateTime::currentDateTime())), 10);
    EXPECT_EQ(bcd(14), QDate::currentDate().dayOfWeek() % 7);  // 0 is Sunday
}

TEST(QuorvelCommandLine, LiveForThreeSecondsPrintsACsvLineForEveryRecordSent) {
    SimProcess sim;
    ASSERT_TRUE(sim.started());
    Quorvel quorvel;
    const Outcome run = quorvel.run(
        {"--port", QString::fromStdString(sim.path()), "live", "--seconds", "3", "--csv", "-"});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out.substr(0, run.out.find('\n')), "time_iso,elapsed_s,counts,level,stretch");
    const unsigned long sent = std::stoul(reported(sim, "records sent"));
    EXPECT_GT(sent, 400u);  // about 192 records a second
    EXPECT_EQ(lineCount(run.out), sent + 1);
}

TEST(QuorvelCommandLine, SigintDuringLiveStopsTheStreamAndKeepsEveryRecordReceived) {
    SimProcess sim;
    ASSERT_TRUE(sim.started());
    Quorvel quorvel;
    quorvel.start({"--port", QString::fromStdString(sim.path()), "live"});
    std::string out;
    while (lineCount(out) < 100 && quorvel.process().waitForReadyRead(10000))
        out += quorvel.process().readAllStandardOutput().toStdString();
    ASSERT_GE(lineCount(out), 100u);
    ::kill(static_cast<pid_t>(quorvel.process().processId()), SIGINT);
    const Outcome run = quorvel.finish();
    out += run.out;
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_NE(run.err.find("live: "), std::string::npos) << run.err;
    EXPECT_EQ(lineCount(out), std::stoul(reported(sim, "records sent")) + 1);
}

TEST(QuorvelCommandLine, AWriteRefusedAtItsLetterEndsWithStatusOneAndTheReply) {
    SimProcess sim({"--wrong-letter", "w:X"});
    ASSERT_TRUE(sim.started());
    Quorvel quorvel;
    const Outcome run =
        quorvel.run({"--port", QString::fromStdString(sim.path()), "set", "setting byte 7=5"});
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(
        run.err.find("quorvel: the instrument refused the write: 'w' was answered with <X>OK"),
        std::string::npos)
        << run.err;
    EXPECT_EQ(blockByte(reported(sim, "settings block"), 7), 0);
}

TEST(QuorvelCommandLine, APortThatCannotBeOpenedEndsWithStatusThreeAndWhy) {
    Quorvel quorvel;
    const Outcome run = quorvel.run({"--port", "/dev/quorvel-e2e-absent", "identify"});
    EXPECT_EQ(run.status, 3);
    EXPECT_EQ(run.out, "");
    EXPECT_NE(run.err.find("quorvel: /dev/quorvel-e2e-absent cannot be opened: error code = -6\n"
                           "The port cannot be opened: its device is not there."),
              std::string::npos)
        << run.err;
}

TEST(QuorvelCommandLine, ASettingsFileSavedFromOneInstrumentIsAppliedToAnotherByItsPanelsFields) {
    SimProcess first({"--serial", "QV-E2E-FIRST01"});
    SimProcess second({"--serial", "QV-E2E-SECOND2"});
    ASSERT_TRUE(first.started() && second.started());
    const QString one = QString::fromStdString(first.path());
    const QString other = QString::fromStdString(second.path());
    QTemporaryDir folder;
    const QString file = folder.filePath("first.qvs");
    Quorvel quorvel;
    ASSERT_EQ(quorvel.run({"--port", one, "set", "setting byte 7=12", "option bit 6=on"}).status,
              0);
    ASSERT_EQ(quorvel.run({"--port", one, "start", "--set", "2031-03-01 08:00", "--yes"}).status,
              0);
    const Outcome saved = quorvel.run({"--port", one, "settings", "--save", file});
    ASSERT_EQ(saved.status, 0) << saved.err;
    EXPECT_EQ(saved.out, "settings of QV-E2E-FIRST01 saved to " + file.toStdString() + "\n");

    const std::string changes =
        "  setting byte 7: 0 → 12\n  scheduled start: none stored → 2031-03-01 08:00\n"
        "  scheduled start flag: off → on\n  option bit 6: off → on\n";
    const std::string applying = "Applying " + file.toStdString() +
                                 " (saved from QV-E2E-FIRST01: only the kx, qv and scheduled "
                                 "start settings are taken) to QV-E2E-SECOND2 (" +
                                 second.path() + ") changes:\n" + changes;
    // No terminal to ask on and no --yes: the changes are listed and nothing is written.
    const Outcome asked = quorvel.run({"--port", other, "apply", file});
    EXPECT_EQ(asked.status, 1);
    EXPECT_EQ(asked.out, applying);
    EXPECT_NE(asked.err.find("Apply these settings? Not answered: nothing written"),
              std::string::npos);

    const Outcome applied = quorvel.run({"--port", other, "apply", file, "--yes"});
    EXPECT_EQ(applied.status, 0) << applied.err;
    EXPECT_EQ(applied.out, applying + "written; the block read back matches\nQV-E2E-SECOND2 (" +
                               second.path() + "): settings of " + file.toStdString() +
                               " applied, 4 fields changed\n");
    const std::string kept = reported(second, "settings block");
    EXPECT_EQ(blockByte(kept, 7), 12);
    EXPECT_EQ(kept.substr(54, 15), "00,08,01,03,31,");  // the start, minute to year
    EXPECT_EQ(blockByte(kept, 42), 0x62);
}

TEST(QuorvelCommandLine, ABadSettingsFileIsRefusedWithItsLineBeforeThePortIsOpened) {
    QTemporaryDir folder;
    const QString file = folder.filePath("bad.qvs");
    QFile bad(file);
    ASSERT_TRUE(bad.open(QIODevice::WriteOnly));
    bad.write("format: quorvel-settings/1\ntool: quorvel 1.0\nsaved: now\n");
    bad.close();
    Quorvel quorvel;
    const Outcome run = quorvel.run({"--port", "/dev/quorvel-e2e-absent", "apply", file});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err, "quorvel: settings file not applied: " + file.toStdString() +
                           ", line 3: the file ends without the header line \"serial number: "
                           "…\"; nothing sent\n");

    // Saved as UTF-16 by an editor: named, and refused in the same way.
    ASSERT_TRUE(bad.open(QIODevice::WriteOnly));
    bad.write(QByteArray("\xFF\xFE", 2) + QByteArray("f\0o\0r\0", 6));
    bad.close();
    const Outcome wide = quorvel.run({"--port", "/dev/quorvel-e2e-absent", "apply", file});
    EXPECT_EQ(wide.status, 1);
    EXPECT_EQ(wide.err, "quorvel: settings file not applied: cannot read " + file.toStdString() +
                            ": it is encoded as UTF-16 (little-endian); a settings file is UTF-8 "
                            "text (save it as UTF-8 and try again); nothing sent\n");
}

TEST(QuorvelCommandLine, AnImpossibleStartInASettingsFileIsRefusedAndNoWriteIsSent) {
    SimProcess sim;
    ASSERT_TRUE(sim.started());
    const QString port = QString::fromStdString(sim.path());
    QTemporaryDir folder;
    const QString file = folder.filePath("start.qvs");
    Quorvel quorvel;
    ASSERT_EQ(quorvel.run({"--port", port, "start", "--set", "2031-12-15 00:08", "--yes"}).status,
              0);
    ASSERT_EQ(quorvel.run({"--port", port, "settings", "--save", file}).status, 0);
    SettingsFileRead saved = readSettingsFile(file.toStdString());
    ASSERT_TRUE(saved.ok) << saved.reason;
    saved.file.text.replace(3 * 21, 2, "99");  // the start's month, the file agreeing with itself
    ASSERT_EQ(saveSettingsFile(file.toStdString(), saved.file), "");

    const Outcome run = quorvel.run({"--port", port, "--quiet", "apply", file, "--yes"});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err, "quorvel: start month (byte 21) holds 99, not 1 to 12; nothing written\n");
    EXPECT_EQ(reported(sim, "settings block").substr(54, 15), "08,00,15,12,31,");
    EXPECT_EQ(reported(sim, "write commands"), "1");  // the start's own write
}

// A block as the simulated instrument holds it at first, with the bytes given changed.
std::string simulatorBlock(std::initializer_list<std::pair<int, int>> bytes) {
    int block[43] = {};
    block[1] = 223, block[3] = 0x10, block[24] = 20, block[42] = 0x02;
    for (const auto& [index, value] : bytes) block[index] = value;
    std::string text;
    for (int value : block) {
        char group[4];
        std::snprintf(group, sizeof group, "%02X,", value);
        text += group;
    }
    return text;
}

TEST(QuorvelCommandLine, RestoreRefusesAKeptValueAndTakesOnlyPanelSettingsFromAnotherInstrument) {
    SimProcess sim;
    ASSERT_TRUE(sim.started());
    const QString port = QString::fromStdString(sim.path());
    Quorvel quorvel;
    QFile history(quorvel.historyFile("QV-0000012345"));
    ASSERT_TRUE(history.open(QIODevice::WriteOnly));
    for (const auto& [serial, text] :
         {std::pair{"QV-0000012345", simulatorBlock({{23, 31}})},
          std::pair{"QV-E2E-OTHER01", simulatorBlock({{1, 100}, {3, 0x0F}, {7, 12}, {24, 35}})}})
        history.write(QByteArray::fromStdString(formatHistoryLine(
            "2025-06-15 09:00:00", "kx write", "before", serial, "COM1", text.c_str())));
    history.close();

    const Outcome refused =
        quorvel.run({"--port", port, "--quiet", "history", "restore", "2", "--yes"});
    EXPECT_EQ(refused.status, 1);
    EXPECT_EQ(refused.err, "quorvel: setting byte 23 holds 31, not 0 to 15; nothing written\n");

    const Outcome other =
        quorvel.run({"--port", port, "--quiet", "history", "restore", "1", "--yes"});
    EXPECT_EQ(other.status, 0) << other.err;
    EXPECT_EQ(other.out,
              "Restoring the settings of QV-E2E-OTHER01 kept at 2025-06-15 09:00:00 (before kx "
              "write) to QV-0000012345 takes only the kx, qv and scheduled start settings, as "
              "they come from another instrument, and changes:\n  setting byte 7: 0 → 12\n"
              "written; the block read back matches\n");
    const std::string kept = reported(sim, "settings block");
    EXPECT_EQ(withoutClock(kept), withoutClock(simulatorBlock({{7, 12}})));
    EXPECT_EQ(reported(sim, "write commands"), "1");
}

// summary reads a recording without the instrument: the same figures as the Recordings
// page, as lines or JSON, for the whole run or a span; a bad file or time is wrong usage.
TEST(QuorvelCommandLine, SummaryOfARecordingNeedsNoInstrumentAndRefusesWhatItCannotRead) {
    QTemporaryDir folder;
    const QString csv = folder.filePath("run.csv");
    QFile file(csv);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(
        "time_iso,elapsed_s,counts,level,stretch\r\n"
        "2026-12-08T14:05:00.000Z,0.000,0,0.0000,1\r\n"
        "2026-12-08T14:05:01.000Z,1.000,1000,0.4884,1\r\n"
        "2026-12-08T14:06:00.000Z,60.000,2000,0.9768,2\r\n"
        "2026-12-08T14:06:01.000Z,61.000,4000,1.9536,2\r\n");
    file.close();
    Quorvel quorvel;
    QProcessEnvironment utc = quorvel.process().processEnvironment();
    utc.insert("TZ", "UTC");
    quorvel.process().setProcessEnvironment(utc);
    const Outcome whole = quorvel.run({"--port", "/dev/quorvel-e2e-absent", "summary", csv});
    EXPECT_EQ(whole.status, 0) << whole.err;
    const std::string path = csv.toStdString();
    EXPECT_EQ(whole.out,
              "file: " + path +
                  "\n"
                  "kind: CSV, one value, 2 stretches, 4 records\n"
                  "span: 0.000 s (2026-12-08 14:05:00.000) to 61.000 s (2026-12-08 14:06:01.000)\n"
                  "records: 4\n"
                  "first: 0.000 s (2026-12-08 14:05:00.000)\n"
                  "last: 61.000 s (2026-12-08 14:06:01.000)\n"
                  "minimum level: 0.0000 m\n"
                  "maximum level: 1.9536 m\n"
                  "mean level: 0.8547 m\n"
                  "stretches: 2\n"
                  "records out of step: not kept in a CSV\n"
                  "gauge length: 2.0 m, from the file's levels\n");

    const Outcome span =
        quorvel.run({"summary", csv, "--from", "0.5", "--to", "2026-12-08 14:06:00", "--json"});
    EXPECT_EQ(span.status, 0) << span.err;
    const QJsonObject o = QJsonDocument::fromJson(QByteArray::fromStdString(span.out)).object();
    EXPECT_EQ(o["records"].toInt(), 2);
    EXPECT_EQ(o["stretches"].toInt(), 2);
    EXPECT_TRUE(o["records_out_of_step"].isNull());
    EXPECT_DOUBLE_EQ(o["level_max"].toDouble(), 0.9768);
    EXPECT_EQ(o["first"].toObject()["time_iso"].toString(), "2026-12-08T14:05:01.000Z");

    const QString raw = folder.filePath("run.log");
    QFile log(raw);
    ASSERT_TRUE(log.open(QIODevice::WriteOnly));
    log.write("4095\r\r\n9999\r\r\n   0\r\r\n");
    log.close();
    const Outcome numbered = quorvel.run({"summary", raw, "--length", "10"});
    EXPECT_EQ(numbered.status, 0) << numbered.err;
    EXPECT_NE(numbered.out.find("maximum level: 10.0000 m\nmean level: 5.0000 m\n"),
              std::string::npos)
        << numbered.out;
    EXPECT_NE(numbered.out.find("records out of step: 1\ngauge length: 10.0 m, as given\n"
                                "note: no times in a raw log: records are numbered\n"),
              std::string::npos);

    const struct {
        QStringList arguments;
        std::string error;
    } refused[] = {
        {{"summary", raw + "x"},
         "quorvel: recording not opened: cannot read " + raw.toStdString() +
             "x: there is no such file\n"},
        {{"summary", csv, "--length", "3"},
         "quorvel: --length is for a raw log: a CSV's levels name their gauge length\n"},
        {{"summary", raw, "--from", "noon"}, "quorvel: --from needs a record number\n"},
        {{"summary", csv, "--from", "9", "--to", "2"}, "quorvel: --from comes after --to\n"},
    };
    for (const auto& r : refused) {
        const Outcome run = quorvel.run(r.arguments);
        EXPECT_EQ(run.status, 2) << run.err;
        EXPECT_EQ(run.err.substr(0, run.err.find('\n') + 1), r.error);
    }
}

}  // namespace
