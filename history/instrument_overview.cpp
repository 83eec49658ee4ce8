#include "history/instrument_overview.h"

#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <optional>

#include "link/gain_zero.h"
#include "link/length_tables.h"
#include "link/parameter_block.h"
#include "link/protocol.h"
#include "link/write_rule.h"

namespace {

std::string plural(long long n, const char* one, const char* many) {
    return std::to_string(n) + (n == 1 ? one : many);
}

// A date or time byte as a number, or -1 when it is not two decimal digits.
int bcdByte(const char* text, int byte) {
    const char* pair = text + blockTextPosition(byte);
    if (!std::isdigit(static_cast<unsigned char>(pair[0])) ||
        !std::isdigit(static_cast<unsigned char>(pair[1])))
        return -1;
    return (pair[0] - '0') * 10 + (pair[1] - '0');
}

bool realTime(const CalendarTime& t) {
    return t.month >= 1 && t.month <= 12 && t.day >= 1 && t.day <= DaysInMonth(t.year, t.month) &&
           t.hour >= 0 && t.hour <= 23 && t.minute >= 0 && t.minute <= 59 && t.second >= 0 &&
           t.second <= 59;
}

std::string twoDigits(int n) {
    char text[8];
    std::snprintf(text, sizeof text, "%02d", n);
    return text;
}

std::string dateWords(const CalendarTime& t) {
    return std::to_string(t.year) + "-" + twoDigits(t.month) + "-" + twoDigits(t.day);
}

// "in 82 days", "in 3 h 5 min"; the days alone once it is a day or more away.
std::string spanWords(long long minutes) {
    if (minutes >= 24 * 60)
        return plural(minutes / (24 * 60), " day", " days");
    return durationWords(minutes * 60);
}

std::string startWords(const CalendarTime& start, const CalendarTime& now, bool& passed) {
    const long long ahead = MinutesSince2000(start) - MinutesSince2000(now);
    passed = ahead < 0;
    const std::string when = "armed for " + FormatDateMinute(start) + ", ";
    if (ahead == 0)
        return when + "in less than a minute";
    if (ahead > 0)
        return when + "in " + spanWords(ahead);
    return when + spanWords(-ahead) + " ago: it has passed";
}

std::string lengthWords(float length) {
    char text[16];
    const bool tenths = std::fabs(length * 10 - std::round(length * 10)) < 1e-4f;
    std::snprintf(text, sizeof text, tenths ? "%.1f" : "%.2f", static_cast<double>(length));
    return text;
}

// The gauge as the scale settings of the block show it: the table row of its length, and
// the type whose cell holds its scale trim and range code (the calibration's table first,
// then the default calibration's).
std::string gaugeWords(const char* text) {
    const int tenths = getBlockByte(text, kLengthTenthsByte);
    const LengthSetting held{static_cast<uint8_t>(getBlockByte(text, kScaleTrimByte)),
                             static_cast<uint8_t>(getBlockByte(text, kRangeCodeByte))};
    std::optional<float> length;
    for (const LengthRow& row : calibrationLengthTable.rows)
        if (static_cast<int>(row.length * 10) == tenths)
            length = row.length;
    if (!length)
        return "length not known: byte 24 holds " + std::to_string(tenths) + " tenths";
    const std::string words = "length " + lengthWords(*length);
    const auto typeIn = [&](const LengthTable& table) -> int {
        for (int type = 0; type < kGaugeTypes; ++type) {
            const std::optional<LengthSetting> cell = lookupLengthSetting(table, type, *length);
            if (cell && cell->scaleTrim == held.scaleTrim && cell->rangeCode == held.rangeCode)
                return type;
        }
        return -1;
    };
    if (const int type = typeIn(calibrationLengthTable); type >= 0)
        return words + ", type " + std::to_string(type);
    if (const int type = typeIn(defaultLengthTable); type >= 0)
        return words + ", type " + std::to_string(type) + " (default calibration)";
    return words + ", type not known: scale trim " + std::to_string(held.scaleTrim) +
           " and range code " + std::to_string(held.rangeCode) + " are in no length table";
}

OverviewPlace placeOfByte(int byte) {
    if (byte >= kClockSecondsByte && byte <= kClockYearByte)
        return OverviewPlace::Clock;
    if (byte >= kStartMinuteByte && byte <= kStartYearByte)
        return OverviewPlace::ScheduledStart;
    if (byte == kSettingByte23)
        return OverviewPlace::QvSettings;
    return OverviewPlace::Calibration;
}

std::string keptWords(const HistoryEntry& entry, const CalendarTime& now) {
    const std::optional<CalendarTime> kept = ParseDateTime(entry.time, true);
    const std::string when = kept ? keptWhenWords(*kept, now) : "at " + entry.time;
    if (entry.stage == kWrittenStage)
        return "as written " + when + " by the " + entry.action;
    if (entry.stage == kBeforeStage)
        return "as read " + when + ", before the " + entry.action;
    return "as read " + when;
}

void addClockRow(const std::string& shown, long long drift, InstrumentOverview& out) {
    const std::string words = driftFromComputerWords(drift);
    out.rows.push_back({"Clock", shown + " when read, " + words});
    if (std::llabs(drift) > kClockDriftWarning)
        out.warnings.push_back({"The instrument's clock was " + words +
                                    " when read. Set it from this computer's time.",
                                OverviewPlace::Clock});
}

void describeBlock(const HistoryEntry& entry, const HistoryNote* clockRead, const CalendarTime& now,
                   InstrumentOverview& out) {
    const char* text = entry.text.c_str();
    const int flags = getBlockByte(text, kFlagByte);
    out.rows.push_back({"Settings", keptWords(entry, now)});

    // A block read from the instrument shows its clock at the moment it was kept; a block
    // written shows what was sent, no reading.
    CalendarTime clock;
    std::optional<CalendarTime> keptAt = ParseDateTime(entry.time, true);
    // A clock read of the clock page, noted after the block was kept, is the newer reading.
    const bool newerRead = clockRead && clockRead->time >= entry.time &&
                           !clockRead->fact("instrument").empty() &&
                           !clockRead->fact("drift").empty();
    if (newerRead) {
        addClockRow(clockRead->fact("instrument"), std::atoll(clockRead->fact("drift").c_str()),
                    out);
    } else if (!blockClockTime(text, clock)) {
        out.rows.push_back({"Clock", "not a valid date and time"});
    } else if (entry.stage == kWrittenStage || !keptAt) {
        out.rows.push_back(
            {"Clock", FormatDateTime(clock) + " as written, not compared with this computer"});
    } else {
        addClockRow(FormatDateTime(clock), secondsSince2000(clock) - secondsSince2000(*keptAt),
                    out);
    }
    const bool clockSet = (flags & kClockSetFlag) != 0;
    out.rows.push_back({"Clock set", clockSet ? "yes" : "never (the clock-set flag is off)"});

    bool passed = false;
    CalendarTime start;
    if (!(flags & kScheduledStartFlag))
        out.rows.push_back({"Scheduled start", "off"});
    else if (!blockStartTime(text, start))
        out.rows.push_back({"Scheduled start", "armed, but not for a valid date and time"});
    else
        out.rows.push_back({"Scheduled start", startWords(start, now, passed)});
    if (passed)
        out.warnings.insert(out.warnings.begin(),
                            {"The scheduled start, " + FormatDateMinute(start) +
                                 ", has passed: the instrument will not start by it. Set a new "
                                 "start.",
                             OverviewPlace::ScheduledStart});

    out.rows.push_back({"Gauge", gaugeWords(text)});
    const GainZero gz = decodeGainZero(text);
    out.rows.push_back(
        {"Gain and zero", "gain " + std::to_string(gz.gain) + ", zero " + std::to_string(gz.zero)});
    out.rows.push_back(
        {"Values a record", (flags & kSecondChannelFlag) ? "two (second channel on)" : "one"});
    const bool rs232 = (flags & kRs232DataFlag) != 0;
    out.rows.push_back({"RS232 data", rs232 ? "on" : "off"});

    if (!rs232)
        out.warnings.push_back(
            {"RS232 data is off, so no live run can start. Switch it on in "
             "the kx or qv settings.",
             OverviewPlace::KxSettings});
    if (!clockSet)
        out.warnings.push_back(
            {"The instrument's clock has never been set (the clock-set flag "
             "is off). Set it from this computer's time.",
             OverviewPlace::Clock});
    if (const std::optional<BlockFault> fault = findBlockFault(text))
        out.warnings.push_back(
            {"A write of these settings would be refused: " + blockFaultText(fault->fault) + ".",
             placeOfByte(fault->byte)});
}

}  // namespace

std::string durationWords(long long seconds) {
    const long long days = seconds / 86400, hours = seconds % 86400 / 3600;
    const long long minutes = seconds % 3600 / 60, secs = seconds % 60;
    if (days > 0)
        return plural(days, " day", " days") + (hours ? " " + std::to_string(hours) + " h" : "");
    if (hours > 0)
        return std::to_string(hours) + " h" +
               (minutes ? " " + std::to_string(minutes) + " min" : "");
    if (minutes > 0)
        return std::to_string(minutes) + " min" + (secs ? " " + std::to_string(secs) + " s" : "");
    return std::to_string(secs) + " s";
}

std::string clockDriftWords(long long instrumentMinusComputer) {
    if (std::llabs(instrumentMinusComputer) <= 1)
        return "within 1 s";
    return durationWords(std::llabs(instrumentMinusComputer)) +
           (instrumentMinusComputer > 0 ? " ahead" : " behind");
}

std::string driftFromComputerWords(long long instrumentMinusComputer) {
    const std::string words = clockDriftWords(instrumentMinusComputer);
    return words + (instrumentMinusComputer < -1 ? " this computer" : " of this computer");
}

std::string keptWhenWords(const CalendarTime& kept, const CalendarTime& now) {
    const std::string clock = "at " + twoDigits(kept.hour) + ":" + twoDigits(kept.minute);
    const bool today = kept.year == now.year && kept.month == now.month && kept.day == now.day;
    return today ? clock + " today" : clock + " on " + dateWords(kept);
}

bool blockClockTime(const char* text, CalendarTime& time) {
    const int year = bcdByte(text, kClockYearByte);
    time = {2000 + year,
            bcdByte(text, kClockMonthByte),
            bcdByte(text, kClockDayOfMonthByte),
            bcdByte(text, kClockHoursByte),
            bcdByte(text, kClockMinutesByte),
            bcdByte(text, kClockSecondsByte),
            bcdByte(text, kClockDayOfWeekByte)};
    return year >= 0 && realTime(time);
}

bool blockStartTime(const char* text, CalendarTime& time) {
    const int year = bcdByte(text, kStartYearByte);
    time = {2000 + year,
            bcdByte(text, kStartMonthByte),
            bcdByte(text, kStartDayByte),
            bcdByte(text, kStartHourByte),
            bcdByte(text, kStartMinuteByte),
            0,
            0};
    return year >= 0 && realTime(time);
}

long long secondsSince2000(const CalendarTime& time) {
    return MinutesSince2000(time) * 60 + time.second;
}

InstrumentOverview describeInstrument(const OverviewInput& input) {
    InstrumentOverview out;
    switch (input.link) {
        case LinkOutcome::NotConnected:
            out.headline =
                "Not connected. Choose the instrument's port above (Ports… gives a port its "
                "device), then press Connect.";
            return out;
        case LinkOutcome::PortNotOpen:
            out.headline = input.port +
                           " could not be opened; the messages say why. Choose another port, or "
                           "give it its device with Ports…, then press Connect.";
            return out;
        case LinkOutcome::NoAnswer:
            out.headline = "No instrument answered on " + input.port +
                           ". Press the instrument's button (it may be asleep), then press "
                           "Connect again.";
            return out;
        case LinkOutcome::Identified:
            break;
    }
    out.headline = "Connected to Quorvel " + input.serialNumber + ".";
    out.rows.push_back({"Port", input.port});
    if (!input.kept)
        out.rows.push_back({"Settings",
                            "none kept for this instrument yet; press Read instrument to read "
                            "them"});
    else
        describeBlock(*input.kept, input.clockRead, input.now, out);
    return out;
}
