// The picture window TForm2: one page of A4 or A5 paper at 96 pixels per
// inch with 1 mm margins, and one picture stretched over it without keeping
// its proportions. Created hidden at start-up and reused by every picture
// button; Esc hides it.
//
// A page taller or wider than the screen's free area (A4 is 1123 pixels
// high, A5 794) would be cut off: there the window opens smaller and shows
// the page scaled down, keeping the page's proportions. The window can be
// resized; the page always fills as much of it as its proportions allow.
#pragma once

#include <QImage>
#include <QMargins>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>
#include <QWidget>

class QKeyEvent;
class QPaintEvent;
class QResizeEvent;

namespace toravel {

enum class PaperSize { A4, A5 };

// A page in pixels at 96 dpi: 210 × 297 mm is 794 × 1123, 148 × 210 mm is
// 559 × 794 (millimetres × 96 / 25.4, rounded).
struct PagePixels {
    int width;
    int height;
};
PagePixels PagePixelsOf(PaperSize paper);

// The page's margin on every side: 1 mm at 96 dpi, rounded.
inline constexpr int PageMarginPixels = 4;

// Where the picture window goes and how large its client area is.
struct PictureWindowPlacement {
    QPoint frameTopLeft;
    QSize clientSize;
};

// The placement of a window showing `page` on a screen whose free area (less
// panels and docks) is `available`, the window manager's frame around the
// client area being `frame`, the frame's top-left corner wanted at `wanted`.
// The client area is the page itself where the framed page fits the area;
// otherwise the page scaled down until it fits, keeping its proportions. The
// window is moved only as far as it must to lie inside the area.
PictureWindowPlacement PlacePictureWindow(PagePixels page, QPoint wanted, const QRect& available,
                                          QMargins frame);

// QRImage1: draws its picture over its whole area.
class StretchedImage final : public QWidget {
public:
    explicit StretchedImage(QWidget* parent);
    void SetPicture(const QImage& picture);
    const QImage& Picture() const { return picture_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QImage picture_;
};

class TForm2 final : public QWidget {
    Q_OBJECT

public:
    explicit TForm2(QWidget* parent = nullptr);

    // Replaces the picture, the paper size and the caption, then shows the
    // window without making it modal and brings it to the front.
    void ShowPicture(const QImage& picture, const QString& caption, PaperSize paper);

    // Hides the window for Esc (character code 27); other keys do nothing.
    void FormKeyPress(char16_t key);

    PaperSize Paper() const { return paper_; }

    QWidget* QuickRep1;
    StretchedImage* QRImage1;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void LayOutPage();
    QMargins FrameMargins() const;

    PaperSize paper_ = PaperSize::A5;
    bool shownBefore_ = false;
};

} // namespace toravel
