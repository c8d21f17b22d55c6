#pragma once
#include <QWidget>
#include <cstdint>

class QToolButton;

// A spin button: two arrows and nothing else. A press on an arrow raises Click with a
// direction: 0 for the arrow set as the zero arrow, 1 for the other. Which arrow sends 0
// differs between callers (0 raises a time but steps a date back), so each instance says.
// Holding an arrow repeats the click.
namespace plat {

class Nudgel : public QWidget {
    Q_OBJECT

public:
    // Forward is the up arrow (vertical) or the right arrow (horizontal).
    enum class Arrow { Forward, Back };

    explicit Nudgel(Qt::Orientation orientation = Qt::Vertical, QWidget* parent = nullptr);

    Arrow zeroArrow() const { return m_zeroArrow; }
    void setZeroArrow(Arrow arrow) { m_zeroArrow = arrow; }
    // The direction a press on the arrow sends: 0 or 1.
    int16_t directionOf(Arrow arrow) const { return arrow == m_zeroArrow ? 0 : 1; }
    // Presses the arrow as the user would (nothing while disabled).
    void press(Arrow arrow);

signals:
    void Click(int16_t direction);

private:
    QToolButton* m_forward;
    QToolButton* m_back;
    Arrow m_zeroArrow = Arrow::Forward;
};

}  // namespace plat
