// Marks texts for lupdate in files that do without Qt's headers; the same definition as Qt's
// own, so either may come first. The text is translated where it is shown.
#pragma once

#ifndef QT_TRANSLATE_NOOP
#define QT_TRANSLATE_NOOP(scope, x) x
#endif
