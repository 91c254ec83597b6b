// The program's own pictures, drawn at every size they are shown at: the application icon
// (a label printer feeding a barcode label) and the two pin images of the stay-on-top button.
#pragma once

#include <QIcon>
#include <QPixmap>

namespace velkaro {

QIcon AppIcon();
// A push-pin seen from above, pressed in: the window stays on top.
QIcon PinPressedIcon();
// A push-pin lying on its side: the window is ordinary.
QIcon PinLyingIcon();
constexpr QSize kPinSize{16, 15};

}  // namespace velkaro
