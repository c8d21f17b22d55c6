#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "CAboutPropPage.h"
#include "CTintoraCtrl.h"
#include "CTintoraPropPage.h"
#include "PickerTestSupport.h"
#include "PropertyFrame.h"
#include "StockColorPage.h"

namespace {

class GeneralPageTest : public PickerTest {
protected:
    void SetUp() override {
        PickerTest::SetUp();
        control.SetPosition(PosnRight);
        control.SetWindowXPosn(-120);
        control.SetWinYOffset(15);
        control.SetShowSelect(false);
        control.SaveToStream();
        page.SetObject(&control);
    }
    QLineEdit* edit(int id) { return qobject_cast<QLineEdit*>(page.Item(id)); }
    QComboBox* positions() { return qobject_cast<QComboBox*>(page.Item(201)); }
    QCheckBox* check(int id) { return qobject_cast<QCheckBox*>(page.Item(id)); }
    void type(int id, const QString& text) {
        edit(id)->clear();
        QTest::keyClicks(edit(id), text);
    }

    CTintoraCtrl control;
    CTintoraPropPage page;
};

// A frame with the General page on a control.
class PropertyFrameTest : public PickerTest {
protected:
    void SetUp() override {
        PickerTest::SetUp();
        frame.AddPage(general);
        general->SetObject(&control);
    }
    CTintoraCtrl control;
    plat::PropertyFrame frame;
    CTintoraPropPage* general = new CTintoraPropPage;
};

using StockColorPageTest = PickerTest;

}  // namespace

TEST_F(GeneralPageTest, ShowsTheControlsValuesInItsItems) {
    EXPECT_EQ(page.Caption(), "General");
    EXPECT_EQ(positions()->count(), 10);
    EXPECT_EQ(positions()->itemText(5), "5 -Top of Control");
    EXPECT_EQ(positions()->currentIndex(), 6);
    EXPECT_EQ(edit(202)->text(), "-120");
    EXPECT_EQ(edit(203)->text(), "0");
    EXPECT_EQ(edit(207)->text(), "15");
    EXPECT_FALSE(check(204)->isChecked());
    EXPECT_TRUE(check(205)->isChecked());
    EXPECT_FALSE(page.IsDirty());
}

TEST_F(GeneralPageTest, ApplyWritesEveryItemToTheControl) {
    positions()->setCurrentIndex(9);  // "9 - Center of Screen"
    type(202, "300");
    type(203, "-32768");
    type(206, "32767");
    check(204)->setChecked(true);
    check(205)->setChecked(false);
    EXPECT_TRUE(page.IsDirty());
    ASSERT_TRUE(page.Apply());
    EXPECT_EQ(control.Position(), PosnCenter);
    EXPECT_EQ(control.WindowXPosn(), 300);
    EXPECT_EQ(control.WindowYPosn(), -32768);
    EXPECT_EQ(control.WinXOffset(), 32767);
    EXPECT_TRUE(control.ShowSelect());
    EXPECT_FALSE(control.StockEnabled());
    EXPECT_TRUE(control.IsModified());
    EXPECT_FALSE(page.IsDirty());
}

TEST_F(GeneralPageTest, NumbersOutside16BitsOrNotNumbersAreRefusedAndNothingIsWritten) {
    for (const char* bad : {"40000", "-32769", "65535", "12abc", ""}) {
        check(205)->setChecked(false);
        type(202, bad);
        EXPECT_FALSE(page.Apply()) << bad;
        EXPECT_FALSE(page.ErrorText().isEmpty()) << bad;
        EXPECT_EQ(control.WindowXPosn(), -120) << bad;
        EXPECT_TRUE(control.StockEnabled()) << bad;  // the good item is not half-applied
        EXPECT_FALSE(control.IsModified()) << bad;
    }
}

TEST_F(GeneralPageTest, TextTypedIntoThePositionBoxDoesNotChangePosition) {
    QTest::keyClicks(positions()->lineEdit(), "1");
    page.Apply();
    EXPECT_EQ(control.Position(), PosnRight);
}

TEST_F(PropertyFrameTest, AppliesOnOkAndStaysOpenOnARefusedValue) {
    frame.AddPage(new CAboutPropPage);
    EXPECT_FALSE(frame.ApplyButton()->isEnabled());

    auto* x = qobject_cast<QLineEdit*>(general->Item(202));
    x->clear();
    QTest::keyClicks(x, "99999");
    EXPECT_TRUE(frame.ApplyButton()->isEnabled());
    frame.show();
    frame.OkButton()->click();
    EXPECT_TRUE(frame.isVisible());
    EXPECT_FALSE(frame.ErrorText().isEmpty());
    EXPECT_EQ(control.WindowXPosn(), 0);

    x->clear();
    QTest::keyClicks(x, "250");
    frame.OkButton()->click();
    EXPECT_FALSE(frame.isVisible());
    EXPECT_EQ(frame.result(), QDialog::Accepted);
    EXPECT_EQ(control.WindowXPosn(), 250);
}

TEST_F(PropertyFrameTest, WritesNothingOnCancel) {
    qobject_cast<QCheckBox*>(general->Item(205))->setChecked(false);
    frame.show();
    frame.CancelButton()->click();
    EXPECT_TRUE(control.StockEnabled());
    EXPECT_FALSE(control.IsModified());
}

TEST_F(StockColorPageTest, EditsEveryColourPropertyOfTheControl) {
    CTintoraCtrl control;
    plat::StockColorPage page;
    page.SetObject(&control);
    QComboBox* props = page.propertyBox();
    ASSERT_EQ(props->count(), 50);
    EXPECT_EQ(props->itemText(0), "BackColor");
    EXPECT_EQ(props->itemText(49), "Color");
    EXPECT_EQ(page.valueEdit()->text(), "&H00C0C0C0");

    props->setCurrentIndex(49);
    page.valueEdit()->clear();
    QTest::keyClicks(page.valueEdit(), "&H8000000F");
    props->setCurrentIndex(2);  // Color2
    page.valueEdit()->clear();
    QTest::keyClicks(page.valueEdit(), "0x123456");
    ASSERT_TRUE(page.Apply()) << qPrintable(page.ErrorText());
    EXPECT_EQ(control.Color(), 0x8000000Fu);
    EXPECT_EQ(control.CellColor(1), 0x123456u);
    EXPECT_EQ(control.CellColor(0), 0xFFFFFFu);
}

TEST_F(StockColorPageTest, ReadsHexadecimalColourValues) {
    struct Case {
        const char* text;
        bool ok;
        uint32_t value;
    };
    for (const Case& c :
         {Case{"C0C0C0", true, 0xC0C0C0}, Case{"&H8000000F", true, 0x8000000F},
          Case{"0xff", true, 0xFF}, Case{" &h00ffffff ", true, 0xFFFFFF}, Case{"", false, 0},
          Case{"&H", false, 0}, Case{"123456789", false, 0}, Case{"red", false, 0}}) {
        uint32_t v = 0;
        EXPECT_EQ(plat::StockColorPage::ParseColor(c.text, v), c.ok) << c.text;
        if (c.ok) {
            EXPECT_EQ(v, c.value) << c.text;
        }
    }
}
