#include "Glidex.h"

namespace plat {

Glidex::Glidex(QWidget* parent) : QScrollBar(Qt::Horizontal, parent) {
    setRange(kDefaultMinimum, kDefaultMaximum);
    setSingleStep(1);
    setPageStep(12);
    setValue(kDefaultValue);
    connect(this, &QScrollBar::valueChanged, this, &Glidex::Change);
}

}  // namespace plat
