// The picture window TForm2: one page of A4 or A5 paper at 96 pixels per
// inch with 1 mm margins, and one picture stretched over it without keeping
// its proportions. Created hidden at start-up and reused by every picture
// button; Esc hides it.
#pragma once

#include <QImage>
#include <QString>
#include <QWidget>

class QKeyEvent;
class QPaintEvent;

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

private:
    void LayOutPage();

    PaperSize paper_ = PaperSize::A5;
};

} // namespace toravel
