// "Значение периода": the three worlds, the circle, how the worlds of the
// calendar day and the lunar day combine, and how to read the report.
#include <QFont>
#include <algorithm>

#include "tools/make_pictures/ornament.h"
#include "tools/make_pictures/pages.h"
#include "tools/make_pictures/palette.h"

namespace toravel::pictures {
namespace {

// The world of the period from the world of the calendar day (rows) and of
// the lunar day (columns), in the order Правь, Явь, Навь.
const char* const kWorldNames[3] = {"Правь", "Явь", "Навь"};
const int kCombined[3][3] = {{0, 1, 0}, {1, 1, 2}, {0, 2, 2}};
const QColor kWorldColours[3] = {QColor(0x9a, 0x66, 0x10), kRed, kInk};

void DrawCombinationTable(Page& page, const QRectF& box) {
    QPainter& p = page.Painter();
    const double cellW = 92, cellH = 30, headW = 160;
    const double left = box.left() + (box.width() - headW - 3 * cellW) / 2;
    const double top = box.top() + 6;
    QFont font(page.FontFamilies().sans);
    font.setPixelSize(15);
    QFont bold = font;
    bold.setBold(true);
    p.setPen(QPen(kFaded, 1));
    for (int r = 0; r <= 4; ++r) {
        const double y = top + r * cellH;
        p.drawLine(QPointF(left, y), QPointF(left + headW + 3 * cellW, y));
    }
    p.drawLine(QPointF(left, top), QPointF(left, top + 4 * cellH));
    for (int c = 0; c <= 3; ++c) {
        const double x = left + headW + c * cellW;
        p.drawLine(QPointF(x, top), QPointF(x, top + 4 * cellH));
    }
    p.setFont(font);
    p.setPen(kInk);
    QFont small = font;
    small.setPixelSize(12);
    p.setFont(small);
    p.setPen(kFaded);
    p.drawText(QRectF(left + 6, top, headW - 6, cellH), Qt::AlignLeft | Qt::AlignVCenter,
               "день ↓   лунный день →");
    for (int i = 0; i < 3; ++i) {
        p.setFont(bold);
        p.setPen(kWorldColours[i]);
        p.drawText(QRectF(left + headW + i * cellW, top, cellW, cellH), Qt::AlignCenter,
                   kWorldNames[i]);
        p.drawText(QRectF(left, top + (i + 1) * cellH, headW, cellH), Qt::AlignCenter,
                   kWorldNames[i]);
        for (int j = 0; j < 3; ++j) {
            const int w = kCombined[i][j];
            p.setFont(font);
            p.setPen(kWorldColours[w]);
            p.drawText(QRectF(left + headW + j * cellW, top + (i + 1) * cellH, cellW, cellH),
                       Qt::AlignCenter, kWorldNames[w]);
        }
    }
}

// Three stacked bands, the world tree's crown, trunk and roots.
void DrawWorlds(QPainter& p, const QRectF& box, const Fonts& fonts) {
    p.setRenderHint(QPainter::Antialiasing, true);
    const double bandH = box.height() / 3;
    const QColor fills[3] = {QColor(0xf3, 0xdc, 0xa8), QColor(0xef, 0xc8, 0xb8),
                             QColor(0xd9, 0xcf, 0xc2)};
    const char* const labels[3] = {"ПРАВЬ", "ЯВЬ", "НАВЬ"};
    QFont font(fonts.serif);
    font.setPixelSize(17);
    font.setBold(true);
    for (int i = 0; i < 3; ++i) {
        const QRectF band(box.left(), box.top() + i * bandH, box.width(), bandH - 4);
        p.setPen(QPen(kWorldColours[i], 1.5));
        p.setBrush(fills[i]);
        p.drawRoundedRect(band, 8, 8);
        p.setFont(font);
        p.setPen(kWorldColours[i]);
        p.drawText(band.adjusted(12, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter, labels[i]);
    }
    // The tree: crown in the upper band, trunk in the middle, roots below.
    const double cx = box.right() - 42;
    p.setPen(QPen(kInk, 4, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(cx, box.top() + bandH * 0.55), QPointF(cx, box.top() + bandH * 2.35));
    p.setPen(QPen(kInk, 2, Qt::SolidLine, Qt::RoundCap));
    for (int side : {-1, 1}) {
        for (int k = 0; k < 3; ++k) {
            const double y = box.top() + bandH * (0.25 + 0.18 * k);
            p.drawLine(QPointF(cx, y + 14), QPointF(cx + side * (16 + 7 * k), y));
            p.drawLine(QPointF(cx, box.top() + bandH * 2.2),
                       QPointF(cx + side * (12 + 12 * k), box.top() + bandH * (2.35 + 0.12 * k)));
        }
    }
    p.setPen(Qt::NoPen);
    p.setBrush(kOchre);
    p.drawEllipse(QPointF(cx, box.top() + bandH * 0.16), 7, 7);
    p.setBrush(kRed);
    p.drawEllipse(QPointF(cx, box.top() + bandH * 1.45), 5, 5);
}

} // namespace

bool MakeMeaningPage(const Fonts& fonts, const QString& path) {
    Page page(kA4Width, kA4Height, fonts);
    page.Title("Значение периода", 36);
    page.Paragraph(
        "Торавель рассматривает момент рождения дважды: по <b>календарному дню</b> и по "
        "<b>лунному дню</b>. Каждый из них принадлежит одному из трёх миров Славянского "
        "Мироздания. Из двух миров складывается мир расчётного периода, а календарный день "
        "добавляет к нему круг. Вместе они и составляют ваш гороскоп.",
        16);

    const QRectF area = page.Area();
    const double treeW = 170;
    const double textW = area.width() - treeW - 22;
    const QString worlds[3] = {
        "<b>Правь — Верхний мир.</b> Мир светлых богов и Закона, по которому живёт всё сущее. "
        "Период Прави благоприятен для замыслов, учёбы, духовной работы и важных решений: "
        "начатое по совести получает поддержку.",
        "<b>Явь — Средний мир.</b> Мир людей, видимой природы и повседневных дел. Период Яви — "
        "время труда, семьи, хозяйства и общения; успех приносят ровные, последовательные "
        "усилия, а не порыв.",
        "<b>Навь — Нижний мир.</b> Мир предков, памяти и скрытых сил. Период Нави зовёт к "
        "осторожности, отдыху и очищению: хорошо завершать начатое, подводить итоги и беречь "
        "силы, а новые большие дела отложить."};
    double textH = 0;
    for (const QString& w : worlds)
        textH += page.TextHeight(textW, w, 15) + 10;
    const double top = page.Top();
    double y = top;
    for (const QString& w : worlds) {
        y += page.TextBlock(QRectF(area.left() + treeW + 22, y, textW, 0), w, 15) + 10;
    }
    page.Painter().save();
    DrawWorlds(page.Painter(), QRectF(area.left(), top, treeW, std::max(textH - 10, 240.0)), fonts);
    page.Painter().restore();
    page.Skip(std::max(textH, 250.0) + 6);

    page.Heading("Круг", 19);
    page.Paragraph(
        "Круг — ступень годового коловорота, к которой относится календарный день рождения. "
        "Он приходит из календаря вместе с миром дня и называется порядковым словом, например "
        "«Третьему кругу». Круг не зависит от лунного дня: все, кто родился в один календарный "
        "день, стоят на одном круге, а лунный день уточняет, в каком мире проходит их период.",
        15);

    page.Heading("Как складываются миры", 19);
    page.Paragraph(
        "Мир лунного дня берётся из постоянной таблицы тридцати лунных дней. Совпадающие миры "
        "дают тот же мир; Правь и Явь вместе дают Явь, Правь и Навь — Правь, Явь и Навь — Навь. "
        "В таблице строка — мир календарного дня, столбец — мир лунного дня.",
        15);
    page.Block(4 * 30 + 14, [&](QPainter&, const QRectF& box) { DrawCombinationTable(page, box); });
    page.Skip(6);

    page.Heading("Как читать отчёт", 19);
    page.Paragraph(
        "Четыре строки отчёта читаются как одно предложение: «расчетный период соответствует … "
        "кругу … мира Славянского Мироздания», а последняя строка называет лунный день. "
        "Первая строка говорит, откуда взят лунный день: вычислен по восходам Луны над местом "
        "рождения или указан вами. Вторая, красная, строка — главное: круг и мир периода. "
        "Если она обрывается на слове «кругу», календарного дня нет в базе или лунный день "
        "лежит вне пределов от 1 до 30 — проверьте введённые дату и лунный день.",
        15);
    return Finish(page, path);
}

} // namespace toravel::pictures
