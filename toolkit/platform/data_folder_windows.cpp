// The tool's data folder on Windows: the application's roaming data folder under %APPDATA%,
// which follows the user from one computer of a domain to another.
#include "toolkit/platform/data_folder.h"

#include <QStandardPaths>

std::string SystemDataFolder() {
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation).toStdString();
}
