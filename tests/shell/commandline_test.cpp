#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "shell/commandline.h"

namespace fw {
namespace {

// Arguments use "@" for the temporary folder, so the table reads like a command line.
struct JoinCase {
    const char* name;
    QStringList arguments;
    QStringList expected;
    QString leftover;  // what named nothing, to be reported
};

TEST(CommandLine, JoinsArgumentsUntilTheyNameAnExistingFile) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString root = dir.path();
    ASSERT_TRUE(QDir(root).mkpath(QStringLiteral("My Forms")));
    ASSERT_TRUE(QDir(root).mkpath(QStringLiteral("folder")));
    for (const char* name : {"My Forms/a.dfm", "x.dfm", "My"}) {
        QFile file(root + u'/' + QString::fromLatin1(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    }
    ASSERT_TRUE(QFile::remove(root + QStringLiteral("/My")));  // "My" must name nothing

    const std::vector<JoinCase> cases = {
        {"a path with a blank split in two", {"@/My", "Forms/a.dfm"}, {"@/My Forms/a.dfm"}},
        {"no arguments", {}, {}},
        {"a name of nothing swallows the valid file after it",
         {"@/nothing", "@/x.dfm"},
         {},
         "@/nothing @/x.dfm"},
        {"files one after the other",
         {"@/x.dfm", "@/My", "Forms/a.dfm", "@/x.dfm"},
         {"@/x.dfm", "@/My Forms/a.dfm", "@/x.dfm"}},
        {"a folder is not a file", {"@/folder"}, {}, "@/folder"},
        {"a leftover after a file is dropped", {"@/x.dfm", "@/My"}, {"@/x.dfm"}, "@/My"},
        {"a blank argument leaves nothing to report", {"@/x.dfm", " "}, {"@/x.dfm"}},
    };
    for (const JoinCase& c : cases) {
        SCOPED_TRACE(c.name);
        QStringList arguments = c.arguments;
        QStringList expected = c.expected;
        arguments.replaceInStrings(QStringLiteral("@"), root);
        expected.replaceInStrings(QStringLiteral("@"), root);
        QString leftover = QStringLiteral("unset");
        EXPECT_EQ(JoinCommandLineFiles(arguments, &leftover), expected);
        EXPECT_EQ(leftover, QString(c.leftover).replace(QStringLiteral("@"), root));
    }
}

}  // namespace
}  // namespace fw
