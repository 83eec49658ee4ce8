// About: what the tool says of itself on its page and on the command line, and the
// third-party notices it finds.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QRegularExpression>
#include <QTemporaryDir>

#include "app/about.h"
#include "app/command_line.h"
#include "app/notices_window.h"
#include "history/history.h"
#include "tests/harness/tool_fixture.h"
#include "toolkit/panels/testing.h"

namespace {

class About : public ToolFixture {};

QString valueOf(const QString& label) {
    for (const AboutLine& line : aboutLines())
        if (line.label == label)
            return line.value;
    return {};
}

QStringList labelsOnAboutPage() {
    QStringList texts;
    for (QWidget* widget : QApplication::allWidgets())
        if (widget->objectName() == QStringLiteral("aboutPage"))
            for (const QLabel* label : widget->findChildren<QLabel*>()) texts << label->text();
    return texts;
}

void write(const QString& path, const QByteArray& text) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(text);
}

TEST_F(About, CarriesTheBuildsVersionAndTheQtItRunsOn) {
    EXPECT_EQ(valueOf("Version"), QUORVEL_PROJECT_VERSION);
    EXPECT_TRUE(valueOf("Build").contains(QRegularExpression(
        "^commit ([0-9a-f]{12}(-modified)?|unknown), built \\d{4}-\\d\\d-\\d\\d$")))
        << valueOf("Build").toStdString();
    EXPECT_TRUE(valueOf("Qt").startsWith(QString::fromLatin1(qVersion())));
    EXPECT_EQ(valueOf("Settings history"),
              QDir::toNativeSeparators(QString::fromStdString(historyFolder())));

    const QStringList version = versionText().split('\n');
    EXPECT_EQ(version.value(0), "vaskinterface " QUORVEL_PROJECT_VERSION);
    EXPECT_EQ(version.value(1), valueOf("Build"));
    EXPECT_EQ(version.value(2), "Qt " + valueOf("Qt"));
    EXPECT_TRUE(aboutDetails().contains("Version: " QUORVEL_PROJECT_VERSION "\n"));
}

TEST_F(About, ItsEntryShowsThePageAndSendsNothing) {
    ASSERT_TRUE(PressShellEntry("About"));
    EXPECT_EQ(ShellMarkedEntry(), "About");
    const QStringList labels = labelsOnAboutPage();
    EXPECT_TRUE(labels.contains(QUORVEL_PROJECT_VERSION));
    EXPECT_TRUE(labels.contains(valueOf("Qt")));
    EXPECT_TRUE(labels.contains(QDir::toNativeSeparators(QString::fromStdString(historyDir))));
    EXPECT_EQ(wire(), "");
    ASSERT_TRUE(PressShellEntry("Main panel"));
    EXPECT_EQ(ShellMarkedEntry(), "Main panel");
}

TEST(AboutCommandLine, VersionAndHelpAnswerAndEndOtherArgumentsGoOnToTheWindow) {
    char program[] = "vaskinterface", version[] = "--version", help[] = "-h",
         platform[] = "-platform", offscreen[] = "offscreen";
    char* asksVersion[] = {program, platform, offscreen, version, nullptr};
    testing::internal::CaptureStdout();
    EXPECT_EQ(answerInformationRequest(4, asksVersion), 0);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), versionText().toStdString());

    char* asksHelp[] = {program, help, nullptr};
    testing::internal::CaptureStdout();
    EXPECT_EQ(answerInformationRequest(2, asksHelp), 0);
    EXPECT_EQ(testing::internal::GetCapturedStdout().rfind("usage: vaskinterface ", 0), 0u);

    char* startsWindow[] = {program, platform, offscreen, nullptr};
    EXPECT_EQ(answerInformationRequest(3, startsWindow), std::nullopt);
}

// The first folder with notices wins; its licence texts follow by name; an installed
// package's copyright file stands in where there are none.
TEST(AboutNotices, FoundInTheFirstFolderThatHoldsThem) {
    QTemporaryDir empty, package, beside;
    write(package.filePath("copyright"), "package\n");
    ASSERT_TRUE(QDir(beside.path()).mkdir("licenses"));
    write(beside.filePath("THIRD-PARTY-NOTICES.txt"), "notices\n");
    write(beside.filePath("licenses/zlib.txt"), "zlib\n");
    write(beside.filePath("licenses/GPL-3.0-only.txt"), "gpl\n");

    auto documents = noticeDocumentsIn({empty.path(), beside.path(), package.path()});
    ASSERT_EQ(documents.size(), 3u);
    EXPECT_EQ(documents[0].title, "Third-party notices");
    EXPECT_EQ(documents[1].title, "GPL-3.0-only");
    EXPECT_EQ(documents[2].title, "zlib");
    documents = noticeDocumentsIn({empty.path(), package.path(), beside.path()});
    ASSERT_EQ(documents.size(), 1u);
    EXPECT_EQ(documents[0].path, package.filePath("copyright"));
    EXPECT_TRUE(noticeDocumentsIn({empty.path()}).empty());
}

// Every licence text the notices name ships, and every one that ships is named.
TEST(AboutNotices, TheNoticesNameEachLicenceTextThatShips) {
    QFile notices(QUORVEL_SOURCE_DIR "/THIRD-PARTY-NOTICES");
    ASSERT_TRUE(notices.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(notices.readAll());
    QStringList named;
    for (const auto& match :
         QRegularExpression("licenses\\\\([A-Za-z0-9.-]+\\.txt)").globalMatch(text))
        named << match.captured(1);
    named.removeDuplicates();
    const QStringList shipped =
        QDir(QUORVEL_SOURCE_DIR "/licenses").entryList({"*.txt"}, QDir::Files);
    for (const QString& name : named) EXPECT_TRUE(shipped.contains(name)) << name.toStdString();
    for (const QString& name : shipped) EXPECT_TRUE(named.contains(name)) << name.toStdString();
}

}  // namespace
