#include <gtest/gtest.h>

#include <QDialog>
#include <QFile>
#include <QPointer>
#include <QTest>
#include <QThread>
#include <QTimer>

#include "HelpDocument.h"
#include "HelpWindow.h"
#include "TestSupport.h"

namespace {

const char* const kSample =
    "Notes before the first topic are not shown.\r\n"
    "# 10: About Rostima\r\n"
    "Who made it.\r\n"
    "# 50: The schedule\r\n"
    "Drag a task onto a row.\r\n"
    "\r\n"
    "## Zoom\r\n"
    "Use the bar.\r\n"
    "#60:Groups\r\n"
    "Add a group.\r\n"
    "# 50: Again\r\n"
    "Never shown.\r\n";

void writeFile(const QString& path, const QByteArray& text) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(text);
}

}  // namespace

TEST(HelpDocument, OneTopicPerContextNumberWithTheFirstOfARepeatedNumber) {
    plat::HelpDocument doc;
    doc.parse(kSample);
    EXPECT_EQ(doc.contexts(), (std::vector<int>{10, 50, 60}));
    const plat::HelpTopic* t = doc.topic(50);
    ASSERT_NE(t, nullptr);
    EXPECT_EQ(t->title, "The schedule");
    EXPECT_EQ(t->body, "Drag a task onto a row.\n\n## Zoom\nUse the bar.");
    EXPECT_EQ(doc.topic(60)->title, "Groups");
    EXPECT_EQ(doc.topic(11), nullptr);
    EXPECT_FALSE(doc.load("/nonexistent/Rostima.md"));
    EXPECT_TRUE(doc.contexts().empty());
}

TEST(HelpWindow, ShowsTheTopicOfAContextAndClosesOnRequest) {
    TempProgramFolder folder;
    writeFile(folder.file("Rostima.md"), kSample);
    QWidget owner;
    auto* help = new plat::HelpWindow(&owner);
    help->setHelpFile(folder.file("Rostima.md"));
    help->showHelp(50);
    EXPECT_TRUE(help->isVisible());
    EXPECT_EQ(help->currentContext(), 50);
    EXPECT_EQ(help->windowTitle(), "The schedule");
    EXPECT_TRUE(help->shownText().contains("Drag a task onto a row."));
    EXPECT_FALSE(help->shownText().contains("Never shown."));

    help->showHelp(999);
    EXPECT_TRUE(help->shownText().contains("There is no help topic 999"));
    help->closeHelp();
    EXPECT_FALSE(help->isVisible());
    // A changed file is read again.
    QThread::msleep(20);
    writeFile(folder.file("Rostima.md"), "# 999: Late topic\nFound now.\n");
    help->showHelp(999);
    EXPECT_TRUE(help->shownText().contains("Found now."));
}

TEST(HelpWindow, AMissingFileIsSaidInTheWindow) {
    QWidget owner;
    plat::HelpWindow help(&owner);
    help.setHelpFile("/nonexistent/Rostima.md");
    help.showHelp(50);
    EXPECT_TRUE(help.isVisible());
    EXPECT_TRUE(help.shownText().contains("could not be read"));
}

TEST(HelpWindow, ClosesWithItsOwner) {
    auto* owner = new QWidget;
    QPointer<plat::HelpWindow> help = new plat::HelpWindow(owner);
    help->showHelp(50);
    delete owner;
    EXPECT_TRUE(help.isNull());
}

TEST(HelpWindow, StaysUsableUnderAModalDialogAndOutlivesIt) {
    TempProgramFolder folder;
    writeFile(folder.file("Rostima.md"), kSample);
    QWidget owner;
    owner.show();
    auto* help = new plat::HelpWindow(&owner);
    help->setHelpFile(folder.file("Rostima.md"));
    // The second dialog opens while help is still open from the first.
    for (int round = 1; round <= 2; ++round) {
        QDialog dialog(&owner);
        bool closedFromTheKeyboard = false;
        QTimer::singleShot(0, &dialog, [&] {
            help->showHelp(10);
            QTest::keyClick(help->windowHandle(), Qt::Key_Escape);
            closedFromTheKeyboard = !help->isVisible();
            help->showHelp(50);
            dialog.reject();
        });
        dialog.exec();
        EXPECT_TRUE(closedFromTheKeyboard) << round;
        EXPECT_TRUE(help->isVisible()) << round;
        EXPECT_EQ(help->parentWidget(), &owner);
    }
}

TEST(HelpWindow, OpensCentredOnItsOwnerAndWhollyOnItsScreen) {
    QWidget probe;
    const QRect room = probe.screen()->availableGeometry();
    struct Case {
        const char* name;
        QPoint ownerCentre;
        bool centred;  // whether there is room to centre it on the owner
    } cases[] = {
        {"owner in the middle", room.center(), true},
        {"owner at the bottom right", room.bottomRight() - QPoint(40, 30), false},
        {"owner at the top left", room.topLeft() + QPoint(20, 10), false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QWidget owner;
        QRect ownerRect(0, 0, 200, 150);
        ownerRect.moveCenter(c.ownerCentre);
        owner.setGeometry(ownerRect);
        auto* help = new plat::HelpWindow(&owner);
        help->setHelpFile("/nonexistent/Rostima.md");
        help->showHelp(10);
        EXPECT_TRUE(room.contains(help->geometry()))
            << help->geometry().x() << "," << help->geometry().y();
        EXPECT_EQ(help->geometry().center() == ownerRect.center(), c.centred);
        EXPECT_GT(help->width(), 300);
    }
}
