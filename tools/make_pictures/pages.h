// The five pages, each drawn into a JPEG file. A page that does not fit its
// area (text running off the bottom) is reported and counts as a failure.
#pragma once

#include <QString>

#include "tools/make_pictures/page.h"

namespace toravel::pictures {

// Page sizes at 96 pixels per inch: A4 and A5 portrait.
inline constexpr int kA4Width = 794, kA4Height = 1123;
inline constexpr int kA5Width = 559, kA5Height = 794;
inline constexpr int kJpegQuality = 85;

bool MakeMeaningPage(const Fonts& fonts, const QString& path);      // рас
bool MakeMassagePage(const Fonts& fonts, const QString& path);      // пмас
bool MakeGymnasticsPage(const Fonts& fonts, const QString& path);   // гим
bool MakeMansAmuletPage(const Fonts& fonts, const QString& path);   // моб
bool MakeWomansAmuletPage(const Fonts& fonts, const QString& path); // жоб

// Writes the page, reporting an overflow or a write error on stderr.
bool Finish(Page& page, const QString& path);

} // namespace toravel::pictures
