#include <QDialog>
#include <QImage>

#include "CPaletteWnd.h"
#include "CTintoraCtrl.h"
#include "PaletteGeometry.h"
#include "PickerTestSupport.h"

namespace {

// A control on a dialog with its palette shown at the fixed cursor.
class CPaletteWndTest : public PickerTest {
protected:
    void SetUp() override {
        PickerTest::SetUp();
        control = new CTintoraCtrl(&dialog);
        control->Advise(&log);
    }
    CPaletteWnd* show() {
        control->Display();
        return control->Popup();
    }
    QDialog dialog;
    CTintoraCtrl* control = nullptr;
    ClickLog log;
};

QColor pixel(QWidget* w, const QPoint& p) { return w->grab().toImage().pixelColor(p); }

}  // namespace

TEST_F(CPaletteWndTest, AClickOnACellFiresColorClickWithItsColourAndIndexAndHides) {
    control->SetCellColor(20, 0x8000000F);  // a system colour goes out as stored
    for (int cell : {0, 5, 6, 20, 31, 47}) {
        CPaletteWnd* popup = show();
        control->SaveToStream();
        log.clicks.clear();
        Press(popup, PaletteGeometry::CellRect(cell).center());
        ASSERT_EQ(log.clicks.size(), 1u) << cell;
        EXPECT_EQ(log.clicks[0].item, cell);
        EXPECT_EQ(log.clicks[0].colour, control->CellColor(cell));
        EXPECT_EQ(control->Color(), control->CellColor(cell));
        EXPECT_FALSE(popup->isVisible()) << cell;
        EXPECT_FALSE(control->IsModified()) << cell;
    }
}

TEST_F(CPaletteWndTest, CellCornersCountAndGapsAndTheFrameDoNothing) {
    CPaletteWnd* popup = show();
    const QRect last = PaletteGeometry::CellRect(47);
    Press(popup, last.bottomRight());  // the last pixel inside the cell
    ASSERT_EQ(log.clicks.size(), 1u);
    EXPECT_EQ(log.clicks[0].item, 47);

    const QPoint gaps[] = {{19, 25},    // between the first two columns
                           {10, 34},    // between the first two rows
                           {2, 80},     // the frame left of the grid
                           {50, 157},   // below the last row
                           {108, 60}};  // right of the last column
    for (const QPoint& p : gaps) {
        popup = show();
        log.clicks.clear();
        Press(popup, p);
        EXPECT_TRUE(log.clicks.empty()) << p.x() << "," << p.y();
        EXPECT_TRUE(popup->isVisible()) << p.x() << "," << p.y();
    }
    EXPECT_EQ(control->Color(), control->CellColor(47));
}

TEST_F(CPaletteWndTest, TheCloseBoxHidesWithoutAnEvent) {
    CPaletteWnd* popup = show();
    Press(popup, PaletteGeometry::CloseBoxRect().center());
    EXPECT_FALSE(popup->isVisible());
    EXPECT_TRUE(log.clicks.empty());
}

TEST_F(CPaletteWndTest, DraggingTheCaptionShowsAnOutlineThenMovesForThisShowingOnly) {
    CPaletteWnd* popup = show();  // right of the cursor: 510, 321
    ASSERT_EQ(popup->pos(), QPoint(510, 321));
    Press(popup, {30, 10});
    EXPECT_TRUE(popup->Dragging());
    DragTo(popup, {60, 25});
    DragTo(popup, {80, 40});
    EXPECT_EQ(popup->DragOutline(), QRect(50, 30, 110, 159));
    EXPECT_EQ(popup->pos(), QPoint(510, 321));  // only the outline follows the mouse
    Release(popup, {80, 40});
    EXPECT_FALSE(popup->Dragging());
    EXPECT_TRUE(popup->DragOutline().isEmpty());
    EXPECT_EQ(popup->pos(), QPoint(560, 351));
    EXPECT_EQ(control->WindowXPosn(), 0);

    control->Display();
    EXPECT_EQ(popup->pos(), QPoint(510, 321));
}

TEST_F(CPaletteWndTest, AMoveWithoutTheButtonHeldDrawsNoOutline) {
    CPaletteWnd* popup = show();
    Press(popup, {30, 10});
    SendMouse(popup, QEvent::MouseMove, {80, 40}, Qt::NoButton, Qt::NoButton);
    EXPECT_TRUE(popup->DragOutline().isEmpty());
}

TEST_F(CPaletteWndTest, DraggingInCalculatedModeMakesTheNextShowingAppearWhereDropped) {
    control->SetPosition(PosnCalc);
    control->SetWindowXPosn(100);
    control->SetWindowYPosn(200);
    control->SetWinXOffset(3);
    control->SetWinYOffset(4);
    control->SaveToStream();
    CPaletteWnd* popup = show();
    ASSERT_EQ(popup->pos(), QPoint(103, 204));
    Press(popup, {20, 8});
    DragTo(popup, {70, 28});
    Release(popup, {70, 28});
    EXPECT_EQ(popup->pos(), QPoint(153, 224));
    EXPECT_EQ(control->WindowXPosn(), 153);
    EXPECT_EQ(control->WindowYPosn(), 224);
    EXPECT_FALSE(control->IsModified());
    control->Display();
    EXPECT_EQ(popup->pos(), QPoint(156, 228));
}

TEST_F(CPaletteWndTest, LosingTheFocusToAnotherWindowHidesThePalette) {
    dialog.show();
    CPaletteWnd* popup = show();
    QApplication::processEvents();
    ASSERT_EQ(QApplication::focusWidget(), popup);
    QWidget other;
    other.setFocusPolicy(Qt::StrongFocus);
    other.show();
    other.activateWindow();
    other.setFocus();
    QApplication::processEvents();
    EXPECT_FALSE(popup->isVisible());
}

TEST_F(CPaletteWndTest, PaintsCellsCaptionAndTheSelectionFrame) {
    control->SetColor(0x0000FF);  // cell 8, red
    CPaletteWnd* popup = show();
    const QRect red = PaletteGeometry::CellRect(8);
    EXPECT_EQ(pixel(popup, red.center()), QColor(255, 0, 0));
    EXPECT_EQ(pixel(popup, PaletteGeometry::CellRect(47).center()), QColor(0x40, 0, 0x40));
    EXPECT_EQ(pixel(popup, {40, 10}), QColor(0, 0, 0x80));         // caption
    EXPECT_EQ(pixel(popup, {60, 157}), QColor(0x80, 0x80, 0x80));  // inner bottom edge
    EXPECT_EQ(pixel(popup, {0, 80}), QColor(0xC0, 0xC0, 0xC0));    // outer left edge
    // Cell outline, then the white and black selection frames outside it.
    EXPECT_EQ(pixel(popup, {red.left(), red.center().y()}), QColor(Qt::black));
    EXPECT_EQ(pixel(popup, {red.left() - 1, red.center().y()}), QColor(Qt::white));
    EXPECT_EQ(pixel(popup, {red.left() - 2, red.center().y()}), QColor(Qt::black));
    const QRect other = PaletteGeometry::CellRect(9);
    EXPECT_NE(pixel(popup, {other.left() - 1, other.center().y()}), QColor(Qt::white));
}

TEST_F(CPaletteWndTest, NoSelectionFrameForASystemColourOrWithShowSelectOff) {
    control->SetCellColor(8, 0x8000000F);
    control->SetColor(0x8000000F);
    CPaletteWnd* popup = show();
    const QRect cell = PaletteGeometry::CellRect(8);
    const QPoint justOutside(cell.left() - 1, cell.center().y());
    EXPECT_NE(pixel(popup, justOutside), QColor(Qt::white));

    control->SetCellColor(8, 0x0000FF);
    control->SetColor(0x0000FF);
    control->SetShowSelect(false);
    control->Display();
    EXPECT_NE(pixel(popup, justOutside), QColor(Qt::white));
}
