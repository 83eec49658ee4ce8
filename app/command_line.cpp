#include "app/command_line.h"

#include <cstdio>
#include <cstring>

#include "app/about.h"
#include "toolkit/platform/console_output.h"

namespace {

bool isOneOf(const char* argument, const char* longName, const char* shortName) {
    return std::strcmp(argument, longName) == 0 || std::strcmp(argument, shortName) == 0;
}

int print(const QString& text) {
    ReachStartingConsole();
    const QByteArray bytes = text.toLocal8Bit();
    std::fwrite(bytes.constData(), 1, static_cast<size_t>(bytes.size()), stdout);
    return std::fflush(stdout) == 0 ? 0 : 1;
}

}  // namespace

std::optional<int> answerInformationRequest(int argc, char* argv[]) {
    for (int i = 1; i < argc && argv && argv[i]; ++i) {
        if (isOneOf(argv[i], "--help", "-h"))
            return print(usageText());
        if (isOneOf(argv[i], "--version", "-v"))
            return print(versionText());
    }
    return std::nullopt;
}
