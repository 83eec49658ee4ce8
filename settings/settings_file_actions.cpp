#include "settings/settings_file_actions.h"

#include <QCoreApplication>
#include <string>

#include "feedback/block_reports.h"
#include "feedback/messages.h"
#include "history/settings_file.h"
#include "link/block_read.h"
#include "link/link_state.h"
#include "toolkit/panels/userint.h"
#include "toolkit/platform/calendar.h"

namespace {

constexpr char kApplyTitle[] = "Apply settings file";
constexpr char kFileTypes[] = "*.qvs";
constexpr int kPathSize = 512;

// The file chosen in the file chooser, or nothing when the operator cancelled.
std::string chooseFile(const char* title, const std::string& proposed, int button) {
    char chosen[kPathSize] = {};
    const int choice = FileSelectPopup("", proposed.c_str(), kFileTypes, title, button, 0, 0, 1,
                                       button == VAL_SAVE_BUTTON, chosen);
    if (choice < 0)
        showMessages();
    return choice > 0 ? std::string(chosen) : std::string();
}

std::string proposedName(const std::string& serialNumber) {
    return (serialNumber.empty() ? std::string("instrument") : serialNumber) + " settings.qvs";
}

void say(const std::string& line) {
    addMessageText(line.c_str());
    showMessages();
}

bool save(const std::string& path, SettingsFile file) {
    file.tool = "vaskinterface " + QCoreApplication::applicationVersion().toStdString();
    file.saved = FormatDateTime(ComputerLocalTime());
    clearMessages();
    if (const std::string problem = saveSettingsFile(path, file); !problem.empty()) {
        say("settings file not saved: " + problem);
        return false;
    }
    say("settings of " + file.serialNumber + " saved to " + path);
    return true;
}

std::string question(const std::string& path, const SettingsFile& file, const ApplyPlan& plan) {
    std::string text;
    if (plan.scope == ApplyScope::EverythingButTheClock)
        text = "Apply the settings in " + path + ", saved from this instrument at " + file.saved +
               "?\nEverything but the clock is put back, as a restore from the history does.";
    else
        text = "Apply the settings of " + file.serialNumber + " in " + path + " to " +
               identifiedSerialNumber +
               "?\nOnly the kx, qv and scheduled start settings are taken; calibration, the "
               "clock and the other bytes stay as the instrument holds them.";
    text += " These fields will change:";
    for (const std::string& change : plan.changes) text += "\n" + change;
    return text;
}

}  // namespace

bool saveInstrumentSettings() {
    const std::string path =
        chooseFile("Save settings to file", proposedName(identifiedSerialNumber), VAL_SAVE_BUTTON);
    if (path.empty())
        return false;
    const BlockRead read = readBlock(kSettingsDisplayRead);
    if (!read.ok) {
        reportBlockReadFailure(read, MessageBox::Cleared);
        return false;
    }
    SettingsFile file;
    file.serialNumber = identifiedSerialNumber;
    file.port = portLabel();
    file.from = "the instrument, read when saved";
    file.text.assign(read.text, kBlockTextLength);
    return save(path, file);
}

bool saveKeptSettings(const HistoryEntry& entry) {
    if (!blockTextSound(entry)) {
        clearMessages();
        say("settings file not saved: the kept entry is damaged");
        return false;
    }
    const std::string path =
        chooseFile("Save settings to file", proposedName(entry.serialNumber), VAL_SAVE_BUTTON);
    if (path.empty())
        return false;
    SettingsFile file;
    file.serialNumber = entry.serialNumber;
    file.port = entry.port;
    file.from = "the settings history, kept at " + entry.time + " (" + entry.stage + " " +
                entry.action + ")";
    file.text = entry.text;
    return save(path, file);
}

RestoreOutcome applySettingsFile() {
    const std::string path = chooseFile(kApplyTitle, "", VAL_LOAD_BUTTON);
    if (path.empty())
        return RestoreOutcome::Declined;
    clearMessages();
    const SettingsFileRead file = readSettingsFile(path);
    if (!file.ok) {
        say("settings file not applied: " + settingsFileProblem(path, file) + "; nothing sent");
        return RestoreOutcome::Failed;
    }
    const BlockRead read = readBlock(kRestoreRead);
    if (!read.ok) {
        reportBlockReadFailure(read, MessageBox::Kept);
        return RestoreOutcome::Failed;
    }
    const ApplyPlan plan = planApply(file.file, read.text, identifiedSerialNumber);
    if (!blockWritable(read.text, plan.text.c_str()))
        return RestoreOutcome::Failed;
    if (plan.changes.empty()) {
        MessagePopup(kApplyTitle, "The instrument already holds the settings of " + path +
                                      " that apply to it; nothing was written.");
        return RestoreOutcome::NothingToChange;
    }
    if (ConfirmPopup(kApplyTitle, question(path, file.file, plan)) != 1)
        return RestoreOutcome::Declined;

    return writePlannedText("apply settings file", read.text, plan.text);
}
