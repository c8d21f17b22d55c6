#pragma once
#include <QPointer>
#include <array>
#include <cstdint>

#include "OleControl.h"
#include "TintoraIds.h"

class CPaletteWnd;

// The colour-picker control: invisible at run time on its dialog (a fixed 28 x 28-pixel
// cell that draws nothing), it pops up a palette of 48 colour cells on Display or
// ShowColor; a click on a cell makes that cell's colour the control's Color and fires
// ColorClick. Colours are stored values: 0x00BBGGRR, or a system colour (high byte 0x80)
// that is translated only where it is painted.
class CTintoraCtrl : public plat::OleControl {
    Q_OBJECT

public:
    static constexpr int kCells = 48;
    static constexpr uint32_t kVersion = 0x00010000;  // 1.0
    // Set client site first, invisible at run time, activate when visible, inside-out,
    // cannot link inside, recompose on resize.
    static constexpr uint32_t kMiscStatus = 0x20591;
    static constexpr uint32_t kDefaultBackColor = 0xC0C0C0;
    static constexpr uint32_t kDefaultColor = 0xFFFFFF;
    static const std::array<uint32_t, kCells> kDefaultPalette;

    explicit CTintoraCtrl(QWidget* parent = nullptr);
    ~CTintoraCtrl() override;

    uint32_t BackColor() const { return m_backColor; }
    void SetBackColor(uint32_t color);
    uint32_t Color() const { return m_color; }
    void SetColor(uint32_t color);
    // Cell 0..47 (the property Color1 + cell); 0 for a cell outside the palette.
    uint32_t CellColor(int cell) const;
    void SetCellColor(int cell, uint32_t color);
    bool ShowSelect() const { return m_showSelect; }
    void SetShowSelect(bool show);
    int16_t WindowXPosn() const { return m_windowXPosn; }
    void SetWindowXPosn(int16_t x);
    int16_t WindowYPosn() const { return m_windowYPosn; }
    void SetWindowYPosn(int16_t y);
    int16_t WinXOffset() const { return m_winXOffset; }
    void SetWinXOffset(int16_t dx);
    int16_t WinYOffset() const { return m_winYOffset; }
    void SetWinYOffset(int16_t dy);
    int16_t Position() const { return m_position; }
    // Only 0..9 are taken; any other value is ignored.
    void SetPosition(int16_t position);

    // Shows the palette near the cursor (or as Position says); nothing while disabled.
    void Display();
    void ShowColor() { Display(); }
    // Throws the palette window away and makes a new, hidden one.
    void Reset();
    void AboutBox();

    // The palette reports a click on a cell: Color takes the cell's stored value and
    // ColorClick fires with it and the cell's index. The control is not marked modified.
    void CellClicked(int cell);
    // The palette was dropped at x, y in mode 8: the next showing starts there. Not a
    // change the container needs to save, so the control is not marked modified.
    void StoreDraggedPosition(int16_t x, int16_t y);

    bool PopupCreated() const;
    CPaletteWnd* Popup() const;

    uint32_t MiscStatus() const override { return kMiscStatus; }
    QList<plat::ClassId> PropertyPageIds() const override;

protected:
    void DoPropExchange(plat::PropExchange& px) override;
    void OnResetState() override;
    bool OnSetExtent(QSize& himetric) override;
    void OnDraw(QPainter& painter, const QRect& bounds) override;

private:
    // Every setter stores and marks the control modified, so the container saves it.
    template <class T>
    void store(T& member, T value) {
        member = value;
        SetModifiedFlag();
    }
    void buildDispatch();
    bool createPopup();
    void destroyPopup();

    uint32_t m_backColor = kDefaultBackColor;
    uint32_t m_color = kDefaultColor;
    std::array<uint32_t, kCells> m_colors = kDefaultPalette;
    int16_t m_windowXPosn = 0;
    int16_t m_windowYPosn = 0;
    int16_t m_winXOffset = 0;
    int16_t m_winYOffset = 0;
    int16_t m_position = PosnCRight;
    bool m_showSelect = true;
    // The pop-up window; null until the first Display (or Reset). Its being there is
    // the "pop-up created" state, so the two can never disagree.
    QPointer<CPaletteWnd> m_popup;
};
