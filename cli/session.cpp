#include "cli/session.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <iostream>

#include "cli/console.h"
#include "cli/invocation.h"
#include "cli/output.h"
#include "history/write_verdict.h"
#include "link/identify.h"
#include "link/reasons.h"
#include "toolkit/serial/error_explanations.h"
#include "toolkit/serial/rs232.h"

namespace {

// A failed serial call: the code and, from the window's table, what it means.
void printErrorCode(const std::string& what, int status) {
    printProblem(what + ": " + errorCodeText(status));
    printExplanation(ComErrorExplanation(status, LastComOpenFailure(comPort)));
}

void printAck(const std::string& what, const AckFrame& ack) {
    if (ack.status < 0)
        printErrorCode(what, ack.status);
    else
        printProblem(what + " " + ackText(ack));
}

}  // namespace

std::optional<PortChoice> parsePortChoice(const std::string& text) {
    if (text.empty())
        return std::nullopt;
    PortChoice port;
    const bool comName = text.size() == 4 && std::toupper(text[0]) == 'C' &&
                         std::toupper(text[1]) == 'O' && std::toupper(text[2]) == 'M' &&
                         text[3] >= '0' + kFirstComPort && text[3] <= '0' + kLastComPort;
    if (comName)
        port.number = text[3] - '0';
    else
        port.device = text;
    return port;
}

std::string portDescription(const PortChoice& port) {
    if (!port.device.empty())
        return port.device;
    const std::string name = "COM" + std::to_string(port.number);
    const std::string device = DeviceForComName(name);
    return device == name ? name : name + " (" + device + ")";
}

int connectInstrument(const PortChoice& port) {
    comPort = port.number;
    std::snprintf(deviceName, sizeof deviceName, "COM%d", port.number);
    linkDevice = port.device;
    const std::string where = portDescription(port);
    if (openLinkPort(port.device.empty() ? deviceName : port.device.c_str()) < 0) {
        printErrorCode(where + " cannot be opened", comStatus);
        return kExitPortNotOpen;
    }
    printProgress("Waking the instrument on " + where + "…");
    const Identification id = identifyInstrumentOnLine();
    if (!id.identified) {
        printAck("no instrument identified itself on " + where + "; it answered", id.ack);
        printExplanation(
            "Press the instrument's button (it may be sleeping), or reconnect its power or "
            "check the serial cable, then try again.");
        return kExitRefused;
    }
    printProgress("Quorvel " + id.serialNumber + " on " + where);
    return kExitDone;
}

bool readBlockOrSay(const BlockReadRecipe& recipe, BlockRead& read) {
    read = readBlock(recipe);
    if (read.ok)
        return true;
    if (read.letterRefused)
        printAck("the instrument refused to send its settings: it answered", read.ack);
    else if (read.status < 0)
        printErrorCode("the settings could not be read", read.status);
    else
        printProblem(blockReadFailureText(read) + "; nothing written");
    return false;
}

int connectAndRead(const PortChoice& port, const BlockReadRecipe& recipe, BlockRead& read) {
    if (const int status = connectInstrument(port); status != kExitDone)
        return status;
    printProgress("Reading the settings…");
    return readBlockOrSay(recipe, read) ? kExitDone : kExitRefused;
}

int writeFinishedBlock(const char* action, const BlockRead& read, Reread reread,
                       const WriteConsent& consent) {
    printProgress("Writing the settings…");
    const auto goAhead = [&](const std::string& reason) {
        printProblem("the settings history cannot keep the block being replaced (" + reason + ")");
        return confirmed("Write anyway?", consent.yes);
    };
    const KeptWrite write = writeKept(action, read.text, reread, goAhead);
    if (!write.after.kept)
        printProblem("settings history not saved: " + write.after.reason);
    const WriteVerdict verdict = writeVerdict(write);
    if (verdict.confirmed) {
        printResult(verdict.words);
        return kExitDone;
    }
    if (!verdict.words.empty())
        printProblem(verdict.words);
    if (write.result != WriteResult::NotSent && write.ack.status < 0)
        printExplanation(ComErrorExplanation(write.ack.status, LastComOpenFailure(comPort)));
    return kExitRefused;
}

int writePlannedChanges(const std::vector<std::string>& changes, const std::string& text,
                        const PlannedWrite& write, const BlockRead& read,
                        const Invocation& invocation) {
    for (const std::string& change : changes) printResult("  " + change);
    if (invocation.dryRun) {
        printResult("dry run: nothing written");
        return kExitDone;
    }
    if (!confirmed(std::string(write.question), invocation.yes))
        return kExitRefused;
    std::copy(text.begin(), text.end(), ioBuffer);
    finishBlockText();
    return writeFinishedBlock(write.action, read, Reread::AfterStepDelay, {invocation.yes});
}

bool confirmed(const std::string& question, bool yes) {
    if (yes)
        return true;
    if (!StandardInputIsTerminal()) {
        printProblem(question + " Not answered: nothing written; --yes answers yes.");
        return false;
    }
    std::fputs((question + " [y/N] ").c_str(), stderr);
    std::string answer;
    if (!std::getline(std::cin, answer))
        return false;
    return answer == "y" || answer == "Y" || answer == "yes" || answer == "Yes";
}
