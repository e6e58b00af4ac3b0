#include <cstdio>

#include "tools/make_pictures/pages.h"

namespace toravel::pictures {

bool Finish(Page& page, const QString& path) {
    const bool overflowed = page.Overflowed();
    if (overflowed)
        std::fprintf(stderr, "%s: the text runs %.0f pixels below the border\n", qPrintable(path),
                     page.Top() - page.Area().bottom());
    if (!page.Save(path, kJpegQuality)) {
        std::fprintf(stderr, "%s: cannot write\n", qPrintable(path));
        return false;
    }
    return !overflowed;
}

} // namespace toravel::pictures
