// A live run that goes on after its line was lost: the adapter it ran through, watched
// until it is present again, then the line reopened, the instrument woken and identified
// as a connect does it, its settings block read for the record form, and 'g' sent.
//
// The adapter counts as back when a device with its USB serial number is listed (its
// device name may have changed), or, for an adapter without one, when its device is there
// again. Only the instrument the run began with resumes the stream: another serial number
// ends the run before 'g', and so does a record form other than the run's. An instrument
// that does not answer (asleep, or its power still away) is asked again a few seconds
// later, for as long as the caller keeps looking. A line lost again during the return
// exchange is waited for again. Nothing is sent while the adapter is away.
//
// The watch blocks only for the return exchange itself; between looks the caller keeps its
// own events going (the window its panels, the command line its stop requests).
#pragma once

#include <string>

#include "link/block_read.h"
#include "link/link_state.h"
#include "link/record_stream.h"

// The adapter a port reached when its line was lost.
struct LineAdapter {
    std::string device;        // what the port opened: "/dev/ttyUSB0", "COM3"
    std::string serialNumber;  // the USB adapter's own; empty for other devices
    std::string name;          // what it calls itself, else its device
};
// The adapter behind the link as it stands: linkDevice when a command named one, else the
// device comPort reaches.
LineAdapter adapterOfLink();

enum class ReturnStep {
    Waiting,          // the adapter is away (again), or the instrument did not answer yet
    Resumed,          // the same instrument streams again ('G'); the run goes on
    OtherInstrument,  // another serial number answered; nothing more was sent
    OtherRecords,     // the block gives another record form than the run's; no 'g' sent
    Refused,          // the block read or 'g' failed: `read` or `ack` says how
};

class LineReturnWatch {
  public:
    // For a run with `settings` of the instrument `serialNumber`, whose line through
    // `adapter` was lost at `lostAt` (toolkit clock).
    LineReturnWatch(LineAdapter adapter, std::string serialNumber, StreamSettings settings,
                    double lostAt);

    // One look at `now`: Waiting while the adapter is away or the pause after an
    // instrument that did not answer runs; once it is back, the whole return exchange.
    ReturnStep look(double now);

    const LineAdapter& adapter() const { return adapter_; }
    double lostAt() const { return lostAt_; }
    // Set by the return exchange.
    const std::string& answeredSerialNumber() const { return answered_; }
    const StreamSettings& answeredSettings() const { return answeredSettings_; }
    const BlockRead& read() const { return read_; }
    const AckFrame& ack() const { return ack_; }
    // Times the adapter was found back and the instrument did not answer.
    int silentReturns() const { return silentReturns_; }

  private:
    ReturnStep returnExchange(const std::string& device);
    // Whether the exchange's latest call met the line lost again; noted for look().
    bool lostAgain();

    LineAdapter adapter_;
    std::string serialNumber_;
    StreamSettings settings_;
    double lostAt_;
    double nextLook_;
    std::string answered_;
    StreamSettings answeredSettings_;
    BlockRead read_;
    AckFrame ack_;
    int silentReturns_ = 0;
    bool lostAgain_ = false;
};

// The device through which `adapter` is present now, or empty when it is away. Looks at
// the list of devices again.
std::string presentDeviceOf(const LineAdapter& adapter);
// Opens the link's port again for an adapter now present at `device` (presentDeviceOf): by
// its port where that reaches the adapter, else at the device itself. As openLinkPort.
int reopenLinkAt(const std::string& device);

// The words of a lost line and its return, the same in the window and on the command
// line. `port` is what the run was started on ("COM1", "/dev/ttyUSB0"); times of day are
// this computer's (toolkit clock's calendar time).
//   "line lost at 14:05:12 after 1234 records; waiting for COM1 (FT232R USB UART) to come back"
std::string lineLostText(const LineReturnWatch& watch, const std::string& port, double wallTime,
                         unsigned long records);
//   "line lost at 14:05:12; waiting for COM1 (FT232R USB UART) to come back (waited 42 s)",
// or, while the adapter is back and the instrument silent, "…; COM1 (…) is back but the
// instrument does not answer: asleep? (waited 42 s)"
std::string lineWaitingText(const LineReturnWatch& watch, const std::string& port,
                            double lostWallTime, double waited);
//   "line back at 14:06:40 after a gap of 1 min 28 s, 1234 records before it; the run goes on"
std::string lineBackText(double wallTime, double gap, unsigned long records);
//   "1 record", "1234 records", as these lines count the run's records
std::string recordsWords(unsigned long records);
//   "another instrument answered on COM1: serial number B-0002 instead of A-0001; the run ends"
std::string otherInstrumentText(const LineReturnWatch& watch, const std::string& port,
                                const std::string& serialNumber);
//   "the instrument on COM1 now sends other records (two values, gauge 2.5) than the run's
//    (one value, gauge 2.0); the run ends"
std::string otherRecordsText(const LineReturnWatch& watch, const std::string& port,
                             const StreamSettings& run);

// Outside a live run, while the window watches for the adapter of a lost line:
//   "line lost at 14:05:12; waiting for COM1 (FT232R USB UART) to come back"
std::string adapterAwayText(const LineAdapter& adapter, const std::string& port,
                            double lostWallTime);
//   "line lost at 14:05:12; COM1 (FT232R USB UART) is back: the next action reconnects"
std::string adapterBackText(const LineAdapter& adapter, const std::string& port,
                            double lostWallTime);
//   "another instrument answered on COM1: serial number B-0002 instead of A-0001; nothing
//    was done (Connect to use it)"
std::string otherInstrumentBeforeActionText(const std::string& port, const std::string& answered,
                                            const std::string& serialNumber);
