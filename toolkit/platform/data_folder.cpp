#include "toolkit/platform/data_folder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QSettings>

namespace {

std::string portableFolder;  // empty unless a "portable" file was found

// Applied as the application object is made, before either program reads a setting or
// the history.
void followRuleOfThisProgram() {
    FollowPortableRule(QCoreApplication::applicationDirPath().toStdString());
}

}  // namespace

Q_COREAPP_STARTUP_FUNCTION(followRuleOfThisProgram)

std::string ToolDataFolder() {
    return portableFolder.empty() ? SystemDataFolder() : portableFolder;
}

bool PortableData() {
    return !portableFolder.empty();
}

bool FollowPortableRule(const std::string& programFolder) {
    const QDir program(QString::fromStdString(programFolder));
    const bool asked = !programFolder.empty() &&
                       (QFileInfo(program.filePath(QStringLiteral("portable"))).isFile() ||
                        QFileInfo(program.filePath(QStringLiteral("portable.txt"))).isFile());
    portableFolder.clear();
    if (!asked)
        return false;
    const QString data = QDir::cleanPath(program.absoluteFilePath(QStringLiteral("data")));
    portableFolder = data.toStdString();
    // QSettings() and the port choices both take the default format: an INI file under
    // the data folder instead of the registry or ~/.config.
    QSettings::setDefaultFormat(QSettings::IniFormat);
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, data);
    return true;
}
