#include "cli/settings_commands.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <string>
#include <vector>

#include "cli/invocation.h"
#include "cli/output.h"
#include "cli/settings_file_commands.h"
#include "link/block_fields.h"

namespace {

QJsonValue jsonValue(const BlockFieldView& field, const std::string& shown) {
    switch (field.kind) {
        case FieldKind::Number:
            return std::stod(shown);
        case FieldKind::Flag:
            return shown == "on";
        case FieldKind::Text:
            break;
    }
    return QString::fromStdString(shown);
}

void printJson(const char* text) {
    QJsonObject fields;
    for (const BlockFieldView& field : blockFieldViews())
        fields.insert(QString::fromUtf8(field.name), jsonValue(field, field.show(text)));
    QJsonObject settings;
    settings.insert("serial number", QString::fromStdString(identifiedSerialNumber));
    settings.insert("port", QString::fromStdString(portLabel()));
    settings.insert("fields", fields);
    settings.insert("block text", QString::fromLatin1(text, kBlockTextLength));
    settings.insert("checksum", QString::fromStdString(blockTextChecksumDigits(text)));
    printResult(QJsonDocument(settings).toJson(QJsonDocument::Indented).trimmed().toStdString());
}

void printText(const char* text) {
    printResult(std::string("serial number: ") + identifiedSerialNumber);
    for (const BlockFieldView& field : blockFieldViews())
        printResult(std::string(field.name) + ": " + field.show(text));
    printResult("block text: " + std::string(text, kBlockTextLength));
    printResult("checksum: " + blockTextChecksumDigits(text));
}

struct Change {
    const BlockFieldView* field;
    int value;
};

// FIELD=VALUE arguments, each checked before anything is sent.
bool parseChanges(const std::vector<std::string>& arguments, std::vector<Change>& changes,
                  std::string& problem) {
    for (const std::string& argument : arguments) {
        const size_t equals = argument.find('=');
        if (equals == std::string::npos) {
            problem = "\"" + argument + "\" is not FIELD=VALUE";
            return false;
        }
        const std::string name = argument.substr(0, equals);
        const BlockFieldView* field = findBlockField(name);
        if (!field) {
            problem = "no field is called \"" + name + "\"";
            return false;
        }
        if (!field->settable()) {
            problem = "\"" + std::string(field->name) + "\" is not set by name here";
            return false;
        }
        const auto value = parseFieldValue(*field, argument.substr(equals + 1));
        if (!value) {
            problem = std::string(field->name) + " must be " + fieldValueRange(*field) +
                      ", not \"" + argument.substr(equals + 1) + "\"";
            return false;
        }
        for (const Change& earlier : changes)
            if (earlier.field == field) {
                problem = std::string(field->name) + " is given twice";
                return false;
            }
        changes.push_back({field, *value});
    }
    if (changes.empty()) {
        problem = "set needs at least one FIELD=VALUE";
        return false;
    }
    return true;
}

}  // namespace

int runIdentify(const Invocation& invocation) {
    if (const int status = connectInstrument(invocation.port); status != kExitDone)
        return status;
    printResult(identifiedSerialNumber);
    return kExitDone;
}

int runSettings(const Invocation& invocation) {
    if (invocation.save && invocation.json)
        return usageError("settings takes --json or --save, not both");
    BlockRead read;
    if (const int status = connectAndRead(invocation.port, kSettingsDisplayRead, read);
        status != kExitDone)
        return status;
    if (invocation.save)
        return saveSettingsOf(read, *invocation.save);
    if (invocation.json)
        printJson(read.text);
    else
        printText(read.text);
    return kExitDone;
}

int runSet(const Invocation& invocation) {
    std::vector<Change> changes;
    std::string problem;
    if (!parseChanges(invocation.arguments, changes, problem))
        return usageError(problem);
    BlockRead read;
    if (const int status = connectAndRead(invocation.port, kCommandWriteRead, read);
        status != kExitDone)
        return status;
    for (const Change& change : changes) putFieldValue(ioBuffer, *change.field, change.value);
    const std::vector<std::string> changed = changedFields(read.text, ioBuffer);
    if (changed.empty()) {
        printResult("the instrument holds these values already; nothing written");
        return kExitDone;
    }
    for (const std::string& line : changed) printResult(line);
    if (invocation.dryRun) {
        printResult("dry run: nothing written");
        return kExitDone;
    }
    finishBlockText();
    return writeFinishedBlock("quorvel set", read, Reread::AfterStepDelay, {invocation.yes});
}
