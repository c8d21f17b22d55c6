#pragma once
#include <cstdint>

// What a host needs to create and drive the colour picker without linking it: the class
// and interface ids, the program ids, the dispatch ids of the automation members and
// events, and the placement modes of the pop-up.
//
//     auto* picker = plat::ObjectCreator::CreateControl(
//         plat::ClassId::FromString(tintora::kClsidCtrl), dialog);
//     picker->PutProperty(tintora::disp::Color, QVariant::fromValue(buttonColour));
//     picker->CallMethod(tintora::disp::ShowColor);
namespace tintora {

// The library, the dispatch interface, the event interface, the control and the General
// page count up in their first group.
inline constexpr const char* kLibId = "{6D0C1A40-73B2-4E1F-A8C5-2F9B41D7E360}";
inline constexpr const char* kIidDispatch = "{6D0C1A41-73B2-4E1F-A8C5-2F9B41D7E360}";
inline constexpr const char* kIidEvents = "{6D0C1A42-73B2-4E1F-A8C5-2F9B41D7E360}";
inline constexpr const char* kClsidCtrl = "{6D0C1A43-73B2-4E1F-A8C5-2F9B41D7E360}";
inline constexpr const char* kClsidPropPage = "{6D0C1A44-73B2-4E1F-A8C5-2F9B41D7E360}";
inline constexpr const char* kClsidAboutPage = "{A3F7C2E8-5B19-4D06-8E4A-C71D92B3F058}";

inline constexpr const char* kProgIdCtrl = "Tintora.TintoraCtrl.1";
inline constexpr const char* kProgIdPropPage = "Tintora.TintoraPropPage.1";
inline constexpr const char* kProgIdAboutPage = "Tintora.CAboutPropPage";

// Dispatch ids of the automation members of _DTintora.
namespace disp {
enum : int32_t {
    Color1 = 1,  // Color1..Color48 are 1..48, the palette cells 0..47
    Color48 = 48,
    Color = 49,
    ShowSelect = 50,
    WindowXPosn = 51,
    WindowYPosn = 52,
    Position = 53,
    WinXOffset = 54,
    WinYOffset = 55,
    Display = 56,
    Reset = 57,
    ShowColor = 58,
    BackColor = -501,
    Enabled = -514,
    AboutBox = -552,
};
}  // namespace disp

// Dispatch ids of _DTintoraEvents. ColorClick(clrColor: 32-bit colour, nItem: 16-bit).
namespace event {
enum : int32_t { ColorClick = 1 };
}  // namespace event

}  // namespace tintora

// Values of Position: where the pop-up palette is placed.
enum enumPosition : int16_t {
    PosnCBottom = 0,
    PosnCTop = 1,
    PosnCRight = 2,
    PosnCLeft = 3,
    PosnBottom = 4,
    PosnTop = 5,
    PosnRight = 6,
    PosnLeft = 7,
    PosnCalc = 8,
    PosnCenter = 9,
};
