#pragma once

#include <QWidget>

namespace qev {

// A container that paints nothing, so the large screen panels never flicker: its children
// cover it and draw themselves.
class TQEV2016JNulPanel : public QWidget {
    Q_OBJECT
public:
    explicit TQEV2016JNulPanel(QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;
};

} // namespace qev
