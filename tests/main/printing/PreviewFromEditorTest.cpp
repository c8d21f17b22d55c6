#include <QLabel>

#include "../booking/DlgApptFixture.h"
#include "ComboBox.h"
#include "DlgPreview.h"
#include "KeyedToolbar.h"
#include "ViewPro.h"

namespace {

// The preview opened by the real booking editor's Print command.
class PreviewFromEditor : public DlgApptTest {
protected:
    void SetUp() override {
        DlgApptTest::SetUp();
        DlgPreview::Install();
    }
    // Opens the editor on Anna's day, presses its Print, and runs `work` on the preview.
    void preview(const std::function<void(DlgAppt&, DlgPreview&)>& work) {
        plat::ModalHook::SetAnswererForTest([&](QDialog& d) {
            if (auto* shown = qobject_cast<DlgPreview*>(&d)) {
                shown->Form_Activate();
                work(*editor, *shown);
                ran = true;
            } else {
                editor = &static_cast<DlgAppt&>(d);
                editor->show();
                QCoreApplication::processEvents();
                editor->Toolbar1->press("Print");
                buttonsAfter = editor->Toolbar1->isButtonEnabled("Print");
            }
            return 0;
        });
        ApptEditorState::Show(1, 480, 1, 0, kDay);
        ASSERT_TRUE(ran);
    }
    // The texts of one band (one table line) of page 1: the title is band 0.
    static QStringList band(DlgPreview& p, int index) {
        QStringList texts;
        int32_t y = INT32_MIN;
        int n = -1;
        for (const auto& t : p.ViewPro1->document().page(1)->texts) {
            if (t.y != y) ++n;
            y = t.y;
            if (n == index) texts << t.text;
        }
        return texts;
    }

    DlgAppt* editor = nullptr;
    bool ran = false;
    bool buttonsAfter = false;
};

TEST_F(PreviewFromEditor, TheDayReportPrintsTheEditorsSlotListAsItStands) {
    booking(1, 540, 600);
    preview([](DlgAppt& e, DlgPreview& p) {
        EXPECT_EQ(band(p, 0), QStringList({"Anna", "Thursday, 11 December 2025"}));
        const int row = rowOf(540);
        QStringList cells;
        for (int c = 1; c <= 6; ++c) cells << e.LbTimeSlot->cellText(row, c);
        EXPECT_EQ(cells.mid(1), QStringList({"Visit", "Smith", "r1", "r2", "r3"}));
        EXPECT_EQ(band(p, 2 + row), cells);
        int rows = 0;
        for (int page = 1; page <= p.ViewPro1->pageCount(); ++page)
            for (const auto& t : p.ViewPro1->document().page(page)->texts)
                rows += t.text == e.LbTimeSlot->cellText(0, 1) ? 1 : 0;
        EXPECT_EQ(rows, 1);
        EXPECT_EQ(p.LblPages->text(), QString("Page 1 of %1").arg(p.ViewPro1->pageCount()));
    });
    EXPECT_TRUE(buttonsAfter);
}

TEST_F(PreviewFromEditor, DateAndResourceStepsMoveTheEditorItself) {
    booking(2, 600, 660, 2, 2, kDay + 1);  // Ben's Call for Jones the next day
    preview([](DlgAppt& e, DlgPreview& p) {
        p.SpinDate_Click(1);
        EXPECT_EQ(e.CurrentDate(), kDay + 1);
        p.Toolbar1_ButtonClick("ArrowRight");
        EXPECT_EQ(e.CbResource->currentText(), "Ben");
        EXPECT_EQ(band(p, 0), QStringList({"Ben", "Friday, 12 December 2025"}));
        EXPECT_EQ(band(p, 2 + rowOf(600)).mid(1, 2), QStringList({"Call", "Jones"}));
        p.Toolbar1_ButtonClick("ArrowRight");  // Ben is the last
        EXPECT_EQ(e.CbResource->currentText(), "Ben");
    });
}

}  // namespace
