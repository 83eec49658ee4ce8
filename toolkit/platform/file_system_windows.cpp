// The file system on Windows: file attributes, which look without opening, and the reserved
// device names (NUL, CON, COM1, ...) and the device namespace (\\.\), which name no file.
#include <io.h>
#include <windows.h>

#include <QFileInfo>
#include <QString>
#include <QStringList>

#include "toolkit/platform/file_system.h"

namespace {

bool isReservedDeviceName(const QString& path) {
    const QString base =
        QFileInfo(path).fileName().section(QLatin1Char('.'), 0, 0).trimmed().toUpper();
    static const QStringList kNames = {QStringLiteral("CON"), QStringLiteral("PRN"),
                                       QStringLiteral("AUX"), QStringLiteral("NUL")};
    if (kNames.contains(base))
        return true;
    return base.size() == 4 &&
           (base.startsWith(QLatin1String("COM")) || base.startsWith(QLatin1String("LPT"))) &&
           base[3] >= QLatin1Char('1') && base[3] <= QLatin1Char('9');
}

}  // namespace

PathKind GetPathKind(const char* path) {
    const QString name = QString::fromUtf8(path ? path : "");
    if (name.isEmpty())
        return PathKind::Absent;
    const QString native = QString(name).replace(QLatin1Char('/'), QLatin1Char('\\'));
    if (native.startsWith(QLatin1String("\\\\.\\")))
        return native.mid(4).startsWith(QLatin1String("pipe\\"), Qt::CaseInsensitive)
                   ? PathKind::Fifo
                   : PathKind::CharacterDevice;
    if (isReservedDeviceName(native))
        return PathKind::CharacterDevice;
    const DWORD attributes = ::GetFileAttributesW(reinterpret_cast<LPCWSTR>(native.utf16()));
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return PathKind::Absent;
    if (attributes & FILE_ATTRIBUTE_DIRECTORY)
        return PathKind::Directory;
    if (attributes & FILE_ATTRIBUTE_DEVICE)
        return PathKind::CharacterDevice;
    return PathKind::Regular;
}

int OpenFileLinkCount(std::FILE* stream) {
    if (!stream)
        return -1;
    const HANDLE handle = reinterpret_cast<HANDLE>(::_get_osfhandle(::_fileno(stream)));
    BY_HANDLE_FILE_INFORMATION information{};
    if (handle == INVALID_HANDLE_VALUE || !::GetFileInformationByHandle(handle, &information))
        return -1;
    return static_cast<int>(information.nNumberOfLinks);
}
