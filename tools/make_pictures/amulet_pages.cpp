// The amulet pages: the thunder sign for a man, the Bereginya for a woman,
// each drawn large with what it stands for and how it is worn.
#include <QPainterPath>
#include <algorithm>
#include <cmath>
#include <functional>
#include <numbers>

#include "tools/make_pictures/pages.h"
#include "tools/make_pictures/palette.h"
#include "tools/make_pictures/stitch_pattern.h"

namespace toravel::pictures {
namespace {

constexpr int kTextSize = 14;

QPointF Polar(QPointF centre, double radius, double degrees) {
    const double a = degrees * std::numbers::pi / 180;
    return centre + QPointF(radius * std::cos(a), radius * std::sin(a));
}

// The six-petalled rosette in a circle, built as with compasses: each petal
// is the lens where two circles of the rosette's radius, centred on
// neighbouring points of the rim, overlap.
void DrawThunderSign(QPainter& p, QPointF c, double r) {
    p.save();
    p.setRenderHint(QPainter::Antialiasing, true);
    // Toothed outer ring.
    const double ring = r + 22;
    p.setPen(Qt::NoPen);
    p.setBrush(kRed);
    for (int k = 0; k < 36; ++k) {
        QPolygonF tooth;
        const double a = k * 10.0;
        tooth << Polar(c, ring, a - 3.5) << Polar(c, ring + 11, a) << Polar(c, ring, a + 3.5);
        p.drawPolygon(tooth);
    }
    p.setPen(QPen(kRed, 3));
    p.setBrush(QColor(0xf3, 0xdf, 0xb0));
    p.drawEllipse(c, ring, ring);
    p.setPen(QPen(kInk, 1.2));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(c, ring - 6, ring - 6);
    // Seeds between the rings.
    p.setPen(Qt::NoPen);
    p.setBrush(kInk);
    for (int k = 0; k < 12; ++k)
        p.drawEllipse(Polar(c, r + 8, 15 + k * 30), 2.6, 2.6);

    p.setPen(QPen(kInk, 2));
    p.setBrush(QColor(0xfb, 0xf3, 0xe0));
    p.drawEllipse(c, r, r);
    for (int k = 0; k < 6; ++k) {
        const QPointF before = Polar(c, r, -90 + (k - 1) * 60);
        const QPointF after = Polar(c, r, -90 + (k + 1) * 60);
        QPainterPath a, b;
        a.addEllipse(before, r, r);
        b.addEllipse(after, r, r);
        p.setBrush(k % 2 == 0 ? kRed : QColor(0xb8, 0x3a, 0x22));
        p.setPen(QPen(kInk, 1.5));
        p.drawPath(a.intersected(b));
    }
    // Ochre seeds in the curved triangles between the petals.
    p.setPen(Qt::NoPen);
    p.setBrush(kOchre);
    for (int k = 0; k < 6; ++k)
        p.drawEllipse(Polar(c, r * 0.62, -60 + k * 60), 5, 5);
    p.setBrush(kInk);
    p.drawEllipse(c, 6, 6);
    p.restore();
}

// The Bereginya as a cross-stitch figure: a rhombus head, arms raised to the
// sky, a skirt patterned with small rhombi.
const StitchMotif kBereginya{{
    ".R.R.............R.R.", "..R...............R..", "..R.......R.......R..",
    "..R......RRR......R..", "..R.....RRKRR.....R..", "..R......RRR......R..",
    "..R.......R.......R..", "..RRRRRRRRRRRRRRRRR..", ".........RRR.........",
    ".........RKR.........", "........RRRRR........", ".......RR.O.RR.......",
    "......RR.OKO.RR......", ".....RR.O.K.O.RR.....", "....RR.OKO.OKO.RR....",
    "...RR.O.K.O.K.O.RR...", "..RR.OKO.OKO.OKO.RR..", ".RRRRRRRRRRRRRRRRRRR.",
    "......R.......R......", "......R.......R......", "....RRR.......RRR....",
}};
const StitchMotif kSownField{{
    "...R...",
    "..RRR..",
    ".RK.KR.",
    "RRRRRRR",
    ".RK.KR.",
    "..RRR..",
    "...R...",
}};

void DrawBereginya(QPainter& p, const QRectF& box) {
    p.save();
    p.setRenderHint(QPainter::Antialiasing, true);
    const double stitch = std::floor((box.height() - 30) / kBereginya.Height());
    const double size = stitch * kBereginya.Width();
    const QPointF c = box.center();
    // A framed square of linen around the figure, as on a towel end, with the
    // sown field on either side.
    const double half = size / 2 + 12;
    const QRectF frame(c.x() - half, c.y() - half, 2 * half, 2 * half);
    p.setPen(QPen(kRed, 2.5));
    p.setBrush(QColor(0xf3, 0xdf, 0xb0));
    p.drawRect(frame);
    p.setPen(QPen(kInk, 1));
    p.setBrush(Qt::NoBrush);
    p.drawRect(frame.adjusted(4, 4, -4, -4));
    DrawStitches(p, kBereginya, QPointF(c.x() - size / 2, c.y() - size / 2), stitch);
    const double small = stitch * 0.9;
    const double field = small * kSownField.Width();
    for (int side : {-1, 1}) {
        const double x = c.x() + side * (half + 14 + field / 2) - field / 2;
        for (int row = -1; row <= 1; ++row)
            DrawStitches(p, kSownField, QPointF(x, c.y() - field / 2 + row * (field + 10)), small);
    }
    p.restore();
}

bool MakeAmuletPage(const Fonts& fonts, const QString& path, const QString& title,
                    const QString& name, const std::function<void(QPainter&, const QRectF&)>& draw,
                    const QString& intro, const QString& meaning, const QString& wearing) {
    Page page(kA5Width, kA5Height, fonts);
    page.Title(title, 28);
    page.Heading(QString("<div align=\"center\">%1</div>").arg(name), 19);
    page.Block(196, [&](QPainter& p, const QRectF& box) { draw(p, box); });
    page.Skip(8);
    page.Paragraph(intro, kTextSize);
    page.Heading("Что означает знак", 15);
    page.Paragraph(meaning, kTextSize, Qt::AlignLeft);
    page.Paragraph(wearing, kTextSize);
    return Finish(page, path);
}

} // namespace

bool MakeMansAmuletPage(const Fonts& fonts, const QString& path) {
    return MakeAmuletPage(
        fonts, path, "Оберег для мужчины", "Громовик — знак Громовержца",
        [](QPainter& p, const QRectF& box) { DrawThunderSign(p, box.center(), 64); },
        "Шестилепестковая розетка в круге — один из древнейших знаков славян. Её вырезали на "
        "причелинах и коньках изб, на прялках, ковшах и колыбелях: считалось, что знак "
        "Громовержца отводит от дома молнию, пожар и всякую беду.",
        "• <b>Сила и мужество.</b> Громовержец — покровитель воинов; его знак даёт мужчине "
        "стойкость в трудном деле.<br>"
        "• <b>Защита рода и дома.</b> Круг — граница, которую не переступает зло; шесть "
        "лепестков — свет, расходящийся во все стороны.<br>"
        "• <b>Верность слову.</b> Знак помогает тому, кто держит слово, защищает слабого и не "
        "поднимает оружия первым.",
        "<b>Как носить.</b> Знак носят на груди, вышивают красной нитью на вороте и рукавах "
        "рубахи, вырезают на дереве. Оберег не заменяет дела: он напоминает о долге беречь своих.");
}

bool MakeWomansAmuletPage(const Fonts& fonts, const QString& path) {
    return MakeAmuletPage(
        fonts, path, "Оберег для женщины", "Берегиня", DrawBereginya,
        "Женская фигура с поднятыми к небу руками — частый образ северной русской вышивки. Её "
        "вышивали на концах полотенец, на подоле и рукавах рубах, на поясах, чтобы она "
        "охраняла дом и тех, кто в нём живёт.",
        "• <b>Материнство и продолжение рода.</b> Берегиня — хранительница семьи и детей, "
        "добрая сила домашнего очага.<br>"
        "• <b>Связь земли и неба.</b> Поднятые руки просят у неба солнца и дождя для всходов, "
        "а у предков — доброй доли.<br>"
        "• <b>Достаток и лад.</b> Ромбы с точками рядом с ней — «засеянное поле», пожелание "
        "урожая, здоровья и мира в доме.",
        "<b>Как носить.</b> Берегиню вышивают красной нитью на одежде и полотенцах, носят "
        "подвеской, хранят в доме в красном углу. Лучше всего вышить её своими руками, с "
        "добрыми мыслями.");
}

} // namespace toravel::pictures
