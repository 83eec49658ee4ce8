// End to end: an instrument that ignores the stop pair streams flat out while the tool is
// idle, and the tool's memory stays where it was: the port keeps at most its input queue.
#include <gtest/gtest.h>
#include <unistd.h>

#include <QByteArray>
#include <QEventLoop>
#include <QTimer>
#include <fstream>

#include "app/vaskinterface.h"
#include "feedback/panel_set.h"
#include "live/live_readout.h"
#include "tests/harness/operator.h"
#include "tests/harness/sim_process.h"
#include "toolkit/panels/testing.h"
#include "toolkit/panels/userint.h"
#include "toolkit/serial/rs232.h"
#include "ui/vaskinterface_ids.h"

namespace {

double residentMegabytes() {
    std::ifstream statm("/proc/self/statm");
    long pages = 0, resident = 0;
    statm >> pages >> resident;
    return static_cast<double>(resident) * static_cast<double>(::sysconf(_SC_PAGESIZE)) / 1e6;
}

void runEventLoopFor(int milliseconds) {
    QEventLoop loop;
    QTimer::singleShot(milliseconds, &loop, &QEventLoop::quit);
    loop.exec();
}

// AddressSanitizer keeps freed memory in quarantine (hundreds of megabytes), so resident
// memory says nothing about the tool there; the queue's bound is still checked.
#if defined(__SANITIZE_ADDRESS__)
constexpr bool kResidentMemoryMeans = false;
#else
constexpr bool kResidentMemoryMeans = true;
#endif

TEST(EndToEnd, AStreamThatIgnoresTheStopPairLeavesTheIdleToolsMemoryFlat) {
    const int kFloodMs = kResidentMemoryMeans ? 60'000 : 5'000;
    // A line far faster than 9600 baud: the simulator sends as fast as the terminal takes.
    SimProcess sim({"--keep-streaming", "--baud", "100000000"});
    ASSERT_TRUE(sim.started());
    sim.exportAs(1);
    resetVaskInterfaceState();
    ASSERT_EQ(startVaskInterface(0, nullptr), 0);
    ASSERT_EQ(OpenComConfig(1, "COM1", 9600, 0, 8, 1, 512, 512), 0);
    ASSERT_EQ(SetComTime(1, 3.0), 0);
    press(currentPanel, MAIN_LIVE);
    const int livePanel = currentPanel;
    QTimer::singleShot(300, [livePanel] { press(livePanel, LIVE_STOP); });
    press(livePanel, LIVE_START);
    ASSERT_EQ(liveRunning, 0);
    ASSERT_GT(liveRecordsShown, 0u);

    runEventLoopFor(1000);
    const double before = residentMegabytes();
    runEventLoopFor(kFloodMs);
    const double after = residentMegabytes();
    std::printf("[ figures  ] resident %.1f MB before, %.1f MB after %d s of flood\n", before,
                after, kFloodMs / 1000);
    if (kResidentMemoryMeans) {
        EXPECT_LT(after - before, 4.0);
    }

    // The stream is still coming: the queue holds what the port keeps, no more.
    char spare[600];
    SetComTime(1, 0.0);
    EXPECT_LE(ComRd(1, spare, 600), 512);
    DiscardAllPanels();
    qunsetenv("QUORVEL_COM1");
}

}  // namespace
