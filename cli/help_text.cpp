#include "cli/help_text.h"

#include "link/block_fields.h"

namespace {

constexpr char kCommandsAndOptions[] =
    "Usage: quorvel [--port PORT] [--quiet] COMMAND [ARGUMENTS] [OPTIONS]\n"
    "\n"
    "Uses a Quorvel level instrument on a serial line without a window: for scripts,\n"
    "unattended logging and maintenance checks. Every command but ports and summary first\n"
    "wakes the instrument and asks for its identity, as Connect does in the window.\n"
    "\n"
    "Commands:\n"
    "  ports             the serial devices present, and the device each of COM1 to COM4\n"
    "                    reaches\n"
    "  identify          the instrument's serial number\n"
    "  settings [--json|--save FILE]\n"
    "                    every field of the settings block by name with its value, and\n"
    "                    the block text with its checksum; --save keeps them in a\n"
    "                    settings file instead\n"
    "  set FIELD=VALUE... [--dry-run]\n"
    "                    reads the settings, changes the named fields, writes the block,\n"
    "                    reads it back and compares; --dry-run shows the change and\n"
    "                    writes nothing\n"
    "  clock [--set now|\"YYYY-MM-DD HH:MM:SS\"]\n"
    "                    the instrument's clock, or sets it from this computer's time or\n"
    "                    the time given (a day that does not exist is refused before\n"
    "                    anything is sent)\n"
    "  start [--set \"YYYY-MM-DD HH:MM\"|--off]\n"
    "                    the scheduled start, or sets it (which switches it on), or\n"
    "                    switches it off\n"
    "  live [--seconds N] [--raw FILE] [--csv FILE|-]\n"
    "       [--no-reconnect|--reconnect-for DURATION] [--rotate hourly|daily]\n"
    "                    live records as CSV, with the window's columns, on standard\n"
    "                    output or in FILE, until N seconds have passed or Ctrl-C or\n"
    "                    SIGTERM; --raw keeps the records as they came, as the window's\n"
    "                    log does. Either way the instrument is stopped and no record\n"
    "                    received is lost. A lost line is waited for and the run goes\n"
    "                    on with the same instrument (the CSV's stretch column counts\n"
    "                    the stretches); --reconnect-for gives up after DURATION (90s,\n"
    "                    15m, 2h, 1d), --no-reconnect ends the run at once (status 1).\n"
    "                    --rotate starts a new CSV and raw log at each hour or day of\n"
    "                    this computer's clock, named after their start (run.csv:\n"
    "                    run-2026-12-09T17.csv, or run-2026-12-09.csv daily; a name\n"
    "                    that is taken gets _2, _3, ...); the record after the change\n"
    "                    is the first of the new files\n"
    "  history [list|show N|restore N] [--dry-run]\n"
    "                    the settings kept for this instrument, newest first (1 is the\n"
    "                    newest); show lists entry N field by field; restore puts it back,\n"
    "                    the running clock aside, after listing the fields that change\n"
    "                    (of an entry kept from another instrument, only what the kx, qv\n"
    "                    and scheduled start panels write)\n"
    "  apply FILE [--dry-run]\n"
    "                    puts the settings of a settings file into the instrument: from\n"
    "                    another instrument only what the kx, qv and scheduled start\n"
    "                    panels write, from this one everything but the clock; lists the\n"
    "                    fields that change and asks first\n"
    "  summary FILE [--from T] [--to T] [--length M] [--json]\n"
    "                    the summary of a recorded run, a CSV or raw log this tool wrote,\n"
    "                    as the Recordings page shows it: first and last time, records,\n"
    "                    least, greatest and mean level, stretches, records out of step;\n"
    "                    T is seconds since the run's start or a date and time\n"
    "                    (\"YYYY-MM-DD HH:MM:SS\", this computer's time), for a raw log a\n"
    "                    record number; --length gives a raw log's gauge length (2.0 m\n"
    "                    when not given). Needs no instrument\n"
    "  report [--since \"YYYY-MM-DD HH:MM\"] [--out FILE]\n"
    "                    the report of a visit, from the settings history: the settings\n"
    "                    as found and as left, each write with the fields it changed, the\n"
    "                    clock reads and sets, the calibrations and the live runs since\n"
    "                    the time given (this computer's time; without --since, the start\n"
    "                    of the last day the history has), as plain text on standard\n"
    "                    output or in FILE, written whole or not at all\n"
    "\n"
    "Options:\n"
    "  --port PORT  COM1 to COM4, each reaching the device it reaches in the window\n"
    "               (QUORVEL_COM1 to QUORVEL_COM4, else the choice made with Ports…\n"
    "               in the window, else the system's own), or a device path such as\n"
    "               /dev/ttyUSB0; COM1 when not given. A device that another program\n"
    "               has open is refused, whatever path reaches it\n"
    "  --yes        answers yes: writes although the settings history cannot keep the\n"
    "               block being replaced, writes a start in the past, restores and\n"
    "               applies without asking (without it a question is asked on a terminal, and "
    "elsewhere\n"
    "               nothing is written)\n"
    "  --quiet      no progress lines on standard error\n"
    "  --help       this text\n"
    "  --version    the version\n"
    "\n"
    "Fields that set takes, named as the History page names them (case aside, '_' or '-'\n"
    "for a blank), e.g. quorvel set setting_byte_7=12 \"RS232 data flag=on\":\n";

constexpr char kExitStatus[] =
    "\n"
    "Exit status: 0 done; 1 the instrument refused, a reply was wrong, a settings file\n"
    "was refused, or nothing was written for the reason given; 2 wrong usage; 3 the port\n"
    "cannot be opened.\n"
    "Results go to standard output; progress and the reason for a failure to standard\n"
    "error.\n";

// Words laid out in lines of at most 86 characters.
std::string wrapped(const std::string& words) {
    constexpr size_t kWidth = 86;
    std::string text, line;
    size_t from = 0;
    while (from < words.size()) {
        size_t end = words.find(' ', from);
        if (end == std::string::npos)
            end = words.size();
        const std::string word = words.substr(from, end - from);
        if (!line.empty() && line.size() + 1 + word.size() > kWidth) {
            text += line + "\n";
            line.clear();
        }
        line += (line.empty() ? "" : " ") + word;
        from = end + 1;
    }
    return text + line + "\n";
}

}  // namespace

std::string helpText() {
    std::string text = kCommandsAndOptions;
    std::string shownOnly;
    for (const BlockFieldView& field : blockFieldViews()) {
        if (field.settable()) {
            std::string name = "  " + std::string(field.name);
            name.resize(26, ' ');
            text += name + fieldValueRange(field) + "\n";
        } else {
            shownOnly += (shownOnly.empty() ? "" : ", ") + std::string(field.name);
        }
    }
    return text + wrapped("settings also shows: " + shownOnly + ".") + kExitStatus;
}
