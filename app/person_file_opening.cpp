#include "app/person_file_opening.h"

#include <QDir>
#include <QString>

#include "app/message_presenter.h"
#include "people/person_file_path.h"
#include "people/set_aside.h"

namespace toravel {
namespace {

QString Native(const std::filesystem::path& path) {
    return QDir::toNativeSeparators(QString::fromStdString(path.string()));
}

QString Utf8(const char* text) {
    return QString::fromUtf8(text);
}

} // namespace

std::filesystem::path PersonFilePath() {
    return DefaultPersonFileLocation().path;
}

std::optional<PersonFile> OpenPersonFileAsking(const std::filesystem::path& path) {
    if (path.empty()) {
        Presenter().ShowMessage(QStringLiteral("Картотеку негде хранить: ") +
                                QString::fromStdString(DefaultPersonFileLocation().problem) +
                                QStringLiteral("."));
        return std::nullopt;
    }
    try {
        return PersonFile(path);
    } catch (const PersonFileError& error) {
        if (!error.CanSetAside()) {
            Presenter().ShowMessage(Utf8(error.what()));
            return std::nullopt;
        }
        if (!Presenter().Ask(Utf8(error.what()) +
                             QStringLiteral("\n\nОтложить этот файл (он будет переименован, "
                                            "ничего не удаляется) и начать новую картотеку?")))
            return std::nullopt;
    }
    try {
        const std::filesystem::path aside = SetAsidePersonFile(path);
        Presenter().ShowMessage(
            QStringLiteral("Прежний файл картотеки отложен как %1. Начата новая картотека.")
                .arg(Native(aside)));
        return PersonFile(path);
    } catch (const PersonFileError& error) {
        Presenter().ShowMessage(Utf8(error.what()));
        return std::nullopt;
    }
}

} // namespace toravel
