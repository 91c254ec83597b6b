// The typefaces labels are drawn with, loaded once from the Debian font packages so that a
// label looks the same on every machine (the system's own fonts only fill in when a file is
// missing).
#pragma once

#include <QFont>

namespace velkaro::label {

// The scalable condensed sans of ZPL font 0 and the CPCL/EPL proportional text.
QFont ScalableFont(double pixelHeight);
// The monospace face the bitmap fonts (ZPL A-H, EPL 1-5, CPCL 0-7) are drawn with.
QFont MonospaceFont(double pixelHeight);

}  // namespace velkaro::label
