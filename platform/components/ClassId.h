#pragma once
#include <QString>
#include <array>
#include <cstdint>

// Stand-in for a class identifier (a GUID): 128 bits, written as
// "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}" in upper-case hexadecimal. Standard layout, so
// a pointer to one can cross into a component library's C exports.
namespace plat {

struct ClassId {
    uint32_t data1 = 0;
    uint16_t data2 = 0;
    uint16_t data3 = 0;
    std::array<uint8_t, 8> data4{};

    // Parses the braced text form (braces optional, case ignored). A malformed text gives
    // the null id and ok = false.
    static ClassId FromString(const QString& text, bool* ok = nullptr);
    QString ToString() const;
    bool IsNull() const;

    friend bool operator==(const ClassId&, const ClassId&) = default;
};

}  // namespace plat
