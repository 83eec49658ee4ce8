// The device lock on Windows: a named file mapping of the session for each COM port, which
// the first program creates and fills with its process id and name; a second program finds
// it there, is refused, and reads who holds the port.
#include "toolkit/serial/device_lock.h"

#include <windows.h>

#include <QFileInfo>
#include <QString>

#include "toolkit/serial/serial_line.h"

namespace {

struct HolderRecord {
    DWORD pid;
    wchar_t program[128];
};

// One name per port, however it is spelt ("com1", "COM1", "\\.\COM1"); an object's name
// takes no backslash after its namespace.
std::wstring objectName(const std::string& device) {
    QString path = QString::fromStdString(device).toUpper();
    if (!path.contains(QLatin1Char('\\')) && !path.contains(QLatin1Char('/')))
        path.prepend(QStringLiteral("\\\\.\\"));
    path.replace(QLatin1Char('\\'), QLatin1Char('/'));
    return (QStringLiteral("Local\\Quorvel serial device ") + path).toStdWString();
}

void readHolder(HANDLE mapping, OpenError& error) {
    const auto* record = static_cast<const HolderRecord*>(
        MapViewOfFile(mapping, FILE_MAP_READ, 0, 0, sizeof(HolderRecord)));
    if (!record)
        return;
    const HolderRecord held = *record;
    UnmapViewOfFile(record);
    if (held.pid == 0)  // the holder is still filling it in
        return;
    const QString program = QString::fromWCharArray(
        held.program, static_cast<qsizetype>(wcsnlen(held.program, std::size(held.program))));
    error.holder.here = held.pid == GetCurrentProcessId();
    error.holder.program = program.toStdString() + " (process " +
                           std::to_string(static_cast<unsigned long>(held.pid)) + ")";
}

void writeHolder(HANDLE mapping) {
    auto* record = static_cast<HolderRecord*>(
        MapViewOfFile(mapping, FILE_MAP_WRITE, 0, 0, sizeof(HolderRecord)));
    if (!record)
        return;
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    const std::wstring name = QFileInfo(QString::fromWCharArray(path)).fileName().toStdWString();
    record->program[name.copy(record->program, std::size(record->program) - 1)] = L'\0';
    record->pid = GetCurrentProcessId();
    UnmapViewOfFile(record);
}

}  // namespace

std::string resolvedDevicePath(const std::string& path) {
    return path;
}

DeviceLock::~DeviceLock() {
    if (held_ != -1)
        CloseHandle(reinterpret_cast<HANDLE>(held_));
}

bool DeviceLock::take(const std::string& device, OpenError& error) {
    const HANDLE mapping = CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0,
                                              sizeof(HolderRecord), objectName(device).c_str());
    if (!mapping)
        return true;  // no lock to be had here: the open goes on without it
    if (GetLastError() == ERROR_ALREADY_EXISTS) {
        readHolder(mapping, error);
        CloseHandle(mapping);
        error.reason = ComOpenFailure::InUse;
        return false;
    }
    writeHolder(mapping);
    held_ = reinterpret_cast<std::intptr_t>(mapping);
    return true;
}

void findDeviceHolder(const std::string& device, OpenError& error) {
    const HANDLE mapping = OpenFileMappingW(FILE_MAP_READ, FALSE, objectName(device).c_str());
    if (!mapping)
        return;
    readHolder(mapping, error);
    CloseHandle(mapping);
}
