#pragma once
#include <QScrollBar>

// The zoom bar: a horizontal scroll bar whose value the program reads and stores. Change
// is raised whenever the value changes, by the user or by code, and not when a value is
// set to itself.
namespace plat {

class Glidex : public QScrollBar {
    Q_OBJECT

public:
    // The bar's operation numbers, as the calling code knows them.
    enum class Op { Value = 5 };
    static constexpr int kDefaultMinimum = 12;
    static constexpr int kDefaultMaximum = 240;
    static constexpr int kDefaultValue = 60;

    explicit Glidex(QWidget* parent = nullptr);

    // 5: the position, within the range (values outside are clamped).
    int position() const { return value(); }
    void setPosition(int v) { setValue(v); }

signals:
    void Change(int value);
};

}  // namespace plat
