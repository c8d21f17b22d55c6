#pragma once
#include <gtest/gtest.h>

#include <QApplication>
#include <QMouseEvent>
#include <QVariantList>
#include <QWidget>
#include <array>
#include <cstdint>
#include <vector>

#include "EventSink.h"
#include "ModalHook.h"
#include "ScreenMetrics.h"
#include "TintoraIds.h"

// The palette as the control's documentation gives it, row by row; kept here apart from
// the control's own table so that a slip in either shows.
inline constexpr std::array<uint32_t, 48> kDocumentedPalette = {
    0xFFFFFF, 0xE0E0E0, 0xC0C0C0, 0x808080, 0x404040, 0x000000,  //
    0xC0C0FF, 0x8080FF, 0x0000FF, 0x0000C0, 0x000080, 0x000040,  //
    0xC0E0FF, 0x80C0FF, 0x0080FF, 0x0040C0, 0x004080, 0x404080,  //
    0xC0FFFF, 0x80FFFF, 0x00FFFF, 0x00C0C0, 0x008080, 0x004040,  //
    0xC0FFC0, 0x80FF80, 0x00FF00, 0x00C000, 0x008000, 0x004000,  //
    0xFFFFC0, 0xFFFF80, 0xFFFF00, 0xC0C000, 0x808000, 0x404000,  //
    0xFFC0C0, 0xFF8080, 0xFF0000, 0xC00000, 0x800000, 0x400000,  //
    0xFFC0FF, 0xFF80FF, 0xFF00FF, 0xC000C0, 0x800080, 0x400040,  //
};

// A 1024 x 768 screen with the cursor at 500, 400 over a 40 x 20 button at 480, 390.
inline plat::ScreenMetrics::Fixed FixedScreen() {
    plat::ScreenMetrics::Fixed f;
    f.screen = QSize(1024, 768);
    f.cursor = QPoint(500, 400);
    f.windowUnderCursor = QRect(480, 390, 40, 20);
    f.logicalDpi = QSize(96, 96);
    return f;
}

// Every picker test runs on the fixed screen and answers no dialog by accident.
class PickerTest : public ::testing::Test {
protected:
    void SetUp() override { plat::ScreenMetrics::SetForTest(FixedScreen()); }
    void TearDown() override {
        plat::ScreenMetrics::SetForTest(std::nullopt);
        plat::ModalHook::SetAnswererForTest({});
    }
};

// Records the ColorClick events a control fires.
struct ClickLog : plat::EventSink {
    struct Click {
        uint32_t colour;
        int item;
    };
    std::vector<Click> clicks;
    ClickLog() {
        On(tintora::event::ColorClick, [this](const QVariantList& a) {
            clicks.push_back({a.value(0).toUInt(), a.value(1).toInt()});
        });
    }
};

// Mouse events straight to a widget, with the buttons held as given.
inline void SendMouse(QWidget* w, QEvent::Type type, const QPoint& p, Qt::MouseButton button,
                      Qt::MouseButtons held) {
    QMouseEvent e(type, QPointF(p), QPointF(w->mapToGlobal(p)), button, held, Qt::NoModifier);
    QApplication::sendEvent(w, &e);
}
inline void Press(QWidget* w, const QPoint& p) {
    SendMouse(w, QEvent::MouseButtonPress, p, Qt::LeftButton, Qt::LeftButton);
}
inline void DragTo(QWidget* w, const QPoint& p) {
    SendMouse(w, QEvent::MouseMove, p, Qt::NoButton, Qt::LeftButton);
}
inline void Release(QWidget* w, const QPoint& p) {
    SendMouse(w, QEvent::MouseButtonRelease, p, Qt::LeftButton, Qt::NoButton);
}

// The palette windows that exist now, found by class name: a palette made by the loaded
// library has a class of that library's own.
inline std::vector<QWidget*> PaletteWindows() {
    std::vector<QWidget*> found;
    for (QWidget* w : QApplication::allWidgets())
        if (QByteArray(w->metaObject()->className()) == "CPaletteWnd") found.push_back(w);
    return found;
}
