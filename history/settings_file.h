// Settings files: one instrument's settings block kept in a text file that people can read
// and compare, and what applying such a file to a connected instrument would write.
//
// A file reads, line by line ("NAME: VALUE"; blank lines and lines starting with '#' are
// passed over):
//   format: quorvel-settings/1
//   tool: quorvel 1.0
//   saved: 2026-12-08 14:05:31          (this computer's time)
//   serial number: QV-0000012345
//   port: COM1 (/dev/ttyUSB0)
//   from: the instrument, read when saved   (or the history entry it was saved from)
//   byte 0: 1B                           (every field by its History page name)
//   ...
//   block text: 1B,DF,00,...              (the 129 characters of the read form)
//   checksum: 77                          (the block's checksum, two hex digits)
//
// The block text is what counts; the field lines are there to be read and must agree with
// it, so a file edited by hand in one place only is refused, as is one whose checksum does
// not match its text. No traffic and no widgets here.
#pragma once

#include <string>
#include <string_view>

#include "history/restore.h"

inline constexpr char kSettingsFileFormat[] = "quorvel-settings/1";
// Larger files are refused unread: a settings file is about two kilobytes.
inline constexpr long long kSettingsFileMostBytes = 64 * 1024;

struct SettingsFile {
    std::string tool;          // the program and version that saved it
    std::string saved;         // when, on the computer that saved it
    std::string serialNumber;  // of the instrument the settings came from
    std::string port;
    std::string from;  // "the instrument, read when saved" or the kept entry it came from
    std::string text;  // the block text, read form (129 characters)
};

// The file's whole text, with every field of the block by name.
std::string formatSettingsFile(const SettingsFile& file);
// Writes the file whole or not at all (a file of that name stays as it was on a failure).
// Empty when it was written; else why not ("cannot write <path>: <system text>").
std::string saveSettingsFile(const std::string& path, const SettingsFile& file);

struct SettingsFileRead {
    bool ok = false;
    SettingsFile file;
    long long line = 0;  // the line a refusal is about; 0 when the file could not be read
    std::string reason;  // why it is refused
};
// The file's text checked line by line.
SettingsFileRead parseSettingsFile(std::string_view content);
// The file at `path`: only a regular file of at most kSettingsFileMostBytes is read.
SettingsFileRead readSettingsFile(const std::string& path);
// "<path>, line 7: <reason>", or "cannot read <path>: <reason>" for a file not read.
std::string settingsFileProblem(const std::string& path, const SettingsFileRead& read);

// What applying a file takes from it: settings from another instrument bring only what the
// kx, qv and scheduled start panels write; the same instrument's bring back everything but
// the running clock, as a restore from its history does (history/restore.h).
using ApplyPlan = RestorePlan;
// What applying `file` over the block `now` (read form, as just read) of the instrument
// with `serialNumber` would write and change.
ApplyPlan planApply(const SettingsFile& file, const char* now, const std::string& serialNumber);
