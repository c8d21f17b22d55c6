#pragma once
#include <QString>
#include <array>
#include <cstdint>

// The paper sizes a workstation prints on, by the code kept in [Options] PageSize, with
// the names the program shows for them: one table for the configuration dialog and the
// printouts.
namespace PaperSizes {

struct Size {
    int16_t code;  // 1..12
    const char* text;
};

inline constexpr int16_t kDefaultCode = 1;  // Letter

inline constexpr std::array<Size, 12> kAll = {{
    {1, "Letter 8.5x11in"},
    {2, "Legal 8.5x14in"},
    {3, "Executive 7.5x10.5in"},
    {4, "Tabloid 11x17in"},
    {5, "Ledger 17x11in"},
    {6, "Statement 5.5x8.5in"},
    {7, "Folio 8.5x13in"},
    {8, "A3 297x420mm"},
    {9, "A4 210x297mm"},
    {10, "A5 148x210mm"},
    {11, "B4 250x354mm"},
    {12, "B5 182x257mm"},
}};

// The name of a code; "" for a code outside the table.
inline QString Text(int code) {
    for (const Size& s : kAll)
        if (s.code == code) return QString::fromLatin1(s.text);
    return QString();
}

}  // namespace PaperSizes
