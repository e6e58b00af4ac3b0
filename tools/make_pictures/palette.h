// Colours of the pages: unbleached linen, madder red, soot black and ochre,
// the colours of old Russian embroidery.
#pragma once

#include <QColor>

namespace toravel::pictures {

inline const QColor kPaper{0xf6, 0xef, 0xdc};
inline const QColor kRed{0xa3, 0x1f, 0x17};
inline const QColor kInk{0x2a, 0x1c, 0x12};
inline const QColor kOchre{0xc2, 0x86, 0x2c};
inline const QColor kFaded{0x8c, 0x7a, 0x66};

} // namespace toravel::pictures
