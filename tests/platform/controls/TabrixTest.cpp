#include <gtest/gtest.h>

#include <QApplication>
#include <QPushButton>
#include <QSignalSpy>
#include <QTableView>
#include <QTest>

#include "Tabrix.h"

using plat::Tabrix;

namespace {

// A list of three columns, shown, as the booking dialogs make them.
class TabrixTest : public ::testing::Test {
protected:
    void SetUp() override {
        list.resize(400, 300);
        list.addColumn("Time", 90);
        list.addColumn("Booking", 120);
        list.addColumn("Customer", 120);
        list.show();
    }
    // Row and column of each ItemClick, as "row,column".
    QStringList clicks(QSignalSpy& spy) {
        QStringList out;
        for (const auto& args : spy)
            out << QString("%1,%2").arg(args[0].toInt()).arg(args[1].toInt());
        return out;
    }
    Tabrix list;
};

}  // namespace

TEST_F(TabrixTest, RowsCountFromZeroAndColumnsFromOne) {
    EXPECT_EQ(list.addRow({"09:00 am", "Visit", "Smith"}), 0);
    EXPECT_EQ(list.addRowText("09:15 am;~;~"), 1);
    EXPECT_EQ(list.rowCount(), 2);
    EXPECT_EQ(list.columnCount(), 3);
    EXPECT_EQ(list.columnHeading(1), "Time");
    EXPECT_EQ(list.cellText(0, 1), "09:00 am");
    EXPECT_EQ(list.cellText(0, 3), "Smith");
    EXPECT_EQ(list.cellText(1, 2), "~");
    // Outside the rows and columns: empty, never a neighbour's text.
    for (auto [row, col] : {std::pair{0, 0}, {0, 4}, {2, 1}, {-1, 1}})
        EXPECT_EQ(list.cellText(row, col), "") << row << "," << col;
}

TEST_F(TabrixTest, ASemicolonInACellStaysThereWhenTheRowIsHandedAsCells) {
    list.addRow({"10:00 am", "Check; long", "Smith"});
    list.addRowText("10:00 am;Check; long;Smith");
    EXPECT_EQ(list.cellText(0, 2), "Check; long");
    EXPECT_EQ(list.cellText(0, 3), "Smith");
    // The text form divides at every ";", as its callers know.
    EXPECT_EQ(list.cellText(1, 2), "Check");
    EXPECT_EQ(list.cellText(1, 3), " long");
    list.addRowText(";;");
    EXPECT_EQ(list.cellText(2, 1), "");
    EXPECT_EQ(list.cellText(2, 3), "");
}

TEST_F(TabrixTest, EachRowKeepsItsNumberHiddenTextAndColour) {
    list.addRow({"a"});
    list.addRow({"b"});
    EXPECT_EQ(list.rowData(0), 0);
    EXPECT_EQ(list.rowText(0), "");
    EXPECT_EQ(list.rowColor(0), Tabrix::kWhite);
    list.setRowData(1, -123456789);
    list.setRowText(1, "570");
    list.setRowColor(1, 0x8000000F);  // a system colour is kept as given
    EXPECT_EQ(list.rowData(1), -123456789);
    EXPECT_EQ(list.rowText(1), "570");
    EXPECT_EQ(list.rowColor(1), 0x8000000Fu);
    EXPECT_EQ(list.rowData(0), 0);
    // A row that is not there keeps nothing and reads as empty.
    list.setRowData(5, 7);
    list.setRowText(-1, "x");
    EXPECT_EQ(list.rowData(5), 0);
    EXPECT_EQ(list.rowText(-1), "");
}

// As the chart's bars: by grey value, so pure blue, red and green are dark enough for white.
TEST_F(TabrixTest, ARowsTextIsBlackOrWhiteWhicheverReadsOnItsColourAsOnTheChart) {
    const struct {
        const char* name;
        uint32_t colour;  // 0x00BBGGRR
        Qt::GlobalColor text;
    } cases[] = {
        {"pure blue", 0xFF0000, Qt::white},  {"pure red", 0x0000FF, Qt::white},
        {"pure green", 0x00FF00, Qt::white}, {"black", 0x000000, Qt::white},
        {"yellow", 0x00FFFF, Qt::black},     {"white", 0xFFFFFF, Qt::black},
    };
    const QAbstractItemModel* rows = list.findChild<QTableView*>()->model();
    for (const auto& c : cases) {
        const int row = list.addRow({c.name});
        list.setRowColor(row, c.colour);
        EXPECT_EQ(rows->index(row, 0).data(Qt::ForegroundRole).value<QColor>().name(),
                  QColor(c.text).name())
            << c.name;
    }
}

TEST_F(TabrixTest, SelectingFromCodeRaisesNothingAndRemovingTheRowsClearsIt) {
    QSignalSpy items(&list, &Tabrix::ItemClick);
    for (int i = 0; i < 40; ++i) list.addRow({QString::number(i)});
    EXPECT_EQ(list.selectedRow(), Tabrix::kNoRow);
    list.setSelectedRow(3);
    EXPECT_EQ(list.selectedRow(), 3);
    list.setCurrentRow(39);
    EXPECT_EQ(list.selectedRow(), 39);
    EXPECT_TRUE(list.viewport()->rect().intersects(list.cellRect(39, 1)));  // scrolled to it
    list.setSelectedRow(40);
    EXPECT_EQ(list.selectedRow(), Tabrix::kNoRow);
    list.setSelectedRow(2);
    list.clearRows();
    EXPECT_EQ(list.selectedRow(), Tabrix::kNoRow);
    EXPECT_EQ(list.rowCount(), 0);
    EXPECT_EQ(items.count(), 0);
}

TEST_F(TabrixTest, TheUsersClickSelectsTheRowAndReportsRowAndColumn) {
    for (int i = 0; i < 5; ++i) list.addRow({QString::number(i), "x", "y"});
    QSignalSpy items(&list, &Tabrix::ItemClick);
    QSignalSpy doubles(&list, &Tabrix::DblClick);
    QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, list.cellRect(2, 3).center());
    EXPECT_EQ(clicks(items), QStringList{"2,3"});
    EXPECT_EQ(list.selectedRow(), 2);
    const QPoint fifth = list.cellRect(4, 1).center();
    QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, fifth);
    QTest::mouseDClick(list.viewport(), Qt::LeftButton, {}, fifth);
    ASSERT_EQ(doubles.count(), 1);
    EXPECT_EQ(doubles[0][0].toInt(), 4);
    EXPECT_EQ(doubles[0][1].toInt(), 1);
    EXPECT_EQ(list.selectedRow(), 4);
    // Below the last row there is nothing to click.
    items.clear();
    QTest::mouseClick(list.viewport(), Qt::LeftButton, {},
                      QPoint(5, list.viewport()->height() - 2));
    EXPECT_EQ(items.count(), 0);
    EXPECT_EQ(list.selectedRow(), 4);
}

TEST_F(TabrixTest, KeysOnlySelectAnotherRowAndEnterIsTheClickOnIt) {
    for (int i = 0; i < 30; ++i) list.addRow({QString("%1 slot").arg(i % 10)});
    list.setSelectedRow(1);
    QSignalSpy items(&list, &Tabrix::ItemClick);
    QWidget* view = list.viewport()->parentWidget();
    struct Step {
        Qt::Key key;
        int selected;  // -2: any other row
    } steps[] = {
        {Qt::Key_Down, 2}, {Qt::Key_End, 29},      {Qt::Key_Home, 0},
        {Qt::Key_7, 7},    {Qt::Key_PageDown, -2}, {Qt::Key_Up, -2},
    };
    for (const Step& s : steps) {
        const int before = list.selectedRow();
        QTest::keyClick(view, s.key);
        if (s.selected >= 0)
            EXPECT_EQ(list.selectedRow(), s.selected) << s.key;
        else
            EXPECT_NE(list.selectedRow(), before) << s.key;
    }
    EXPECT_EQ(items.count(), 0);
    const QString at = QString("%1,1").arg(list.selectedRow());
    QTest::keyClick(view, Qt::Key_Return);
    QTest::keyClick(view, Qt::Key_Enter, Qt::KeypadModifier);
    EXPECT_EQ(clicks(items), (QStringList{at, at}));
}

TEST_F(TabrixTest, TabMovesOnToTheNextControlRatherThanToTheNextCell) {
    QWidget window;
    auto* first = new Tabrix(&window);
    auto* next = new QPushButton("Next", &window);
    next->move(0, 200);
    first->addColumn("Time", 60);
    first->addColumn("Booking", 60);
    first->addRow({"a", "b"});
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    first->viewport()->parentWidget()->setFocus();
    QTest::keyClick(first->viewport()->parentWidget(), Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), next);
}

TEST_F(TabrixTest, CheckCellsToggleOnAClickButTheLockedMarkStays) {
    list.setColumnKind(1, Tabrix::CheckColumn);
    for (int i = 0; i < 3; ++i) list.addRowText(";Mon;1 January 1900");
    list.setCellValue(2, 1, Tabrix::Locked);
    QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, list.cellRect(0, 1).center());
    list.click(2, 1);
    EXPECT_EQ(list.cellValue(0, 1), Tabrix::Checked);
    EXPECT_EQ(list.cellValue(1, 1), Tabrix::Unchecked);
    EXPECT_EQ(list.cellValue(2, 1), Tabrix::Locked);
    list.click(0, 1);
    EXPECT_EQ(list.cellValue(0, 1), Tabrix::Unchecked);
    // A click elsewhere in the row leaves its box alone.
    list.click(1, 2);
    EXPECT_EQ(list.cellValue(1, 1), Tabrix::Unchecked);
    // A check cell holds only the three marks; other columns any 16-bit value.
    list.setCellValue(1, 1, 7);
    EXPECT_EQ(list.cellValue(1, 1), Tabrix::Unchecked);
    list.setCellValue(1, 3, -300);
    EXPECT_EQ(list.cellValue(1, 3), -300);
}

TEST_F(TabrixTest, TheTitleShowsOnlyWhenThereIsOne) {
    EXPECT_FALSE(list.findChild<QWidget*>("TabrixTitle")->isVisible());
    list.setTitle("Monday 2 January 1900");
    EXPECT_EQ(list.title(), "Monday 2 January 1900");
    EXPECT_TRUE(list.findChild<QWidget*>("TabrixTitle")->isVisible());
    list.clearColumns();
    EXPECT_EQ(list.columnCount(), 0);
    EXPECT_EQ(list.columnHeading(1), "");
}
