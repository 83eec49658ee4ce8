#include "app/about.h"

#include <QDir>
#include <QGuiApplication>
#include <QSettings>
#include <QSysInfo>
#include <QtGlobal>

#include "app/build_info.h"
#include "history/history.h"
#include "toolkit/platform/data_folder.h"

namespace {

QString buildText() {
    const BuildInfo& build = buildInfo();
    return QStringLiteral("commit %1, built %2")
        .arg(QLatin1String(build.commit), QLatin1String(build.date));
}

// The Qt the program runs on; the one it was built with too, when they differ.
QString qtText() {
    const QString running = QString::fromLatin1(qVersion());
    if (running == QLatin1String(QT_VERSION_STR))
        return running;
    return QStringLiteral("%1 (built with %2)").arg(running, QLatin1String(QT_VERSION_STR));
}

QString platformText() {
    QString text =
        QSysInfo::prettyProductName() + QStringLiteral(", ") + QSysInfo::currentCpuArchitecture();
    if (qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
        text += QStringLiteral(", ") + QGuiApplication::platformName();
    return text;
}

QString folderText(const std::string& folder) {
    return QDir::toNativeSeparators(QString::fromStdString(folder));
}

}  // namespace

std::vector<AboutLine> aboutLines() {
    QString data = folderText(ToolDataFolder());
    if (PortableData())
        data += QStringLiteral(" (portable: beside the program)");
    return {
        {QStringLiteral("Version"), QString::fromLatin1(buildInfo().version)},
        {QStringLiteral("Build"), buildText()},
        {QStringLiteral("Qt"), qtText()},
        {QStringLiteral("Platform"), platformText()},
        {QStringLiteral("Data folder"), data},
        {QStringLiteral("Settings history"), folderText(historyFolder())},
        {QStringLiteral("Window place and port choices"),
         QDir::toNativeSeparators(QSettings().fileName())},
        {QStringLiteral("Licence"),
         QStringLiteral("Proprietary: all rights reserved by the Quorvel maintainers. Qt and "
                        "the other libraries the tool runs on keep their own licences: see "
                        "Third-party notices.")},
    };
}

QString aboutDetails() {
    QString text = QStringLiteral("Quorvel\n");
    for (const AboutLine& line : aboutLines())
        text += line.label + QStringLiteral(": ") + line.value + QLatin1Char('\n');
    return text;
}

QString versionText() {
    return QStringLiteral("vaskinterface %1\n%2\nQt %3\n")
        .arg(QLatin1String(buildInfo().version), buildText(), qtText());
}

QString usageText() {
    return QStringLiteral(
        "usage: vaskinterface [--version | --help]\n"
        "\n"
        "The Quorvel configuration and monitoring window: connect to the instrument on\n"
        "COM1 to COM4, read and change its settings, set its clock and its scheduled\n"
        "start, watch live readings with a data log, and calibrate the gauge.\n"
        "\n"
        "  --version, -v   print the version, the build and the Qt version, and end\n"
        "  --help, -h      print this text, and end\n"
        "\n"
        "Qt's own options (-platform, -style, ...) are taken as well. The environment\n"
        "variables QUORVEL_COM1 to QUORVEL_COM4 point a port at a device, and\n"
        "QUORVEL_HISTORY_DIR moves the settings history. quorvel, the command-line tool,\n"
        "does the same without a window: quorvel --help.\n");
}
