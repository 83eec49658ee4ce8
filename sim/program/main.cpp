// quorvel-sim: the simulated Quorvel on a pseudo-terminal, for demos, training and tests.
//
// Prints the terminal's path as its first line on stdout; point the tool (or a link made
// with --link) at it. Fault switches make the instrument misbehave in one way each.
// On exit it reports on stderr how many live records it sent, the settings block it keeps
// (its read form, the clock as it then stands) and how many write commands reached it.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "sim/instrument.h"
#include "sim/program/pty_port.h"
#include "sim/program/server.h"

namespace {

constexpr char kUsage[] =
    "usage: quorvel-sim [options]\n"
    "Serves a simulated Quorvel instrument on a pseudo-terminal; the first line printed is\n"
    "its path. Press Enter (or type b and Enter) to press the instrument's button; type h and\n"
    "Enter to hang up the line (the program then ends).\n"
    "\n"
    "  --link PATH            keep a symbolic link PATH to the terminal (removed on exit)\n"
    "  --baud N               wire rate that paces every character (default 9600)\n"
    "  --rate N               at most N live records a second (default: as fast as the line)\n"
    "  --serial TEXT          serial number, 14 characters (default QV-0000012345)\n"
    "  --level FRACTION       level on the gauge, 0 to 1 (default 0.5)\n"
    "  --no-drift             keep the level steady while streaming\n"
    "  --hang-up-after SECONDS  hang up the line that long after starting, and end\n"
    "faults:\n"
    "  --asleep               answer nothing until the button is pressed\n"
    "  --no-answer            answer nothing at all\n"
    "  --wrong-letter CMD:L   answer command CMD (i, r, w, g, or D for the block) with letter L\n"
    "  --cut N                cut every reply to N characters\n"
    "  --lower-hex            send the block text in lower-case hex\n"
    "  --garbage              send stray characters before every reply\n"
    "  --drop-after SECONDS   go silent that long into a live stream\n"
    "  --no-checksum          send the block text without its two checksum characters\n"
    "  --damage-char N        change the hex digit at position N of the block text in transit\n"
    "  --keep-streaming       ignore the stop pair: a live stream never ends\n"
    "  --drop-char N          lose the first character of live record N on the line\n"
    "  --help                 show this text\n";

struct Settings {
    sim::Options options;
    sim::Faults faults;
    double level = 0.5;
    bool drift = true;
    double hangUpAfter = -1;  // seconds; negative: only on the operator's h
    std::string linkPath;
};

[[noreturn]] void usageError(const std::string& message) {
    std::fprintf(stderr, "quorvel-sim: %s\n%s", message.c_str(), kUsage);
    std::exit(2);
}

double number(const char* option, const char* text) {
    char* end = nullptr;
    const double value = std::strtod(text, &end);
    if (end == text || *end != '\0')
        usageError(std::string("bad number for ") + option);
    return value;
}

Settings parse(int argc, char** argv) {
    Settings s;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        auto value = [&]() -> const char* {
            if (i + 1 >= argc)
                usageError(arg + " needs a value");
            return argv[++i];
        };
        if (arg == "--help" || arg == "-h") {
            std::fputs(kUsage, stdout);
            std::exit(0);
        } else if (arg == "--link") {
            s.linkPath = value();
        } else if (arg == "--baud") {
            s.options.baud = number("--baud", value());
            if (s.options.baud <= 0)
                usageError("--baud must be positive");
        } else if (arg == "--rate") {
            s.options.recordsPerSecond = number("--rate", value());
        } else if (arg == "--serial") {
            s.options.serialNumber = value();
        } else if (arg == "--level") {
            s.level = number("--level", value());
        } else if (arg == "--no-drift") {
            s.drift = false;
        } else if (arg == "--hang-up-after") {
            s.hangUpAfter = number("--hang-up-after", value());
            if (s.hangUpAfter < 0)
                usageError("--hang-up-after must not be negative");
        } else if (arg == "--asleep") {
            s.faults.asleep = true;
        } else if (arg == "--no-answer") {
            s.faults.noAnswer = true;
        } else if (arg == "--wrong-letter") {
            const std::string choice = value();
            if (choice.size() != 3 || choice[1] != ':' || !std::strchr("irwgD", choice[0]))
                usageError("--wrong-letter takes CMD:LETTER, CMD one of i r w g D");
            s.faults.wrongLetterFor = choice[0];
            s.faults.wrongLetter = choice[2];
        } else if (arg == "--cut") {
            s.faults.cutRepliesTo = static_cast<int>(number("--cut", value()));
        } else if (arg == "--lower-hex") {
            s.faults.lowerCaseHex = true;
        } else if (arg == "--garbage") {
            s.faults.garbage = true;
        } else if (arg == "--drop-after") {
            s.faults.dropLineAfter = number("--drop-after", value());
        } else if (arg == "--no-checksum") {
            s.faults.omitBlockChecksum = true;
        } else if (arg == "--damage-char") {
            s.faults.damageBlockCharacter = static_cast<int>(number("--damage-char", value()));
        } else if (arg == "--keep-streaming") {
            s.faults.ignoreStopPair = true;
        } else if (arg == "--drop-char") {
            s.faults.dropCharacterOfRecord = static_cast<int>(number("--drop-char", value()));
        } else {
            usageError("unknown option " + arg);
        }
    }
    return s;
}

}  // namespace

int main(int argc, char** argv) {
    const Settings settings = parse(argc, argv);
    sim::Instrument instrument(settings.options);
    instrument.faults() = settings.faults;
    instrument.setLevel(settings.level);
    if (!settings.drift)
        instrument.setDrift(0);

    PtyPort port;
    if (!port.ok()) {
        std::fprintf(stderr, "quorvel-sim: %s\n", port.error().c_str());
        return 1;
    }
    if (!settings.linkPath.empty() && !port.link(settings.linkPath)) {
        std::fprintf(stderr, "quorvel-sim: %s\n", port.error().c_str());
        return 1;
    }
    std::printf("%s\n", port.slavePath().c_str());
    std::fflush(stdout);
    std::fprintf(stderr, "quorvel-sim: serving at %g baud%s; Enter presses the button\n",
                 settings.options.baud, settings.faults.asleep ? ", asleep" : "");
    const int code = serve(instrument, port, settings.hangUpAfter);
    // For benchmarks and tests that compare it with what reached the other side.
    std::fprintf(stderr, "quorvel-sim: records sent: %d\n", instrument.recordsSent());
    std::fprintf(stderr, "quorvel-sim: settings block: %s\n", instrument.blockText(false).c_str());
    const std::string received = instrument.receivedText();
    std::fprintf(stderr, "quorvel-sim: write commands: %td\n",
                 std::count(received.begin(), received.end(), 'w'));
    return code;
}
