#include "file_bytes.h"
#include "writers/program_layout.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

TEST(ProgramLayout, HelpFolderOfEachLayout)
{
    const QString sep = QDir::separator();
    const auto native = [](const char *path) { return QDir::toNativeSeparators(path); };
    const struct
    {
        QString programFolder;
        ProgramLayout layout;
        QString expected;
    } cases[] = {
        // A portable copy keeps the folder as given, blanks and all.
        {native("/opt/my marlith"), ProgramLayout::Portable,
         native("/opt/my marlith") + sep + "htmfiles"},
#ifdef Q_OS_WIN
        // The installer keeps the help beside the program too.
        {native("C:/Users/Zo\u00eb/AppData/Local/Programs/Marlith3"), ProgramLayout::Installed,
         native("C:/Users/Zo\u00eb/AppData/Local/Programs/Marlith3/htmfiles")},
#else
        {native("/usr/bin"), ProgramLayout::Installed, native("/usr/share/marlith3/htmfiles")},
        {native("/usr/local/bin"), ProgramLayout::Installed,
         native("/usr/local/share/marlith3/htmfiles")},
        // A program reached through a relative or untidy path still finds its share folder.
        {native("/opt/m/./bin/"), ProgramLayout::Installed,
         native("/opt/m/share/marlith3/htmfiles")},
#endif
    };
    for (const auto &c : cases)
        EXPECT_EQ(helpFolder(c.programFolder, c.layout), c.expected)
            << c.programFolder.toStdString();
}

TEST(ProgramLayout, StartOutputFolderOfEachLayout)
{
    const QString program = QDir::toNativeSeparators("/opt/marlith");
    const QString documents = QDir::toNativeSeparators("/home/ann/Dokumente");
    const QString picked = QDir::toNativeSeparators("/media/ann/scenery");
    const auto start = [&](ProgramLayout layout, const QString &remembered) {
        return startOutputFolder(layout, program, documents, remembered);
    };
    // A portable copy writes beside itself, as it always did, whatever an installed copy
    // remembers.
    EXPECT_EQ(start(ProgramLayout::Portable, QString()), program);
    EXPECT_EQ(start(ProgramLayout::Portable, picked), program);
    EXPECT_EQ(start(ProgramLayout::Installed, QString()),
              documents + QDir::separator() + "Marlith");
    EXPECT_EQ(start(ProgramLayout::Installed, picked), picked);
}

TEST(ProgramLayout, InstalledProgramFindsTheHelpOfItsPrefix)
{
#ifdef Q_OS_WIN
    GTEST_SKIP() << "an installed Windows copy has no prefix: its help lies beside it";
#endif
    QTemporaryDir prefix;
    ASSERT_TRUE(prefix.isValid());
    ASSERT_TRUE(QDir(prefix.path()).mkpath("bin"));
    ASSERT_TRUE(QDir(prefix.path()).mkpath("share/marlith3/htmfiles"));
    ASSERT_TRUE(writeFileBytes(prefix.filePath("share/marlith3/htmfiles/Help.htm"), {}));

    const QString folder =
        helpFolder(QDir::toNativeSeparators(prefix.filePath("bin")), ProgramLayout::Installed);
    EXPECT_TRUE(QFile::exists(folder + QDir::separator() + "Help.htm")) << folder.toStdString();
}
