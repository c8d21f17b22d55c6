#pragma once
#include <QPageSize>
#include <QSize>
#include <QString>
#include <cstdint>

// The twelve papers of the print-preview control, by code 1..12 (1 is Letter), with the
// names a program lists them by. The size of each is the one its name gives ("Letter
// 8.5x11in" is 8.5 by 11 inches), so a name and its size can never disagree.
namespace plat {

class ViewProPaper {
public:
    static constexpr int kFirst = 1;
    static constexpr int kLast = 12;
    static constexpr int kTwipsPerInch = 1440;

    static bool IsValid(int code) { return code >= kFirst && code <= kLast; }
    // "Letter 8.5x11in" for 1 ... "B5 182x257mm" for 12; "" for an unknown code.
    static QString Name(int code);
    // Width and height in twips as the name gives them (17x11 stays wider than high);
    // an empty size for an unknown code.
    static QSize Twips(int code);
    // The same paper for a printer: a standard size when it is exactly one, else a
    // custom size of the named measures.
    static QPageSize PageSize(int code);
};

}  // namespace plat
