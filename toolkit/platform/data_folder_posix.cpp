// The tool's data folder on POSIX systems: "quorvel" in the shared data location.
#include "toolkit/platform/data_folder.h"

#include <QStandardPaths>

std::string SystemDataFolder() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation).toStdString() +
           "/quorvel";
}
