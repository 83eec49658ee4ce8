// End to end: the command line in its own words. A wrong argument gets a usage line that
// says what is wrong, exit status 2 and nothing sent; a failure names the command line's
// options, never the window's controls, and every error code is followed by its meaning.
#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <string>
#include <utility>
#include <vector>

#include "tests/quorvel_process.h"

namespace {

const std::string kTryHelp = "Try 'quorvel --help' for the commands and options.\n";

TEST(QuorvelUsage, AWrongArgumentIsNamedWithWhatIsWrongAndNothingIsSent) {
    SimProcess sim;
    ASSERT_TRUE(sim.started());
    const QString port = QString::fromStdString(sim.path());
    const std::string seconds =
        "--seconds needs a number of seconds above 0 and at most 31622400 (366 days), not ";
    const std::string reconnectFor =
        "--reconnect-for needs a time above 0 and at most 366 days, such as 90s, 15m, 2h or 1d, "
        "not ";
    const std::vector<std::pair<QStringList, std::string>> cases = {
        {{"history", "show", "-1"},
         "history show takes an entry number from 1 (the newest), not \"-1\""},
        {{"history", "restore", "0"},
         "history restore takes an entry number from 1 (the newest), not \"0\""},
        {{"identify", "-1"}, "identify takes no arguments: \"-1\" is one too many"},
        {{"apply", "a.qvs", "b.qvs"}, "apply takes one FILE: \"b.qvs\" is one too many"},
        {{"set"}, "set needs FIELD=VALUE..."},
        {{"--port", "COM2", "identify"}, "--port is given more than once; give it once"},
        {{"live", "--seconds", "5", "--seconds", "9"},
         "--seconds is given more than once; give it once"},
        {{"live", "--seconds", "inf"}, seconds + "\"inf\""},
        {{"live", "--seconds", "1e23"}, seconds + "\"1e23\""},
        {{"live", "--seconds", "-5"}, seconds + "\"-5\""},
        {{"live", "--seconds", "0"}, seconds + "\"0\""},
        {{"live", "--reconnect-for", "15x"}, reconnectFor + "\"15x\""},
        {{"live", "--reconnect-for", "0m"}, reconnectFor + "\"0m\""},
        {{"live", "--reconnect-for", "400d"}, reconnectFor + "\"400d\""},
        {{"live", "--no-reconnect", "--reconnect-for", "5m"},
         "--no-reconnect and --reconnect-for contradict each other: give one"},
        {{"identify", "--no-reconnect"}, "identify does not take --no-reconnect"},
        {{"live", "--rotate", "weekly", "--csv", "run.csv"},
         "--rotate needs hourly or daily, not \"weekly\""},
        {{"live", "--rotate", "daily"},
         "--rotate needs --csv FILE or --raw FILE: it starts new files, and standard output "
         "cannot be rotated"},
        {{"live", "--rotate", "hourly", "--csv", "-", "--raw", "run.log"},
         "--csv - is standard output, a stream that cannot be rotated: give --csv FILE with "
         "--rotate"},
        {{"live", "--rotate", "hourly", "--raw", "-"},
         "--raw - is standard output, a stream that cannot be rotated: give --raw FILE with "
         "--rotate"},
        {{"identify", "--rotate", "daily"}, "identify does not take --rotate"},
    };
    for (const auto& [arguments, reason] : cases) {
        Quorvel quorvel;
        const Outcome run = quorvel.run(QStringList{"--port", port} + arguments);
        EXPECT_EQ(run.status, 2) << arguments.join(' ').toStdString();
        EXPECT_EQ(run.err, "quorvel: " + reason + "\n" + kTryHelp);
    }
    EXPECT_EQ(reported(sim, "received"), "");
}

TEST(QuorvelWords, APathThatIsNoDeviceIsExplainedWithTheOptionThatNamesOne) {
    QTemporaryDir folder;
    Quorvel quorvel;
    const Outcome run = quorvel.run({"--port", folder.path(), "identify"});
    EXPECT_EQ(run.status, 3);
    EXPECT_EQ(run.err, "quorvel: " + folder.path().toStdString() +
                           " cannot be opened: error code = -6\n"
                           "The port cannot be opened: it reaches a directory, not a serial "
                           "device. Give --port the serial device's path (quorvel ports lists "
                           "the devices present).\n");
}

TEST(QuorvelWords, SilenceAndALostLineAreSaidInWords) {
    SimProcess silent({"--no-answer"});
    SimProcess hangingUp({"--hang-up-after", "6"});
    ASSERT_TRUE(silent.started() && hangingUp.started());
    Quorvel asking, streaming;
    asking.start({"--quiet", "--port", QString::fromStdString(silent.path()), "identify"});
    streaming.start(
        {"--quiet", "--port", QString::fromStdString(hangingUp.path()), "live", "--no-reconnect"});

    const Outcome unanswered = asking.finish();
    EXPECT_EQ(unanswered.status, 1);
    EXPECT_EQ(
        unanswered.err.substr(0, unanswered.err.find('\n')),
        "quorvel: no instrument identified itself on " + silent.path() + ": nothing came back");
    const Outcome lost = streaming.finish();
    EXPECT_EQ(lost.status, 1);
    EXPECT_NE(lost.err.find("quorvel: the line was lost during the run: error code = -11\n"
                            "The line was lost: check the cable or the adapter, then run the "
                            "command again.\n"),
              std::string::npos)
        << lost.err;
}

}  // namespace
