#include "skin/qev2016jnulpanel.h"

namespace qev {

TQEV2016JNulPanel::TQEV2016JNulPanel(QWidget* parent)
    : QWidget(parent) {
    setAttribute(Qt::WA_NoSystemBackground);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAutoFillBackground(false);
}

void TQEV2016JNulPanel::paintEvent(QPaintEvent*) {}

} // namespace qev
