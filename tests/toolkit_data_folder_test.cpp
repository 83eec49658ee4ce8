// The portable rule: a file "portable" beside the program keeps the data folder and the
// remembered choices beside it; without one they stay in the system's places.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QTemporaryDir>

#include "toolkit/platform/data_folder.h"
#include "toolkit/serial/device_choice.h"

namespace {

// The test process's own settings place, put back after each test.
class PortableRule : public ::testing::Test {
  protected:
    void SetUp() override {
        format_ = QSettings::defaultFormat();
        const QString probe = QSettings(QSettings::IniFormat, QSettings::UserScope,
                                        QStringLiteral("o"), QStringLiteral("a"))
                                  .fileName();
        iniPath_ = QFileInfo(probe).dir().absolutePath().chopped(2);  // without "/o"
        QCoreApplication::setOrganizationName(QStringLiteral("Quorvel"));
        QCoreApplication::setApplicationName(QStringLiteral("Quorvel"));
    }
    void TearDown() override {
        FollowPortableRule(std::string());
        QSettings::setDefaultFormat(format_);
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, iniPath_);
    }
    std::string program() const { return program_.path().toStdString(); }
    void mark(const char* name) {
        QFile file(program_.filePath(QString::fromLatin1(name)));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    }

    QTemporaryDir program_;

  private:
    QSettings::Format format_ = QSettings::NativeFormat;
    QString iniPath_;
};

TEST_F(PortableRule, WithoutTheFileDataAndChoicesStayInTheSystemsPlaces) {
    const QString settingsBefore = QSettings().fileName();
    EXPECT_FALSE(FollowPortableRule(program()));
    EXPECT_FALSE(PortableData());
    EXPECT_EQ(ToolDataFolder(), SystemDataFolder());
    EXPECT_EQ(QSettings().fileName(), settingsBefore);
    // A folder of that name is no file.
    ASSERT_TRUE(QDir(program_.path()).mkdir(QStringLiteral("portable")));
    EXPECT_FALSE(FollowPortableRule(program()));
}

TEST_F(PortableRule, TheFileKeepsTheDataAndTheRememberedPortsBesideTheProgram) {
    mark("portable");
    ASSERT_TRUE(FollowPortableRule(program()));
    EXPECT_TRUE(PortableData());
    const QString data = program_.filePath(QStringLiteral("data"));
    EXPECT_EQ(ToolDataFolder(), data.toStdString());
    EXPECT_EQ(QSettings().fileName(), data + QStringLiteral("/Quorvel/Quorvel.ini"));

    ChooseDeviceForComPort(2, "/dev/ttyUSB7");
    EXPECT_EQ(ChosenDeviceForComPort(2), "/dev/ttyUSB7");
    QSettings kept(data + QStringLiteral("/Quorvel/Quorvel.ini"), QSettings::IniFormat);
    EXPECT_EQ(kept.value(QStringLiteral("ports/COM2/device")).toString(), "/dev/ttyUSB7");
}

// Explorer names a new text file "portable.txt" and hides the extension.
TEST_F(PortableRule, APortableTxtFileCountsToo) {
    mark("portable.txt");
    EXPECT_TRUE(FollowPortableRule(program()));
    EXPECT_EQ(ToolDataFolder(), program_.filePath(QStringLiteral("data")).toStdString());
}

}  // namespace
