#include <QLabel>
#include <QMenu>
#include <QRadioButton>

#include "ClsIni.h"
#include "Glidex.h"
#include "KeyedToolbar.h"
#include "Nudgel.h"
#include "PreviewFixture.h"

namespace {

using PreviewWindow = PreviewFixture;

TEST_F(PreviewWindow, LoadTakesZoomAndPaperFromTheSettingsAndEndsOnTheDayReport) {
    SharedObjects::Ini().WriteValue("Preview", "Zoom", 150);
    SharedObjects::Ini().WriteValue("Options", "PageSize", 9);
    open();
    EXPECT_EQ(preview->Glidex1->position(), 150);
    EXPECT_EQ(preview->ViewPro1->zoom(), 150);
    EXPECT_EQ(preview->ViewPro1->paperSize(), 9);
    EXPECT_EQ(preview->RepType(), DlgPreview::DayReport);
    EXPECT_TRUE(preview->Option1[0]->isChecked());
    EXPECT_FALSE(preview->CbSelect->isEnabled());
    EXPECT_EQ(preview->CbSelect->count(), 0);
    EXPECT_EQ(preview->LblPages->text(), "Page 1 of 1");
    // The zoom bar writes its setting at once.
    preview->Glidex1->setPosition(75);
    EXPECT_EQ(SharedObjects::Ini().GetNumber("Preview", "Zoom", 0), 75);
    EXPECT_EQ(preview->ViewPro1->zoom(), 75);
    // The first activation takes the editor's place and draws the day report.
    preview->Form_Activate();
    EXPECT_EQ(preview->geometry(), editor.window.geometry());
}

TEST_F(PreviewWindow, PageSpinStepsWithinTheDocumentAndAlwaysRewritesTheLabel) {
    editor.rowsPerDay = 80;
    editor.ShowBookings();
    open();
    const int pages = preview->ViewPro1->pageCount();
    ASSERT_GE(pages, 3);
    const QString last = QString(" of %1").arg(pages);
    preview->LblPages->clear();
    preview->PageSpin->press(plat::Nudgel::Arrow::Back);
    EXPECT_EQ(preview->ViewPro1->pageNo(), 1);
    EXPECT_EQ(preview->LblPages->text(), "Page 1" + last);
    preview->PageSpin->press(plat::Nudgel::Arrow::Forward);
    EXPECT_EQ(preview->LblPages->text(), "Page 2" + last);
    for (int i = 0; i < pages + 2; ++i) preview->PageSpin_Click(1);
    EXPECT_EQ(preview->ViewPro1->pageNo(), pages);
    EXPECT_EQ(preview->LblPages->text(), QString("Page %1").arg(pages) + last);
    preview->PageSpin_Click(0);
    EXPECT_EQ(preview->ViewPro1->pageNo(), pages - 1);
}

TEST_F(PreviewWindow, DateStepsMoveTheEditorAndShowItsDayReport) {
    open().SelectReport(DlgPreview::CustomerReport);
    const int reloads = editor.reloads;
    preview->SpinDate->press(plat::Nudgel::Arrow::Back);
    EXPECT_EQ(CalendarState::CalDate(), kDay - 1);
    EXPECT_EQ(editor.reloads, reloads + 1);
    EXPECT_EQ(preview->RepType(), DlgPreview::DayReport);
    EXPECT_TRUE(preview->Option1[0]->isChecked());
    const auto& texts = document().page(1)->texts;
    ASSERT_GE(texts.size(), 2u);
    EXPECT_EQ(texts[1].text, "Sunday, 1 March 2026");
    preview->mnuDateNext->trigger();
    preview->mnuDateNext->trigger();
    EXPECT_EQ(CalendarState::CalDate(), kDay + 1);
    EXPECT_EQ(document().page(1)->texts[1].text, "Tuesday, 3 March 2026");
}

TEST_F(PreviewWindow, ResourceArrowsStepThroughTheEditorsListAndStopAtItsEnds) {
    editor.rowsPerDay = 80;
    editor.ShowBookings();
    open();
    preview->PageSpin_Click(1);  // a redraw would show page 1 again
    preview->Toolbar1->press("ArrowLeft");
    EXPECT_EQ(editor.resources.ListIndex(), 0);
    EXPECT_EQ(preview->ViewPro1->pageNo(), 2);
    preview->Toolbar1->press("ArrowRight");
    EXPECT_EQ(editor.resources.ListIndex(), 1);
    EXPECT_EQ(preview->ViewPro1->pageNo(), 1);
    EXPECT_EQ(document().page(1)->texts[0].text, "Room B");
    preview->mnuResourceNext->trigger();
    preview->mnuResourceNext->trigger();
    EXPECT_EQ(editor.resources.ListIndex(), 2);
    preview->mnuResourcePrevious->trigger();
    EXPECT_EQ(document().page(1)->texts[0].text, "Room B");
    // With no resource chosen the first one is taken.
    editor.resources.setCurrentIndex(-1);
    preview->Toolbar1_ButtonClick("ArrowRight");
    EXPECT_EQ(editor.resources.ListIndex(), 0);
}

TEST_F(PreviewWindow, ResizingKeepsTheLeastSizeAndTheSpinOnThePreviewsRightEdge) {
    open();
    preview->show();
    const int tw = DlgPreview::kTwipsPerPixel;
    preview->resize(6000 / tw, 4000 / tw);
    EXPECT_EQ(preview->size(), QSize(8175 / tw, 5160 / tw));
    EXPECT_EQ(preview->ViewPro1->size(), QSize(7815 / tw, 3495 / tw));
    EXPECT_EQ(preview->PageSpin->geometry().right(), preview->ViewPro1->geometry().right());
    preview->resize(900, 700);
    EXPECT_EQ(preview->ViewPro1->size(), QSize(900 - 360 / tw, 700 - 1665 / tw));
    EXPECT_EQ(preview->PageSpin->geometry().right(), preview->ViewPro1->geometry().right());
    EXPECT_EQ(preview->LblPages->geometry().right() + 1 + 40 / tw, preview->PageSpin->x());
}

TEST_F(PreviewWindow, PrintFromTheMenuPrintsTheWholeDocument) {
    editor.rowsPerDay = 80;
    editor.ShowBookings();
    open();
    const QString path = dir.filePath("menu.pdf");
    plat::ModalHook::SetAnswererForTest([&](QDialog& d) {
        static_cast<QPrintDialog&>(d).printer()->setOutputFileName(path);
        return int(QDialog::Accepted);
    });
    preview->mnuFilePrint->trigger();
    EXPECT_EQ(ReadPdfPages(path).size(), size_t(preview->ViewPro1->pageCount()));
    preview->show();
    preview->mnuFileExit->trigger();
    EXPECT_FALSE(preview->isVisible());
}

}  // namespace
