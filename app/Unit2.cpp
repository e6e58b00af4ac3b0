#include "app/Unit2.h"

#include <algorithm>
#include <cmath>

#include <QKeyEvent>
#include <QPainter>
#include <QPalette>
#include <QResizeEvent>
#include <QScreen>

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

// The frame of a window with a caption at 96 dpi, as long as the window
// manager has not shown the real one: 4 pixels on each side, a caption of 19.
const QMargins AssumedFrame(4, 23, 4, 4);

int Scaled(int pixels, double scale) {
    return static_cast<int>(std::lround(pixels * scale));
}

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

PictureWindowPlacement PlacePictureWindow(PagePixels page, QPoint wanted, const QRect& available,
                                          QMargins frame) {
    const int frameWidth = frame.left() + frame.right();
    const int frameHeight = frame.top() + frame.bottom();
    QSize client(page.width, page.height);
    if (page.width + frameWidth > available.width() ||
        page.height + frameHeight > available.height()) {
        // Integer arithmetic, rounding down: never a pixel past the area.
        client = client.scaled(std::max(1, available.width() - frameWidth),
                               std::max(1, available.height() - frameHeight), Qt::KeepAspectRatio);
    }
    const int outerWidth = client.width() + frameWidth;
    const int outerHeight = client.height() + frameHeight;
    QPoint at = wanted;
    at.setX(std::max(available.left(),
                     std::min(at.x(), available.left() + available.width() - outerWidth)));
    at.setY(std::max(available.top(),
                     std::min(at.y(), available.top() + available.height() - outerHeight)));
    return {at, client};
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
    const PagePixels designed = PagePixelsOf(paper_);
    resize(designed.width, designed.height);
    LayOutPage();
}

// The page as large as the client area allows with its proportions kept,
// centred; at the designed size exactly the page and the client area are one.
void TForm2::LayOutPage() {
    const PagePixels page = PagePixelsOf(paper_);
    const double scale = std::min(static_cast<double>(width()) / page.width,
                                  static_cast<double>(height()) / page.height);
    const int pageWidth = std::max(1, Scaled(page.width, scale));
    const int pageHeight = std::max(1, Scaled(page.height, scale));
    QuickRep1->setGeometry((width() - pageWidth) / 2, (height() - pageHeight) / 2, pageWidth,
                           pageHeight);
    const int margin = Scaled(PageMarginPixels, scale);
    QRImage1->setGeometry(margin, margin, std::max(1, pageWidth - 2 * margin),
                          std::max(1, pageHeight - 2 * margin));
}

QMargins TForm2::FrameMargins() const {
    const QRect outer = frameGeometry();
    const QRect inner = geometry();
    if (!isVisible() || outer == inner)
        return AssumedFrame;
    return QMargins(inner.left() - outer.left(), inner.top() - outer.top(),
                    outer.right() - inner.right(), outer.bottom() - inner.bottom());
}

void TForm2::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    LayOutPage();
}

void TForm2::ShowPicture(const QImage& picture, const QString& caption, PaperSize paper) {
    QRImage1->SetPicture(picture);
    paper_ = paper;
    const PagePixels page = PagePixelsOf(paper_);
    const QPoint wanted = shownBefore_ ? pos() : QPoint(FirstLeft, FirstTop);
    if (const QScreen* screen = this->screen(); screen != nullptr) {
        const PictureWindowPlacement placement =
            PlacePictureWindow(page, wanted, screen->availableGeometry(), FrameMargins());
        resize(placement.clientSize);
        move(placement.frameTopLeft);
    } else {
        resize(page.width, page.height);
    }
    shownBefore_ = true;
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
