// The four pictures of a horoscope, from the first record of table t: the
// meaning of the period (рас), the protective massage (пмас), the gymnastics
// (гим) and the amulet for a man (моб) or a woman (жоб), decoded to RGB.
#pragma once

#include <string>
#include <vector>

#include "pdf/report_document.h"

namespace toravel {

// The pictures in that order, captioned like the picture buttons; an empty
// field gives a picture without image. Throws DatabaseError when the
// database cannot be read and JpegError when a picture is damaged.
std::vector<DocumentPicture> LoadReportPictures(const std::string& connectionString, bool female);

} // namespace toravel
