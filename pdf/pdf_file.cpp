#include "pdf/pdf_file.h"

#include <QPageLayout>
#include <QPdfWriter>
#include <QSaveFile>
#include <QString>

namespace toravel {

bool WritePdfFile(const std::string& path, const std::string& title, const QPageLayout& layout,
                  const std::function<bool(QPagedPaintDevice&)>& paint, std::string& problem) {
    QSaveFile file(QString::fromStdString(path));
    if (!file.open(QIODevice::WriteOnly)) {
        problem = file.errorString().toStdString();
        return false;
    }
    {
        QPdfWriter writer(&file);
        writer.setTitle(QString::fromStdString(title));
        writer.setCreator(QStringLiteral("Торавель"));
        writer.setResolution(300);
        writer.setPageLayout(layout);
        if (!paint(writer)) {
            problem = "не удалось начать страницу PDF";
            file.cancelWriting();
            return false;
        }
    }
    if (!file.commit()) {
        problem = file.errorString().toStdString();
        return false;
    }
    return true;
}

} // namespace toravel
