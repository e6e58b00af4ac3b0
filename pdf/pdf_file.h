// A one-page-layout PDF written through OutputFile (files/output_file.h):
// the file is replaced only once the PDF is whole on the disk, and a target
// that is no regular file is refused. The report and the month share it, so
// neither can leave half a file behind a failed write.
#pragma once

#include <functional>
#include <string>

class QPageLayout;
class QPagedPaintDevice;

namespace toravel {

// Writes the PDF that `paint` paints on a 300 dpi writer set up with the
// title and the page layout. `paint` returns false when painting cannot
// begin. False, with the reason in `problem` ("на диске нет места"), when the
// file cannot be written; the file as it was is then left alone.
bool WritePdfFile(const std::string& path, const std::string& title, const QPageLayout& layout,
                  const std::function<bool(QPagedPaintDevice&)>& paint, std::string& problem);

} // namespace toravel
