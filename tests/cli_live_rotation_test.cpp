// quorvel live --rotate in-process, against the simulated instrument on the virtual clock:
// at the change of hour or day the record that comes after it starts new files, each whole
// with its header; every record the instrument sent is in one file, once, and the run's
// elapsed and stretch columns go on across the change.
#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "cli/invocation.h"
#include "cli/live_command.h"
#include "cli/live_rotation.h"
#include "history/history.h"
#include "tests/harness/inprocess_line.h"
#include "tests/harness/time_zone.h"
#include "tests/harness/virtual_clock.h"
#include "toolkit/platform/calendar.h"
#include "toolkit/platform/clock.h"
#include "toolkit/serial/device_choice.h"
#include "toolkit/serial/serial_backend.h"
#include "toolkit/serial/serial_devices.h"

namespace {

constexpr uint8_t kRs232Data = 0x02;
constexpr char kHeader[] = "time_iso,elapsed_s,counts,level,stretch";
const SerialDeviceInfo kAdapter{"/dev/ttyUSB0", "FT232R USB UART", "FTDI", "A10KX7QZ"};

std::string fileText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The lines of a file written with CR LF, without their ends.
std::vector<std::string> crlfLines(const std::string& path) {
    std::vector<std::string> lines;
    const std::string text = fileText(path);
    for (size_t at = 0, end; (end = text.find("\r\n", at)) != std::string::npos; at = end + 2)
        lines.push_back(text.substr(at, end - at));
    return lines;
}

// The CSV column `index` (from 0) of a row.
std::string column(const std::string& row, int index) {
    std::istringstream in(row);
    std::string field;
    for (int i = 0; i <= index; ++i) std::getline(in, field, ',');
    return field;
}

class LiveRotationRun : public ::testing::Test {
  protected:
    void SetUp() override {
        useUtcAsLocalTime();
        SetToolkitClock(&clock);
        SetSerialBackend(&backend);
        peer = std::make_unique<InstrumentPeer>(instrument);
        backend.attach(1, peer.get());
        SetSerialDeviceLister([this] { return devices; });
        ChooseDeviceForComPort(1, kAdapter.device);
        SetComputerLocalTime([this] { return LocalCalendarTime(clock.wallTime()); });
        setHistoryFolder(dir.filePath("history").toStdString());
        instrument.block()[42] |= kRs232Data;
        instrument.setDrift(0);
    }
    void TearDown() override {
        setHistoryFolder({});
        SetComputerLocalTime(nullptr);
        ChooseDeviceForComPort(1, "");
        SetSerialDeviceLister({});
        SetSerialBackend(nullptr);
        SetToolkitClock(nullptr);
    }

    // Runs quorvel live for `seconds` on a computer clock that starts at `wallStart` (UTC,
    // the tests' local time); keeps what it said on standard error.
    int runLiveFor(double seconds, LiveRotation rotation, const std::string& wallStart,
                   bool withRaw = true) {
        clock.wallStart = WallTimeOfLocal(*ParseDateTime(wallStart, true));
        Invocation invocation;
        invocation.command = "live";
        invocation.seconds = seconds;
        invocation.csv = path("run.csv");
        if (withRaw)
            invocation.raw = path("run.log");
        invocation.rotate = rotation;
        ::testing::internal::CaptureStderr();
        const int status = runLive(invocation);
        err = ::testing::internal::GetCapturedStderr();
        return status;
    }
    std::string path(const std::string& name) const {
        return dir.filePath(QString::fromStdString(name)).toStdString();
    }
    // The names in the test's folder, in order, the history's folder aside.
    std::vector<std::string> files() const {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(dir.path().toStdString()))
            if (entry.path().filename() != "history")
                names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }
    // The lines of the settings history that hold `text`.
    std::vector<std::string> historyLinesWith(const std::string& text) const {
        std::vector<std::string> found;
        for (const auto& entry : std::filesystem::recursive_directory_iterator(path("history"))) {
            std::ifstream in(entry.path());
            for (std::string line; std::getline(in, line);)
                if (line.find(text) != std::string::npos)
                    found.push_back(line);
        }
        return found;
    }
    // A rotated CSV: its header, then rows whose time_iso all lie in `period`.
    std::vector<std::string> rowsOf(const std::string& name, const std::string& period) {
        std::vector<std::string> rows = crlfLines(path(name));
        EXPECT_FALSE(rows.empty()) << name;
        if (rows.empty())
            return rows;
        EXPECT_EQ(rows.front(), kHeader) << name;
        rows.erase(rows.begin());
        for (const std::string& row : rows)
            EXPECT_EQ(row.rfind(period, 0), 0u) << name << ": " << row;
        return rows;
    }

    QTemporaryDir dir;
    VirtualClock clock;
    InProcessBackend backend;
    sim::Instrument instrument;
    std::unique_ptr<InstrumentPeer> peer;
    std::vector<SerialDeviceInfo> devices{kAdapter};
    std::string err;
};

TEST_F(LiveRotationRun, AtTheHourTheNextRecordStartsNewFilesAndNoneIsLostOrDoubled) {
    ASSERT_EQ(runLiveFor(12, LiveRotation::Hourly, "2026-12-08 14:59:52"), 0) << err;

    EXPECT_EQ(files(),
              (std::vector<std::string>{"run-2026-12-08T14.csv", "run-2026-12-08T14.log",
                                        "run-2026-12-08T15.csv", "run-2026-12-08T15.log"}));
    const auto before = rowsOf("run-2026-12-08T14.csv", "2026-12-08T14:59:");
    const auto after = rowsOf("run-2026-12-08T15.csv", "2026-12-08T15:00:");
    ASSERT_GT(before.size(), 100u);
    ASSERT_GT(after.size(), 100u);
    EXPECT_EQ(before.size() + after.size(), static_cast<size_t>(instrument.recordsSent()));
    // The run's columns, not the file's: elapsed goes on one record's time later, stretch 1.
    const double gap = std::stod(column(after.front(), 1)) - std::stod(column(before.back(), 1));
    EXPECT_GT(gap, 0);
    EXPECT_LT(gap, 0.01);
    EXPECT_EQ(column(after.front(), 4), "1");
    // Each raw log holds the records of its hour's CSV, whole.
    EXPECT_EQ(crlfLines(path("run-2026-12-08T14.log")).size(), before.size());
    EXPECT_EQ(crlfLines(path("run-2026-12-08T15.log")).size(), after.size());
    const std::string record = crlfLines(path("run-2026-12-08T15.log")).front();
    EXPECT_EQ(record.size(), 5u);

    EXPECT_NE(err.find("New files each hour of this computer's clock, the first: " +
                       path("run-2026-12-08T14.csv") + ", " + path("run-2026-12-08T14.log") + "\n"),
              std::string::npos)
        << err;
    EXPECT_NE(err.find("quorvel: new files at 15:00:00 after " + std::to_string(before.size()) +
                       " records: " + path("run-2026-12-08T15.csv") + ", " +
                       path("run-2026-12-08T15.log") + "\n"),
              std::string::npos)
        << err;
    const std::vector<std::string> notes = historyLinesWith(path("run-2026-12-08T14.csv"));
    ASSERT_EQ(notes.size(), 1u);
    EXPECT_NE(notes.front().find(
                  path("run-2026-12-08T14.csv") + ", " + path("run-2026-12-08T14.log") + " to " +
                  path("run-2026-12-08T15.csv") + ", " + path("run-2026-12-08T15.log")),
              std::string::npos)
        << notes.front();
}

TEST_F(LiveRotationRun, AtMidnightADayFileThatIsThereAlreadyIsKeptAndTheNextNameTaken) {
    {
        std::ofstream theirs(path("run-2026-12-09.csv"), std::ios::binary);
        theirs << "an operator's own file\n";
    }
    ASSERT_EQ(runLiveFor(8, LiveRotation::Daily, "2026-12-08 23:59:56", false), 0) << err;

    EXPECT_EQ(files(), (std::vector<std::string>{"run-2026-12-08.csv", "run-2026-12-09.csv",
                                                 "run-2026-12-09_2.csv"}));
    EXPECT_EQ(fileText(path("run-2026-12-09.csv")), "an operator's own file\n");
    const auto before = rowsOf("run-2026-12-08.csv", "2026-12-08T23:59:");
    const auto after = rowsOf("run-2026-12-09_2.csv", "2026-12-09T00:00:");
    ASSERT_GT(before.size(), 100u);
    ASSERT_GT(after.size(), 100u);
    EXPECT_EQ(before.size() + after.size(), static_cast<size_t>(instrument.recordsSent()));
    EXPECT_NE(err.find("quorvel: new file at 00:00:00 after " + std::to_string(before.size()) +
                       " records: " + path("run-2026-12-09_2.csv") + "\n"),
              std::string::npos)
        << err;
}

TEST_F(LiveRotationRun, AnHourThatChangesWhileTheLineIsAwayStartsItsFilesWhenRecordsComeBack) {
    clock.schedule(5.0, [this] {
        backend.dropLine(1);
        devices.clear();
    });
    clock.schedule(14.0, [this] {
        SerialDeviceInfo back = kAdapter;
        back.device = "/dev/ttyUSB1";
        devices = {back};
    });
    ASSERT_EQ(runLiveFor(20, LiveRotation::Hourly, "2026-12-08 14:59:54"), 0) << err;

    const auto before = rowsOf("run-2026-12-08T14.csv", "2026-12-08T14:59:");
    const auto after = rowsOf("run-2026-12-08T15.csv", "2026-12-08T15:00:");
    ASSERT_GT(before.size(), 100u);
    ASSERT_GT(after.size(), 100u);
    for (const std::string& row : before) EXPECT_EQ(column(row, 4), "1") << row;
    for (const std::string& row : after) EXPECT_EQ(column(row, 4), "2") << row;
    const size_t lost = err.find("quorvel: line lost at 14:59:");
    const size_t back = err.find("quorvel: line back at 15:00:");
    const size_t newFiles = err.find("quorvel: new files at 15:00:");
    ASSERT_NE(lost, std::string::npos) << err;
    ASSERT_NE(back, std::string::npos) << err;
    ASSERT_NE(newFiles, std::string::npos) << err;
    EXPECT_LT(lost, back);
    EXPECT_LT(back, newFiles);
}

TEST(LiveRotationNames, ThePeriodGoesBeforeTheExtensionOfTheNameGivenAndACopyAfterIt) {
    EXPECT_EQ(rotatedPath("run.csv", "2026-12-09T17"), "run-2026-12-09T17.csv");
    EXPECT_EQ(rotatedPath("/var/lib/quorvel.d/level", "2026-12-09"),
              "/var/lib/quorvel.d/level-2026-12-09");
    EXPECT_EQ(rotatedPath("logs/.level", "2026-12-09"), "logs/.level-2026-12-09");
    EXPECT_EQ(rotatedPath("a.b.log", "2026-12-09", 2), "a.b-2026-12-09_2.log");
    useUtcAsLocalTime();
    const double wall = WallTimeOfLocal(*ParseDateTime("2026-12-09 17:59:59", true));
    EXPECT_EQ(rotationPeriod(LiveRotation::Hourly, wall), "2026-12-09T17");
    EXPECT_EQ(rotationPeriod(LiveRotation::Hourly, wall + 1), "2026-12-09T18");
    EXPECT_EQ(rotationPeriod(LiveRotation::Daily, wall), "2026-12-09");
}

}  // namespace
