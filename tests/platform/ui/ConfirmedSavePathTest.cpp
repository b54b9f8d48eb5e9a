// Which file a save panel's answer stands for, and that the question about replacing it is asked about
// that file and no other.
#include "platform/ui/QtDialogs.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

TEST(ConfirmedSavePath, AsksAboutTheFileThatWillBeWritten) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    for (const char* existing : {"x.txt", "y.bin"}) {
        QFile file(dir.filePath(QString::fromLatin1(existing)));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    }
    struct Case {
        const char* chosen;
        bool replace;           // the answer to the question, if it is asked
        const char* written;    // nullptr: nothing is to be written
        const char* askedAbout; // nullptr: no question
    };
    const std::vector<Case> cases{
        {"x.txt", false, "x.txt.bin", nullptr}, // x.txt exists, but x.txt.bin is written
        {"new", false, "new.bin", nullptr},
        {"y", true, "y.bin", "y.bin"},
        {"y.bin", false, nullptr, "y.bin"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.chosen);
        QStringList asked;
        const auto answer = [&](const QString& path) {
            asked << QDir(dir.path()).relativeFilePath(path);
            return c.replace;
        };
        const std::optional<QString> path = platform::ConfirmedSavePath(
            dir.filePath(QString::fromLatin1(c.chosen)), QStringLiteral("bin"), answer);
        EXPECT_EQ(path.has_value(), c.written != nullptr);
        if (path && c.written != nullptr) {
            EXPECT_EQ(*path, dir.filePath(QString::fromLatin1(c.written)));
        }
        EXPECT_EQ(asked,
                  c.askedAbout != nullptr ? QStringList{QString::fromLatin1(c.askedAbout)} : QStringList{});
    }
}

} // namespace
