#pragma once

#include "Bitmap.h"

#include <QWidget>

#include <cstdint>

enum class TBevelShape : std::uint8_t { bsTopLine, bsBottomLine };

// An etched line along the top or bottom edge of the control: a shadow row above a highlight
// row. The rest of the control is not painted, so whatever lies beneath shows through.
class TBevel : public QWidget {
public:
    TBevel(TBevelShape shape, QWidget* parent);

    TBevelShape Shape() const { return FShape; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    TBevelShape FShape;
    TBitmap FLine;
};
