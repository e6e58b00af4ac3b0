#include "files/system_reason.h"

#include <cerrno>

namespace toravel {

std::string SystemReason(int error) {
    switch (error) {
    case EACCES:
    case EPERM:
        return "нет прав доступа";
    case ENOENT:
        return "нет такого файла или каталога";
    case ENOTDIR:
        return "в пути стоит файл вместо каталога";
    case EISDIR:
        return "это каталог, а не файл";
    case EROFS:
        return "файловая система только для чтения";
    case ENOSPC:
    case EDQUOT:
        return "на диске нет места";
    case ENAMETOOLONG:
        return "слишком длинное имя файла";
    case ELOOP:
        return "слишком много символических ссылок";
    case EIO:
        return "ошибка ввода-вывода диска";
    case EPIPE:
        return "читающая программа закрыла канал";
    case EBADF:
        return "поток вывода закрыт";
    case EFBIG:
        return "файл превысил допустимый размер";
    default:
        return {};
    }
}

std::string WriteFailureReason(int error) {
    std::string reason = SystemReason(error);
    if (reason.empty())
        reason = "ошибка записи (код " + std::to_string(error) + ")";
    return reason;
}

} // namespace toravel
