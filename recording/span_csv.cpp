#include "recording/span_csv.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <cstdio>
#include <vector>

#include "recording/recording.h"
#include "toolkit/platform/file_system.h"

namespace {

constexpr qint64 kCopyBlock = qint64{1} << 20;

bool blankLine(const QByteArray& line) {
    return line == "\n" || line == "\r\n" || line.isEmpty();
}

// Where record `i` of the recording begins in its file, or where the last one ends for
// i == size(); -1 when the file no longer holds the lines it was read from.
long long recordStart(QFile& file, const Recording& recording, size_t i) {
    const size_t base = std::min(i, recording.size() - 1) / kRowsPerOffset;
    if (!file.seek(recording.rowOffsets[base]))
        return -1;
    size_t skip = (i == recording.size() ? recording.size() - 1 : i) - base * kRowsPerOffset;
    while (true) {
        const long long at = file.pos();
        const QByteArray line = file.readLine();
        if (line.isEmpty() || !line.endsWith('\n'))
            return -1;
        if (blankLine(line))
            continue;
        if (skip == 0)
            return i == recording.size() ? file.pos() : at;
        --skip;
    }
}

bool copyLines(const Recording& recording, size_t first, size_t end, QSaveFile& out,
               std::string& problem) {
    QFile in(QString::fromStdString(recording.path));
    const QFileInfo info(QString::fromStdString(recording.path));
    const bool unchanged = info.size() == recording.fileSize &&
                           info.lastModified().toMSecsSinceEpoch() == recording.fileModified;
    const long long from =
        unchanged && in.open(QIODevice::ReadOnly) ? recordStart(in, recording, first) : -1;
    const long long to = from < 0 ? -1 : recordStart(in, recording, end);
    if (to < 0 || !in.seek(from)) {
        problem = "the recording's file has changed since it was opened: open it again";
        return false;
    }
    const QByteArray header =
        QByteArray::fromStdString(recording.header) + (recording.crLf ? "\r\n" : "\n");
    bool written = out.write(header) == header.size();
    for (long long at = from; written && at < to;) {
        const QByteArray block = in.read(std::min(kCopyBlock, to - at));
        written = !block.isEmpty() && out.write(block) == block.size();
        at += block.size();
    }
    return written;
}

bool writeAll(QSaveFile& out, std::string& text) {
    const bool written = out.write(text.data(), static_cast<qint64>(text.size())) ==
                         static_cast<qint64>(text.size());
    text.clear();
    return written;
}

bool writeNumbered(const Recording& recording, size_t first, size_t end, QSaveFile& out) {
    std::string text =
        recording.twoValues ? "record,counts,level,counts2,value2\r\n" : "record,counts,level\r\n";
    char line[96];
    for (size_t i = first; i < end; ++i) {
        const uint16_t counts = recording.counts[i];
        const double level = recording.level(counts);
        if (recording.twoValues)
            std::snprintf(line, sizeof line, "%u,%d,%.4f,%d,%.4f\r\n", recording.times[i], counts,
                          level, recording.counts2[i],
                          static_cast<double>(recording.secondValue(i)));
        else
            std::snprintf(line, sizeof line, "%u,%d,%.4f\r\n", recording.times[i], counts, level);
        text += line;
        if (text.size() >= static_cast<size_t>(kCopyBlock) && !writeAll(out, text))
            return false;
    }
    return writeAll(out, text);
}

}  // namespace

std::string saveSpanCsv(const Recording& recording, size_t first, size_t end,
                        const std::string& path) {
    const PathKind kind = GetPathKind(path.c_str());
    if (kind != PathKind::Absent && kind != PathKind::Regular)
        return path + " is " + PathKindWords(kind);
    const QFileInfo target(QString::fromStdString(path));
    if (target.exists() &&
        target.canonicalFilePath() ==
            QFileInfo(QString::fromStdString(recording.path)).canonicalFilePath())
        return path + " is the recording itself";
    QSaveFile out(QString::fromStdString(path));
    if (!out.open(QIODevice::WriteOnly))
        return "cannot write " + path + ": " + out.errorString().toStdString();
    end = std::min(end, recording.size());
    first = std::min(first, end);
    std::string problem;
    const bool written = recording.kind == RecordingKind::RawLog
                             ? writeNumbered(recording, first, end, out)
                         : first == end ? out.write(QByteArray::fromStdString(recording.header) +
                                                    (recording.crLf ? "\r\n" : "\n")) > 0
                                        : copyLines(recording, first, end, out, problem);
    if (!problem.empty()) {
        out.cancelWriting();
        return problem;
    }
    if (!written || !out.commit())
        return "cannot write " + path + ": " + out.errorString().toStdString();
    return {};
}
