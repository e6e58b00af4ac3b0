#include "pdf/pdf_file.h"

#include <QIODevice>
#include <QPageLayout>
#include <QPdfWriter>
#include <QString>

#include "files/output_file.h"

namespace toravel {
namespace {

// The writer's device: the output file's stream. QPdfWriter does not look
// at what a write returns, so a failed write is kept by the output file and
// named when it is committed.
class OutputFileDevice : public QIODevice {
public:
    explicit OutputFileDevice(OutputFile& file) : file_(file) { open(QIODevice::WriteOnly); }

protected:
    qint64 readData(char*, qint64) override { return -1; }
    qint64 writeData(const char* data, qint64 size) override {
        file_.Stream().write(data, static_cast<std::streamsize>(size));
        return file_.Good() ? size : -1;
    }

private:
    OutputFile& file_;
};

} // namespace

bool WritePdfFile(const std::string& path, const std::string& title, const QPageLayout& layout,
                  const std::function<bool(QPagedPaintDevice&)>& paint, std::string& problem) {
    try {
        OutputFile file(path);
        {
            OutputFileDevice device(file);
            QPdfWriter writer(&device);
            writer.setTitle(QString::fromStdString(title));
            writer.setCreator(QStringLiteral("Торавель"));
            writer.setResolution(300);
            writer.setPageLayout(layout);
            if (!paint(writer)) {
                problem = "не удалось начать страницу PDF";
                return false; // the file removes its temporary file
            }
        }
        file.Commit();
    } catch (const OutputFileError& e) {
        problem = e.Reason();
        return false;
    }
    return true;
}

} // namespace toravel
