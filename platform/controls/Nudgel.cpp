#include "Nudgel.h"

#include <QBoxLayout>
#include <QToolButton>

namespace plat {
namespace {

QToolButton* arrowButton(QWidget* parent, Qt::ArrowType type, const char* name) {
    auto* b = new QToolButton(parent);
    b->setObjectName(QString::fromLatin1(name));
    b->setArrowType(type);
    b->setAutoRepeat(true);
    b->setFocusPolicy(Qt::NoFocus);
    b->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    return b;
}

}  // namespace

Nudgel::Nudgel(Qt::Orientation orientation, QWidget* parent) : QWidget(parent) {
    const bool vertical = orientation == Qt::Vertical;
    m_forward = arrowButton(this, vertical ? Qt::UpArrow : Qt::RightArrow, "forward");
    m_back = arrowButton(this, vertical ? Qt::DownArrow : Qt::LeftArrow, "back");
    auto* layout =
        new QBoxLayout(vertical ? QBoxLayout::TopToBottom : QBoxLayout::LeftToRight, this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    // Back sits left of forward; up sits above down.
    layout->addWidget(vertical ? m_forward : m_back);
    layout->addWidget(vertical ? m_back : m_forward);
    connect(m_forward, &QToolButton::clicked, this,
            [this] { emit Click(directionOf(Arrow::Forward)); });
    connect(m_back, &QToolButton::clicked, this, [this] { emit Click(directionOf(Arrow::Back)); });
}

void Nudgel::press(Arrow arrow) { (arrow == Arrow::Forward ? m_forward : m_back)->click(); }

}  // namespace plat
