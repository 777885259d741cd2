// The program folder helpers other windows build on.
#include "common/ProgramFolder.h"
#include "store/StoreError.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

TEST(ProgramFolder, FilesFoldersAndBareNames)
{
    QTemporaryDir dir;
    const QString file = app::inFolder(dir.path(), QStringLiteral("Danni.xls"));
    QFile f(file);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.close();
    EXPECT_TRUE(app::ImaFail(file));
    EXPECT_FALSE(app::ImaPapka(file));
    EXPECT_FALSE(app::ImaFail(dir.path()));
    EXPECT_TRUE(app::ImaPapka(dir.path()));

    const QString article = app::inFolder(dir.path(), QStringLiteral("Играчки"));
    EXPECT_FALSE(app::ImaPapka(article));
    app::NapraviPapka(article);
    EXPECT_TRUE(app::ImaPapka(article));
    // One level only, and never over what is there.
    EXPECT_THROW(app::NapraviPapka(app::inFolder(dir.path(), QStringLiteral("a/b"))), store::Error);
    EXPECT_THROW(app::NapraviPapka(article), store::Error);

}
