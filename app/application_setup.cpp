#include "app/application_setup.h"

#include <filesystem>
#include <system_error>

#include <QApplication>
#include <QLibraryInfo>
#include <QStringList>
#include <QTranslator>

#include "app/paths.h"
#include "storage/windows_path.h"

namespace toravel {

void NameApplication() {
    QApplication::setApplicationName(QStringLiteral("toravel"));
    QApplication::setDesktopFileName(QStringLiteral("ru.toravel.Toravel"));
}

bool InstallRussianTranslations(QApplication& application) {
    // Owned by the application, so it lives as long as the texts are used.
    auto* translator = new QTranslator(&application);
    const QString name = QString::fromLatin1(
        paths::QtTranslationName.data(), static_cast<qsizetype>(paths::QtTranslationName.size()));
    if (!translator->load(name, QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete translator;
        return false;
    }
    return QApplication::installTranslator(translator);
}

QFont WindowFont() {
    QFont font(QStringLiteral("MS Sans Serif"));
    font.setFamilies({QStringLiteral("MS Sans Serif"), QStringLiteral("Liberation Sans"),
                      QStringLiteral("DejaVu Sans")});
    font.setPixelSize(11);
    font.setBold(false);
    return font;
}

bool DataFileExists(std::string_view windowsPath) {
    std::error_code error;
    return std::filesystem::is_regular_file(ResolveWindowsPath(windowsPath), error);
}

} // namespace toravel
