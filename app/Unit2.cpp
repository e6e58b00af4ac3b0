#include "app/Unit2.h"

#include <cmath>

#include <QKeyEvent>
#include <QPainter>
#include <QPalette>

namespace toravel {
namespace {

constexpr double MillimetresPerInch = 25.4;
constexpr double PixelsPerInch = 96.0;

int PixelsOfMillimetres(double millimetres) {
    return static_cast<int>(std::lround(millimetres * PixelsPerInch / MillimetresPerInch));
}

const QString PictureHint = QStringLiteral("по ESC можно закрыть рисунок");

constexpr int FirstLeft = 229;
constexpr int FirstTop = 108;
constexpr char16_t EscapeKey = 27;

} // namespace

PagePixels PagePixelsOf(PaperSize paper) {
    switch (paper) {
    case PaperSize::A4:
        return {PixelsOfMillimetres(210), PixelsOfMillimetres(297)};
    case PaperSize::A5:
        break;
    }
    return {PixelsOfMillimetres(148), PixelsOfMillimetres(210)};
}

StretchedImage::StretchedImage(QWidget* parent) : QWidget(parent) {}

void StretchedImage::SetPicture(const QImage& picture) {
    picture_ = picture;
    update();
}

void StretchedImage::paintEvent(QPaintEvent*) {
    if (picture_.isNull())
        return;
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    // Stretched over the whole area: the picture's proportions give way to
    // the page's.
    painter.drawImage(rect(), picture_);
}

TForm2::TForm2(QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint),
      QuickRep1(new QWidget(this)), QRImage1(new StretchedImage(QuickRep1)) {
    setObjectName(QStringLiteral("Form2"));
    QuickRep1->setObjectName(QStringLiteral("QuickRep1"));
    QRImage1->setObjectName(QStringLiteral("QRImage1"));

    // The main window alone keeps the application running: closing it ends
    // the application even while the picture is open.
    setAttribute(Qt::WA_QuitOnClose, false);

    QPalette page = QuickRep1->palette();
    page.setColor(QPalette::Window, Qt::white);
    QuickRep1->setPalette(page);
    QuickRep1->setAutoFillBackground(true);

    setToolTip(PictureHint);
    QuickRep1->setToolTip(PictureHint);
    QRImage1->setToolTip(PictureHint);

    setFocusPolicy(Qt::StrongFocus);
    move(FirstLeft, FirstTop);
    LayOutPage();
}

void TForm2::LayOutPage() {
    const PagePixels page = PagePixelsOf(paper_);
    QuickRep1->setGeometry(0, 0, page.width, page.height);
    QRImage1->setGeometry(PageMarginPixels, PageMarginPixels, page.width - 2 * PageMarginPixels,
                          page.height - 2 * PageMarginPixels);
    resize(page.width, page.height);
}

void TForm2::ShowPicture(const QImage& picture, const QString& caption, PaperSize paper) {
    QRImage1->SetPicture(picture);
    paper_ = paper;
    LayOutPage();
    setWindowTitle(caption);
    show();
    raise();
    activateWindow();
}

void TForm2::FormKeyPress(char16_t key) {
    if (key == EscapeKey)
        hide();
}

void TForm2::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        FormKeyPress(EscapeKey);
    } else if (!event->text().isEmpty()) {
        FormKeyPress(event->text().front().unicode());
    }
    event->accept();
}

} // namespace toravel
