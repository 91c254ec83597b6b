// Dialog units: layout tables give positions in units of the dialog font, a quarter of the
// average character width across and an eighth of the character height down, so a table keeps
// its proportions at any font size.
#pragma once

#include <QFont>
#include <QRect>

namespace velkaro {

class DialogUnits {
  public:
    explicit DialogUnits(const QFont& font);
    int X(int units) const;
    int Y(int units) const;
    QRect Rect(int x, int y, int width, int height) const;
    int BaseWidth() const { return baseWidth_; }
    int BaseHeight() const { return baseHeight_; }

  private:
    int baseWidth_;
    int baseHeight_;
};

// The dialog font: a CJK sans face at the given size, standing in for the 10-point Song face
// the layout tables were drawn for.
QFont DialogFont(int pointSize = 10);

}  // namespace velkaro
