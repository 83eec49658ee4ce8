// Finding a resource file by its bare name and keeping each parsed file in memory.
//
// Panels are loaded on every navigation, so a file is parsed once per path and version:
// a reload only checks the file's size and modification time.
#include "toolkit/panels/resource_file.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <map>

#include "toolkit/panels/resource_parse.h"
#include "toolkit/panels/types.h"

#ifndef QUORVEL_DATA_DIR
#define QUORVEL_DATA_DIR ""
#endif
#ifndef QUORVEL_SOURCE_UI_DIR
#define QUORVEL_SOURCE_UI_DIR ""
#endif
#ifndef QUORVEL_BUILD_DIR
#define QUORVEL_BUILD_DIR ""
#endif

namespace {

struct CachedFile {
    QDateTime modified;
    qint64 size = -1;
    std::shared_ptr<const ResourceFile> file;
};

std::map<QString, CachedFile>& cache() {
    static std::map<QString, CachedFile> files;
    return files;
}

// Where each requested name was last found, for tests that check the lookup.
std::map<std::string, std::string> resolvedPaths;

// Whether `folder` is the build tree or lies inside it, links resolved.
bool insideBuildTree(const QString& folder) {
    const QString tree = QDir(QString::fromLocal8Bit(QUORVEL_BUILD_DIR)).canonicalPath();
    const QString at = QDir(folder).canonicalPath();
    return !tree.isEmpty() && !at.isEmpty() &&
           (at == tree || at.startsWith(tree + QLatin1Char('/')));
}

}  // namespace

QStringList resourceFileCandidates(const QString& name, const QString& programFolder) {
    QStringList candidates;
    const QDir program(programFolder);
    candidates << program.filePath(name);
    if (program.dirName() == QLatin1String("bin"))
        candidates << program.filePath(QStringLiteral("../share/quorvel/") + name);
    if (*QUORVEL_DATA_DIR)
        candidates << QDir(QString::fromLocal8Bit(QUORVEL_DATA_DIR)).filePath(name);
    if (*QUORVEL_SOURCE_UI_DIR && insideBuildTree(programFolder))
        candidates << QDir(QString::fromLocal8Bit(QUORVEL_SOURCE_UI_DIR)).filePath(name);
    return candidates;
}

QString resolveResourcePath(const char* name, ResourceError& error) {
    const QString requested = QString::fromLocal8Bit(name ? name : "");
    QStringList candidates;
    const QString override = qEnvironmentVariable("QUORVEL_UIR");
    if (requested.contains(QLatin1Char('/')) || requested.contains(QLatin1Char('\\'))) {
        candidates << requested;
    } else if (!override.isEmpty()) {
        candidates << override;
    } else if (!requested.isEmpty() && QCoreApplication::instance()) {
        candidates = resourceFileCandidates(requested, QCoreApplication::applicationDirPath());
    }
    for (const auto& path : candidates) {
        if (QFileInfo(path).isFile()) {
            const QString found = QFileInfo(path).absoluteFilePath();
            resolvedPaths[name ? name : ""] = found.toStdString();
            return found;
        }
    }
    error.code = UIE_ResourceFileMissing;
    error.message =
        QStringLiteral("resource file \"%1\" not found (looked for: %2)")
            .arg(requested, candidates.isEmpty() ? QStringLiteral("nothing")
                                                 : candidates.join(QStringLiteral(", ")))
            .toStdString();
    return {};
}

std::shared_ptr<const ResourceFile> loadResourceFile(const QString& path, ResourceError& error) {
    const QFileInfo info(path);
    CachedFile& entry = cache()[path];
    if (entry.file && entry.modified == info.lastModified() && entry.size == info.size())
        return entry.file;
    // Our panels take a few kilobytes; a far larger file is not a panel file.
    constexpr qint64 kLargestFile = 1 << 20;
    if (info.size() > kLargestFile) {
        error.code = UIE_ResourceFileMalformed;
        error.message =
            QStringLiteral("%1: is larger than 1 MB, not a panel file").arg(path).toStdString();
        cache().erase(path);
        return nullptr;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        error.code = UIE_ResourceFileMissing;
        error.message =
            QStringLiteral("%1: cannot be read (%2)").arg(path, file.errorString()).toStdString();
        return nullptr;
    }
    auto parsed = parseResourceText(file.readAll(), path, error);
    if (parsed)
        entry = {info.lastModified(), info.size(), parsed};
    else
        cache().erase(path);
    return parsed;
}

std::string lastResolvedPath(const char* name) {
    const auto it = resolvedPaths.find(name ? name : "");
    return it == resolvedPaths.end() ? std::string() : it->second;
}
