#include <gtest/gtest.h>

#include <QDir>

#include "Folvo.h"

TEST(Folvo, FilterTextsBecomeNameFilters) {
    const struct {
        const char* filter;
        QStringList want;
    } cases[] = {
        {"Database Files (*.mdb)|*.mdb", {"Database Files (*.mdb)"}},
        {"Text|*.txt;*.csv|All Files|*.*", {"Text (*.txt *.csv)", "All Files (*.*)"}},
        {"", {}},
        {"Dangling", {}},
    };
    for (const auto& c : cases) EXPECT_EQ(plat::Folvo::NameFilters(c.filter), c.want) << c.filter;
}

TEST(Folvo, AChosenFileRaisesOkWithItsFullPathAndCancelRaisesNothing) {
    plat::Folvo dialog;
    dialog.setTitle("Find Database File");
    dialog.setInitialFile("/data/Rostima.mdb");
    int oks = 0;
    QObject::connect(&dialog, &plat::Folvo::OK, [&] { ++oks; });
    QString answer = "relative/Other.mdb";
    QString seen;
    plat::SetFolvoHook([&](const plat::Folvo& f) {
        seen = f.title() + " " + f.initialFile();
        return answer;
    });
    EXPECT_TRUE(dialog.show());
    EXPECT_EQ(seen, "Find Database File /data/Rostima.mdb");
    EXPECT_EQ(oks, 1);
    EXPECT_EQ(dialog.fileName(), QDir::current().absoluteFilePath("relative/Other.mdb"));
    answer.clear();
    EXPECT_FALSE(dialog.show());
    EXPECT_EQ(oks, 1);
    plat::SetFolvoHook(nullptr);
}
