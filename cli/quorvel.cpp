#include "cli/quorvel.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QStringList>
#include <array>
#include <cmath>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "cli/commands.h"
#include "cli/help_text.h"
#include "cli/invocation.h"
#include "cli/output.h"

namespace {

struct CommandLineOptions {
    QCommandLineOption port{"port", "", "PORT"};
    QCommandLineOption json{"json"};
    QCommandLineOption dryRun{"dry-run"};
    QCommandLineOption yes{"yes"};
    QCommandLineOption set{"set", "", "TIME"};
    QCommandLineOption off{"off"};
    QCommandLineOption seconds{"seconds", "", "N"};
    QCommandLineOption raw{"raw", "", "FILE"};
    QCommandLineOption csv{"csv", "", "FILE"};
    QCommandLineOption save{"save", "", "FILE"};
    QCommandLineOption from{"from", "", "T"};
    QCommandLineOption to{"to", "", "T"};
    QCommandLineOption length{"length", "", "METRES"};
    QCommandLineOption since{"since", "", "TIME"};
    QCommandLineOption out{"out", "", "FILE"};
    QCommandLineOption noReconnect{"no-reconnect"};
    QCommandLineOption reconnectFor{"reconnect-for", "", "DURATION"};
    QCommandLineOption rotate{"rotate", "", "hourly|daily"};
    QCommandLineOption quiet{"quiet"};
    QCommandLineOption help{QStringList{"h", "help"}};
    QCommandLineOption version{"version"};
};

std::optional<std::string> valueOf(const QCommandLineParser& parser, const QCommandLineOption& o) {
    if (!parser.isSet(o))
        return std::nullopt;
    return parser.value(o).toStdString();
}

// The options given that `command` does not take, as "--json" for the first; empty if none.
std::string optionNotTaken(const QCommandLineParser& parser, const CommandLineOptions& o,
                           const Command& command) {
    const struct {
        const QCommandLineOption& option;
        unsigned bit;
    } kinds[] = {{o.json, kJsonOption},
                 {o.dryRun, kDryRunOption},
                 {o.yes, kYesOption},
                 {o.set, kSetOption},
                 {o.off, kOffOption},
                 {o.seconds, kSecondsOption},
                 {o.raw, kRawOption},
                 {o.csv, kCsvOption},
                 {o.save, kSaveOption},
                 {o.from, kFromOption},
                 {o.to, kToOption},
                 {o.length, kLengthOption},
                 {o.since, kSinceOption},
                 {o.out, kOutOption},
                 {o.noReconnect, kNoReconnectOption},
                 {o.reconnectFor, kReconnectForOption},
                 {o.rotate, kRotateOption}};
    for (const auto& kind : kinds)
        if (parser.isSet(kind.option) && !(command.options & kind.bit))
            return "--" + kind.option.names().first().toStdString();
    return {};
}

std::array<const QCommandLineOption*, 13> optionsWithValues(const CommandLineOptions& o) {
    return {&o.port, &o.set,    &o.seconds, &o.raw, &o.csv,          &o.save,  &o.from,
            &o.to,   &o.length, &o.since,   &o.out, &o.reconnectFor, &o.rotate};
}

// "90", "90s", "15m", "2h", "1d": seconds, or a number of seconds, minutes, hours or days.
std::optional<double> parseDuration(const QString& text) {
    static const struct {
        QChar unit;
        double seconds;
    } kUnits[] = {{u's', 1}, {u'm', 60}, {u'h', 3600}, {u'd', 86400}};
    QString number = text.trimmed();
    double scale = 1;
    for (const auto& u : kUnits)
        if (number.endsWith(u.unit)) {
            number.chop(1);
            scale = u.seconds;
            break;
        }
    bool ok = false;
    const double value = number.toDouble(&ok);
    if (!ok || !std::isfinite(value) || !(value > 0))
        return std::nullopt;
    return value * scale;
}

// QCommandLineParser reads "-1" as an option named "1". Each argument that is a number
// below zero, and no option's value, is taken out before parsing and put back afterwards
// where it stood among the command's arguments, so that the command says what is wrong.
struct NegativeNumber {
    qsizetype position;  // among the positional arguments
    QString text;
};

bool isNegativeNumber(const QString& argument) {
    return argument.size() > 1 && argument[0] == u'-' &&
           (argument[1].isDigit() || argument[1] == u'.');
}

QStringList withoutNegativeNumbers(const QStringList& arguments, const CommandLineOptions& o,
                                   std::vector<NegativeNumber>& taken) {
    const auto takesValue = [&](const QString& argument) {
        for (const QCommandLineOption* option : optionsWithValues(o))
            if (argument == "--" + option->names().first())
                return true;
        return false;
    };
    QStringList kept = arguments.mid(0, 1);  // the program's name
    qsizetype positional = 0;
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString& argument = arguments[i];
        if (argument == "--") {
            kept.append(arguments.mid(i));  // all positional: the parser takes them as they are
            break;
        }
        if (takesValue(argument) && i + 1 < arguments.size()) {
            kept << argument << arguments[++i];
        } else if (isNegativeNumber(argument)) {
            taken.push_back({positional++, argument});
        } else {
            kept << argument;
            if (!argument.startsWith(u'-'))
                ++positional;
        }
    }
    return kept;
}

// The first option with a value given more than once ("--port"), whose last value would
// silently win; or nothing. A switch given twice says the same thing twice.
std::optional<std::string> repeatedOption(const QCommandLineParser& parser,
                                          const CommandLineOptions& o) {
    for (const QCommandLineOption* option : optionsWithValues(o))
        if (parser.values(*option).size() > 1)
            return "--" + option->names().first().toStdString();
    return std::nullopt;
}

// Why the command's arguments are too few or too many, or nothing when they fit.
std::optional<std::string> argumentsProblem(const Command& command,
                                            const std::vector<std::string>& arguments) {
    const int count = static_cast<int>(arguments.size());
    const std::string name = command.name;
    if (count < command.leastArguments)
        return name + " needs " + command.arguments;
    if (command.mostArguments < 0 || count <= command.mostArguments)
        return std::nullopt;
    return name + " takes " +
           (command.mostArguments == 0 ? std::string("no arguments") : command.arguments) + ": \"" +
           arguments[static_cast<size_t>(command.mostArguments)] + "\" is one too many";
}

// Seconds that a run may last: finite, above 0 and at most a leap year.
constexpr double kMostSeconds = 366.0 * 24 * 3600;

const Command* commandNamed(const std::string& name) {
    for (const Command& command : commands())
        if (name == command.name)
            return &command;
    return nullptr;
}

int run(const QStringList& arguments) {
    QCommandLineParser parser;
    CommandLineOptions o;
    parser.addOptions({o.port,    o.json,  o.dryRun, o.yes,         o.set,          o.off,
                       o.seconds, o.raw,   o.csv,    o.save,        o.from,         o.to,
                       o.length,  o.since, o.out,    o.noReconnect, o.reconnectFor, o.rotate,
                       o.quiet,   o.help,  o.version});
    std::vector<NegativeNumber> negatives;
    if (!parser.parse(withoutNegativeNumbers(arguments, o, negatives)))
        return usageError(parser.errorText().toStdString());
    if (const auto repeated = repeatedOption(parser, o))
        return usageError(*repeated + " is given more than once; give it once");
    if (parser.isSet(o.help)) {
        std::fputs(helpText().c_str(), stdout);
        return kExitDone;
    }
    if (parser.isSet(o.version)) {
        printResult("quorvel " + QCoreApplication::applicationVersion().toStdString());
        return kExitDone;
    }
    setQuiet(parser.isSet(o.quiet));
    QStringList positional = parser.positionalArguments();
    for (const NegativeNumber& n : negatives) positional.insert(n.position, n.text);
    if (positional.isEmpty())
        return usageError("a command is needed");
    Invocation invocation;
    invocation.command = positional.first().toStdString();
    const Command* command = commandNamed(invocation.command);
    if (!command)
        return usageError("no command is called \"" + invocation.command + "\"");
    for (qsizetype i = 1; i < positional.size(); ++i)
        invocation.arguments.push_back(positional[i].toStdString());
    if (const auto problem = argumentsProblem(*command, invocation.arguments))
        return usageError(*problem);
    if (const std::string option = optionNotTaken(parser, o, *command); !option.empty())
        return usageError(invocation.command + " does not take " + option);

    const auto port =
        parsePortChoice(parser.isSet(o.port) ? parser.value(o.port).toStdString() : "COM1");
    if (!port)
        return usageError("--port needs COM1 to COM4 or a device path");
    invocation.port = *port;
    invocation.json = parser.isSet(o.json);
    invocation.dryRun = parser.isSet(o.dryRun);
    invocation.yes = parser.isSet(o.yes);
    invocation.off = parser.isSet(o.off);
    invocation.set = valueOf(parser, o.set);
    invocation.raw = valueOf(parser, o.raw);
    invocation.csv = valueOf(parser, o.csv);
    invocation.save = valueOf(parser, o.save);
    invocation.from = valueOf(parser, o.from);
    invocation.to = valueOf(parser, o.to);
    invocation.since = valueOf(parser, o.since);
    invocation.out = valueOf(parser, o.out);
    if (parser.isSet(o.length)) {
        bool number = false;
        const double metres = parser.value(o.length).toDouble(&number);
        if (!number || !(metres >= 0.1 && metres <= 25.5))
            return usageError("--length needs a gauge length in metres from 0.1 to 25.5");
        invocation.length = metres;
    }
    if (parser.isSet(o.seconds)) {
        bool number = false;
        const double seconds = parser.value(o.seconds).toDouble(&number);
        if (!number || !std::isfinite(seconds) || !(seconds > 0) || seconds > kMostSeconds)
            return usageError("--seconds needs a number of seconds above 0 and at most " +
                              std::to_string(static_cast<long>(kMostSeconds)) +
                              " (366 days), not \"" + parser.value(o.seconds).toStdString() + "\"");
        invocation.seconds = seconds;
    }
    invocation.noReconnect = parser.isSet(o.noReconnect);
    if (parser.isSet(o.reconnectFor)) {
        if (invocation.noReconnect)
            return usageError("--no-reconnect and --reconnect-for contradict each other: give one");
        const auto seconds = parseDuration(parser.value(o.reconnectFor));
        if (!seconds || *seconds > kMostSeconds)
            return usageError(
                "--reconnect-for needs a time above 0 and at most 366 days, such as 90s, 15m, "
                "2h or 1d, not \"" +
                parser.value(o.reconnectFor).toStdString() + "\"");
        invocation.reconnectFor = *seconds;
    }
    if (parser.isSet(o.rotate)) {
        const std::string every = parser.value(o.rotate).toStdString();
        const auto rotation = parseLiveRotation(every);
        if (!rotation)
            return usageError("--rotate needs hourly or daily, not \"" + every + "\"");
        invocation.rotate = *rotation;
    }
    return command->run(invocation);
}

}  // namespace

int quorvelMain(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    // The window's names: the settings history and the port choices are the same for both.
    QCoreApplication::setOrganizationName(QStringLiteral("Quorvel"));
    QCoreApplication::setApplicationName(QStringLiteral("Quorvel"));
    QCoreApplication::setApplicationVersion(QStringLiteral(QUORVEL_VERSION));
    return run(QCoreApplication::arguments());
}
