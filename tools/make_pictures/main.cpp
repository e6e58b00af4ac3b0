// toravel-make-pictures: draws the five picture pages of the horoscope
// database into JPEG files.
//
//   toravel-make-pictures OUTPUT_DIR [FONT_DIR]
//
// FONT_DIR holds the DejaVu font files (default: where Debian's
// fonts-dejavu-core puts them); they are loaded by path so that the pages do
// not depend on the fonts configured on the machine.
#include <QDir>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QStringList>
#include <cstdio>

#include "tools/make_pictures/pages.h"

namespace {

// Registers a font file and returns its family name, or an empty text.
QString LoadFont(const QDir& dir, const QString& file) {
    const int id = QFontDatabase::addApplicationFont(dir.filePath(file));
    if (id < 0) {
        std::fprintf(stderr, "cannot load font %s\n", qPrintable(dir.filePath(file)));
        return {};
    }
    const QStringList families = QFontDatabase::applicationFontFamilies(id);
    return families.isEmpty() ? QString() : families.front();
}

} // namespace

int main(int argc, char** argv) {
    // Painting on a QImage needs no screen; the offscreen platform lets the
    // tool run on a build machine without a display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 2 || args.size() > 3) {
        std::fprintf(stderr, "usage: toravel-make-pictures OUTPUT_DIR [FONT_DIR]\n");
        return 2;
    }
    const QDir out(args[1]);
    const QDir fontDir(args.size() == 3 ? args[2] : QString("/usr/share/fonts/truetype/dejavu"));
    if (!out.exists()) {
        std::fprintf(stderr, "no such directory: %s\n", qPrintable(args[1]));
        return 2;
    }

    using namespace toravel::pictures;
    Fonts fonts;
    fonts.serif = LoadFont(fontDir, "DejaVuSerif.ttf");
    fonts.sans = LoadFont(fontDir, "DejaVuSans.ttf");
    const bool bold = !LoadFont(fontDir, "DejaVuSerif-Bold.ttf").isEmpty() &&
                      !LoadFont(fontDir, "DejaVuSans-Bold.ttf").isEmpty();
    if (fonts.serif.isEmpty() || fonts.sans.isEmpty() || !bold)
        return 1;

    bool ok = true;
    ok &= MakeMeaningPage(fonts, out.filePath("ras.jpg"));
    ok &= MakeMassagePage(fonts, out.filePath("pmas.jpg"));
    ok &= MakeGymnasticsPage(fonts, out.filePath("gim.jpg"));
    ok &= MakeMansAmuletPage(fonts, out.filePath("mob.jpg"));
    ok &= MakeWomansAmuletPage(fonts, out.filePath("zhob.jpg"));
    return ok ? 0 : 1;
}
