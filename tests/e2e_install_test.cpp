// The installed tool finds its resource file wherever it is started from.
#include <gtest/gtest.h>

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <filesystem>

namespace {

TEST(Installed, ToolStartsFromAnyDirectoryAndLoadsItsPanels) {
    QTemporaryDir prefix;
    ASSERT_TRUE(prefix.isValid());
    QProcess install;
    install.start("cmake", {"--install", QUORVEL_BINARY_DIR, "--prefix", prefix.path()});
    ASSERT_TRUE(install.waitForFinished(60000));
    ASSERT_EQ(install.exitCode(), 0) << install.readAllStandardError().toStdString();
    for (const char* file :
         {"bin/vaskinterface", "bin/quorvel-sim", "share/quorvel/VASKInterface.uir",
          "share/applications/quorvel.desktop", "share/icons/hicolor/scalable/apps/quorvel.svg",
          "share/metainfo/org.example.quorvel.metainfo.xml", "share/man/man1/vaskinterface.1",
          "share/man/man1/quorvel-sim.1"}) {
        EXPECT_TRUE(std::filesystem::exists(prefix.filePath(file).toStdString())) << file;
    }

    QProcess tool;
    tool.setWorkingDirectory(QDir::rootPath());
    auto env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "offscreen");
    env.remove("QUORVEL_UIR");
    tool.setProcessEnvironment(env);
    tool.start(prefix.filePath("bin/vaskinterface"), {});
    ASSERT_TRUE(tool.waitForStarted(5000));
    // A tool that cannot load its panels returns -1 at once; a working one waits for input.
    EXPECT_FALSE(tool.waitForFinished(1500)) << tool.readAllStandardError().toStdString();
    tool.kill();
    tool.waitForFinished(2000);
    EXPECT_EQ(tool.readAllStandardError().toStdString().find("LoadPanel"), std::string::npos);
}

TEST(Installed, ACopiedProgramWithoutItsResourceFileNeverTakesTheBuildTreesOne) {
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const QString copy = folder.filePath("vaskinterface");
    ASSERT_TRUE(QFile::copy(QUORVEL_TOOL_PATH, copy));
    QProcess tool;
    auto env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "offscreen");
    env.remove("QUORVEL_UIR");
    tool.setProcessEnvironment(env);
    tool.start(copy, {});
    ASSERT_TRUE(tool.waitForFinished(10000));
    EXPECT_EQ(tool.exitCode(), 255);
    const std::string err = tool.readAllStandardError().toStdString();
    EXPECT_NE(err.find("resource file \"VASKInterface.uir\" not found (looked for: " +
                       folder.filePath("VASKInterface.uir").toStdString()),
              std::string::npos)
        << err;
    EXPECT_EQ(err.find(QUORVEL_SOURCE_DIR), std::string::npos) << err;
}

}  // namespace
