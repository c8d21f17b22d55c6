#include <QDialog>
#include <QTest>

#include "CPaletteWnd.h"
#include "CTintoraCtrl.h"
#include "PaletteGeometry.h"
#include "PickerTestSupport.h"

namespace {

namespace disp = tintora::disp;

void put32(QByteArray& b, uint32_t v) {
    for (int i = 0; i < 4; ++i) b.append(static_cast<char>((v >> (8 * i)) & 0xFF));
}
void put16(QByteArray& b, uint16_t v) {
    b.append(static_cast<char>(v & 0xFF));
    b.append(static_cast<char>(v >> 8));
}

// The saved record of a control with every default, written out field by field.
QByteArray defaultRecord() {
    QByteArray b;
    put32(b, 0x00010000);  // version 1.0
    put32(b, 740);         // extent, 28 pixels at 96 dpi in 0.01 mm
    put32(b, 740);
    put32(b, 0x41);        // stock properties: background colour and Enabled
    put32(b, 0x8000000F);  // stock background: the button face
    b.append('\x01');      // Enabled
    put32(b, 0xC0C0C0);    // BackColor
    put32(b, 0xFFFFFF);    // Color
    for (uint32_t c : kDocumentedPalette) put32(b, c);
    b.append('\x01');                         // ShowSelect
    for (int i = 0; i < 4; ++i) put16(b, 0);  // window position and offsets
    put16(b, 2);                              // Position: right of the cursor
    return b;
}

// A control with a value other than its default in every member.
void changeEverything(CTintoraCtrl& c) {
    c.SetBackColor(0x123456);
    c.SetColor(0x8000000F);
    for (int i = 0; i < 48; ++i) c.SetCellColor(i, 0x010203u * static_cast<uint32_t>(i));
    c.SetShowSelect(false);
    c.SetWindowXPosn(-300);
    c.SetWindowYPosn(32767);
    c.SetWinXOffset(-32768);
    c.SetWinYOffset(7);
    c.SetPosition(PosnCalc);
    c.SetStockEnabled(false);
}

void expectSameState(const CTintoraCtrl& a, const CTintoraCtrl& b) {
    EXPECT_EQ(a.BackColor(), b.BackColor());
    EXPECT_EQ(a.Color(), b.Color());
    for (int i = 0; i < 48; ++i) EXPECT_EQ(a.CellColor(i), b.CellColor(i)) << "cell " << i;
    EXPECT_EQ(a.ShowSelect(), b.ShowSelect());
    EXPECT_EQ(a.WindowXPosn(), b.WindowXPosn());
    EXPECT_EQ(a.WindowYPosn(), b.WindowYPosn());
    EXPECT_EQ(a.WinXOffset(), b.WinXOffset());
    EXPECT_EQ(a.WinYOffset(), b.WinYOffset());
    EXPECT_EQ(a.Position(), b.Position());
    EXPECT_EQ(a.StockEnabled(), b.StockEnabled());
}

using CTintoraCtrlPersistence = PickerTest;
using CTintoraCtrlAutomation = PickerTest;
using CTintoraCtrlPopup = PickerTest;

}  // namespace

TEST_F(CTintoraCtrlPersistence, ANewControlSavesTheDocumented232ByteRecord) {
    CTintoraCtrl c;
    c.InitNew();
    const QByteArray saved = c.SaveToStream();
    ASSERT_EQ(saved.size(), 232);
    EXPECT_EQ(saved, defaultRecord());
    // Spot checks of the layout: Position last, ShowSelect at 221, the palette from 29.
    EXPECT_EQ(saved.mid(230, 2), QByteArray("\x02\x00", 2));
    EXPECT_EQ(saved.at(221), '\x01');
    EXPECT_EQ(saved.mid(29 + 8 * 4, 4), QByteArray("\xFF\x00\x00\x00", 4));  // Color9, red
}

TEST_F(CTintoraCtrlPersistence, AStreamRoundTripKeepsEveryValueAndClearsTheModifiedFlag) {
    CTintoraCtrl a;
    changeEverything(a);
    EXPECT_TRUE(a.IsModified());
    const QByteArray saved = a.SaveToStream();
    EXPECT_EQ(saved.size(), 232);
    EXPECT_FALSE(a.IsModified());

    CTintoraCtrl b;
    ASSERT_TRUE(b.LoadFromStream(saved));
    expectSameState(a, b);
    EXPECT_FALSE(b.IsModified());
    EXPECT_EQ(b.SaveToStream(), saved);
}

TEST_F(CTintoraCtrlPersistence, ANamedBagRoundTripKeepsEveryValue) {
    CTintoraCtrl a;
    changeEverything(a);
    plat::PropertyBag bag;
    a.Save(bag);
    EXPECT_EQ(bag.Read("Color7").toUInt(), 0x010203u * 6);
    EXPECT_EQ(bag.Read("position").toInt(), 8);  // names without regard to case

    CTintoraCtrl b;
    ASSERT_TRUE(b.Load(bag));
    expectSameState(a, b);
}

TEST_F(CTintoraCtrlPersistence, NamesMissingFromTheBagOrUnusableTakeTheirDefaults) {
    CTintoraCtrl a;
    changeEverything(a);
    plat::PropertyBag bag;
    a.Save(bag);
    for (const char* name : {"BackColor", "Color48", "ShowSelect", "Position", "Enabled"})
        bag.Remove(name);
    bag.Write("WindowXPosn", 70000);  // does not fit 16 bits
    bag.Write("WinYOffset", "seven");

    CTintoraCtrl b;
    b.SetWindowXPosn(99);
    ASSERT_TRUE(b.Load(bag));
    EXPECT_EQ(b.BackColor(), 0xC0C0C0u);
    EXPECT_EQ(b.CellColor(47), 0x400040u);
    EXPECT_TRUE(b.ShowSelect());
    EXPECT_EQ(b.Position(), PosnCRight);
    EXPECT_TRUE(b.StockEnabled());
    EXPECT_EQ(b.WindowXPosn(), 0);
    EXPECT_EQ(b.WinYOffset(), 0);
    // What was there still loads.
    EXPECT_EQ(b.Color(), 0x8000000Fu);
    EXPECT_EQ(b.CellColor(46), a.CellColor(46));
    EXPECT_EQ(b.WinXOffset(), -32768);
}

TEST_F(CTintoraCtrlPersistence, AShortOrUnknownRecordIsRefusedAndLeavesTheDefaults) {
    CTintoraCtrl source;
    changeEverything(source);
    const QByteArray good = source.SaveToStream();
    QByteArray unknownStock = good;
    unknownStock[12] = '\x43';  // a stock property this control does not have
    struct Case {
        const char* name;
        QByteArray bytes;
    };
    for (const Case& c : {Case{"empty", QByteArray()}, Case{"one byte short", good.left(231)},
                          Case{"cut in the palette", good.left(100)},
                          Case{"unknown stock property", unknownStock}}) {
        CTintoraCtrl target;
        changeEverything(target);
        target.Display();
        EXPECT_FALSE(target.LoadFromStream(c.bytes)) << c.name;
        expectSameState(target, CTintoraCtrl());
        EXPECT_FALSE(target.PopupCreated()) << c.name;
        EXPECT_FALSE(target.IsModified()) << c.name;
    }
}

TEST_F(CTintoraCtrlPersistence, SavingKeepsTrackOfAnOpenPopupSoTheNextShowReusesIt) {
    QDialog dialog;
    auto* c = new CTintoraCtrl(&dialog);
    c->Display();
    CPaletteWnd* first = c->Popup();
    ASSERT_NE(first, nullptr);
    c->SaveToStream();
    plat::PropertyBag bag;
    c->Save(bag);
    EXPECT_TRUE(c->PopupCreated());
    c->Display();
    EXPECT_EQ(c->Popup(), first);
    EXPECT_EQ(PaletteWindows().size(), 1u);
}

TEST_F(CTintoraCtrlPersistence, LoadingOrResettingDropsAnOpenPopup) {
    QDialog dialog;
    auto* c = new CTintoraCtrl(&dialog);
    const QByteArray saved = c->SaveToStream();
    c->Display();
    ASSERT_TRUE(c->LoadFromStream(saved));
    EXPECT_FALSE(c->PopupCreated());
    EXPECT_TRUE(PaletteWindows().empty());
    c->Display();
    c->InitNew();
    EXPECT_FALSE(c->PopupCreated());
    EXPECT_TRUE(PaletteWindows().empty());
}

TEST_F(CTintoraCtrlAutomation, MembersAreListedInTypeLibraryOrderAndFoundByIdOrName) {
    CTintoraCtrl c;
    QStringList names;
    for (const plat::DispMember& m : c.Dispatch().Members()) names << m.name;
    QStringList expected{"BackColor", "Enabled"};
    for (int i = 1; i <= 48; ++i) expected << QString("Color%1").arg(i);
    expected += QStringList{"Color",    "ShowSelect", "WindowXPosn", "WindowYPosn",
                            "Position", "WinXOffset", "WinYOffset",  "Display",
                            "Reset",    "ShowColor",  "AboutBox"};
    EXPECT_EQ(names, expected);
    EXPECT_EQ(c.IdOfName("showcolor"), disp::ShowColor);
    EXPECT_EQ(c.IdOfName("Color13"), 13);
    EXPECT_EQ(c.IdOfName("Colour"), plat::kDispIdUnknown);
    EXPECT_EQ(c.Dispatch().InterfaceHelp(), "Dispatch interface for Tintora Control");
    const plat::DispMember* position = c.Dispatch().Find(disp::Position);
    ASSERT_NE(position, nullptr);
    ASSERT_EQ(position->enumValues.size(), 10);
    EXPECT_EQ(position->enumValues[5].help, "Top of Control");
}

TEST_F(CTintoraCtrlAutomation, PutsStoreAndMarkModifiedAndCellsAreIndependentOfColor) {
    CTintoraCtrl c;
    EXPECT_TRUE(c.PutProperty(disp::Color1 + 4, 0x00ABCDEFu));
    EXPECT_TRUE(c.IsModified());
    EXPECT_EQ(c.CellColor(4), 0xABCDEFu);
    EXPECT_EQ(c.Color(), 0xFFFFFFu);
    EXPECT_TRUE(c.PutProperty(disp::Color, static_cast<int>(0x8000000F)));  // arrives signed
    EXPECT_EQ(c.Color(), 0x8000000Fu);
    QVariant v;
    ASSERT_TRUE(c.GetProperty(disp::Color, v));
    EXPECT_EQ(v.toUInt(), 0x8000000Fu);
    EXPECT_TRUE(c.PutProperty(disp::WinXOffset, -12));
    EXPECT_EQ(c.WinXOffset(), -12);
}

TEST_F(CTintoraCtrlAutomation, AnUnknownPositionIsIgnoredWithoutMarkingTheControlModified) {
    for (int bad : {10, 12, -1, 32767}) {
        CTintoraCtrl c;
        c.SetPosition(PosnLeft);
        c.SaveToStream();  // clears the modified flag
        c.PutProperty(disp::Position, bad);
        EXPECT_EQ(c.Position(), PosnLeft) << bad;
        EXPECT_FALSE(c.IsModified()) << bad;
    }
}

TEST_F(CTintoraCtrlAutomation, AValueThatDoesNotFit16BitsIsRefused) {
    CTintoraCtrl c;
    EXPECT_FALSE(c.PutProperty(disp::WindowXPosn, 40000));
    EXPECT_FALSE(c.PutProperty(disp::WinYOffset, -32769));
    EXPECT_FALSE(c.PutProperty(disp::Color, "red"));
    EXPECT_EQ(c.WindowXPosn(), 0);
    EXPECT_EQ(c.WinYOffset(), 0);
    EXPECT_FALSE(c.IsModified());
    EXPECT_FALSE(c.CallMethod(disp::Color));  // a property is no method
    EXPECT_FALSE(c.PutProperty(disp::ShowColor, 1));
}

TEST_F(CTintoraCtrlAutomation, EverySizeRequestGives28By28Pixels) {
    struct Case {
        int dpi;
        int extent;
    };
    for (const Case& k : {Case{96, 740}, Case{120, 592}, Case{144, 493}}) {
        auto screen = FixedScreen();
        screen.logicalDpi = QSize(k.dpi, k.dpi);
        plat::ScreenMetrics::SetForTest(screen);
        CTintoraCtrl c;
        c.SetExtent(QSize(5000, 300));
        EXPECT_EQ(c.Extent(), QSize(k.extent, k.extent)) << k.dpi;
        EXPECT_EQ(c.size(), QSize(28, 28)) << k.dpi;
    }
}

TEST_F(CTintoraCtrlAutomation, AboutBoxShowsTheAboutDialogModally) {
    QString title;
    plat::ModalHook::SetAnswererForTest([&](QDialog& d) {
        title = d.windowTitle();
        return int(QDialog::Accepted);
    });
    CTintoraCtrl c;
    EXPECT_TRUE(c.CallMethod(disp::AboutBox));
    EXPECT_EQ(title, "About Tintora");
}

TEST_F(CTintoraCtrlPopup, DisplayWhileDisabledShowsNothingAndCreatesNoWindow) {
    QDialog dialog;
    auto* c = new CTintoraCtrl(&dialog);
    c->PutProperty(disp::Enabled, false);
    c->CallMethod(disp::Display);
    c->CallMethod(disp::ShowColor);
    EXPECT_FALSE(c->PopupCreated());
    EXPECT_TRUE(PaletteWindows().empty());
}

TEST_F(CTintoraCtrlPopup, TwoShowsCreateTheWindowOnceAndShowItTwice) {
    QDialog dialog;
    auto* c = new CTintoraCtrl(&dialog);
    c->CallMethod(disp::ShowColor);
    CPaletteWnd* first = c->Popup();
    ASSERT_NE(first, nullptr);
    EXPECT_TRUE(first->isVisible());
    first->hide();
    c->CallMethod(disp::Display);
    EXPECT_EQ(c->Popup(), first);
    EXPECT_TRUE(first->isVisible());
    EXPECT_EQ(PaletteWindows().size(), 1u);
}

TEST_F(CTintoraCtrlPopup, ResetReplacesAShownPopupWithAHiddenOne) {
    QDialog dialog;
    auto* c = new CTintoraCtrl(&dialog);
    c->Display();
    c->CallMethod(disp::Reset);
    ASSERT_TRUE(c->PopupCreated());
    EXPECT_FALSE(c->Popup()->isVisible());
    EXPECT_EQ(PaletteWindows().size(), 1u);
    c->Display();
    EXPECT_TRUE(c->Popup()->isVisible());
}

TEST_F(CTintoraCtrlPopup, ThePopupGoesWithTheControl) {
    QDialog dialog;
    auto* c = new CTintoraCtrl(&dialog);
    c->Display();
    delete c;
    EXPECT_TRUE(PaletteWindows().empty());
}

TEST_F(CTintoraCtrlPopup, ThePaletteTakesClicksWhileTheControlsDialogIsModal) {
    QDialog dialog;
    auto* c = new CTintoraCtrl(&dialog);
    ClickLog log;
    c->Advise(&log);
    dialog.setWindowModality(Qt::ApplicationModal);
    dialog.show();
    c->Display();
    CPaletteWnd* popup = c->Popup();
    ASSERT_NE(popup, nullptr);
    EXPECT_EQ(popup->parentWidget(), &dialog);
    // Through the window system, where a modal dialog blocks the windows that are not
    // its own.
    QTest::mouseClick(popup->windowHandle(), Qt::LeftButton, {},
                      PaletteGeometry::CellRect(9).center());
    ASSERT_EQ(log.clicks.size(), 1u);
    EXPECT_EQ(log.clicks[0].item, 9);
    dialog.hide();
}
