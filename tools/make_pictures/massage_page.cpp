// "Оберегающий массаж": a warming self-massage from the head down, in eight
// steps with drawings of where the hands go and which way they move.
#include "tools/make_pictures/figure.h"
#include "tools/make_pictures/pages.h"
#include "tools/make_pictures/palette.h"
#include "tools/make_pictures/step_cards.h"

namespace toravel::pictures {
namespace {

constexpr double kBustUnit = 26;
constexpr double kFullUnit = 15;

// A front-view bust with both hands placed; `marks` draws the arrows, given
// the mapping from body units to pixels.
Step::draw_type
BustStep(Limb nearArm, Limb farArm,
         std::function<void(QPainter&, std::function<QPointF(double, double)>)> marks,
         bool side = false) {
    return [=](QPainter& p, const QRectF& box) {
        Pose pose;
        pose.legs = false;
        pose.hollowHead = true;
        pose.sideView = side;
        pose.nearArm = nearArm;
        pose.farArm = farArm;
        const QPointF pelvis(box.center().x(), box.bottom() - 10);
        DrawFigure(p, pose, pelvis, kBustUnit, kInk);
        marks(p, [=](double x, double y) { return pelvis + QPointF(x, y) * kBustUnit; });
    };
}

} // namespace

bool MakeMassagePage(const Fonts& fonts, const QString& path) {
    Page page(kA4Width, kA4Height, fonts);
    page.Title("Оберегающий массаж", 34);
    page.Paragraph(
        "Оберегающим этот самомассаж зовут потому, что он согревает тело, разгоняет кровь и "
        "снимает усталость, а в старину верили, что тёплые ладони замыкают вокруг человека "
        "круг защиты. Делайте его утром после сна или вечером, 5–7 минут, сидя или стоя. "
        "Движения мягкие и ровные, от головы к ногам; руки тёплые и сухие. Красные стрелки "
        "показывают, куда ведут ладони.",
        16);

    using Map = std::function<QPointF(double, double)>;
    const std::vector<Step> steps = {
        {"Тёплые ладони",
         "Потрите ладони друг о друга 15–20 раз, пока они не станут горячими. Это тепло вы и "
         "переносите на тело.",
         BustStep({{0.05, -1.95}, {1, 0.6}}, {{-0.05, -1.95}, {-1, 0.6}},
                  [](QPainter& p, Map at) {
                      DrawArrow(p, at(-0.9, -2.5), at(0.9, -2.5));
                      DrawArrow(p, at(0.9, -1.4), at(-0.9, -1.4));
                  })},
        {"Лицо",
         "Ладонями ведите от середины лба к вискам, затем от крыльев носа и от подбородка к "
         "ушам. По 5 раз, не растягивая кожу.",
         BustStep({{0.62, -3.95}, {1, 0.4}}, {{-0.62, -3.95}, {-1, 0.4}},
                  [](QPainter& p, Map at) {
                      DrawArrow(p, at(0.08, -4.05), at(0.42, -4.05), 2);
                      DrawArrow(p, at(-0.08, -4.05), at(-0.42, -4.05), 2);
                      DrawArrow(p, at(0.1, -3.6), at(0.42, -3.75), 2);
                      DrawArrow(p, at(-0.1, -3.6), at(-0.42, -3.75), 2);
                  })},
        {"Уши",
         "Большим и указательным пальцами разминайте ушные раковины сверху вниз до мочек, "
         "затем слегка потяните мочки вниз. 30 секунд, до тепла.",
         BustStep({{0.62, -3.7}, {1, 0.5}}, {{-0.62, -3.7}, {-1, 0.5}},
                  [](QPainter& p, Map at) {
                      DrawArrow(p, at(1.05, -4.3), at(1.05, -3.4));
                      DrawArrow(p, at(-1.05, -4.3), at(-1.05, -3.4));
                  })},
        {"Шея и затылок",
         "Положите ладони на затылок и поглаживайте шею сверху вниз и в стороны, к плечам, "
         "10 раз. Переднюю часть шеи не растирайте.",
         BustStep({{0.15, -3.2}, {1, -1}}, {{-0.15, -3.2}, {-1, -1}},
                  [](QPainter& p, Map at) {
                      DrawArrow(p, at(0.3, -2.85), at(1.0, -2.6));
                      DrawArrow(p, at(-0.3, -2.85), at(-1.0, -2.6));
                  })},
        {"Руки",
         "Правой ладонью растирайте левую руку от кисти к плечу, снаружи и изнутри, затем "
         "смените руки. По 10 движений каждой рукой.",
         BustStep({{1.05, -0.35}, {1, 0}}, {{0.75, -1.9}, {0, 1}},
                  [](QPainter& p, Map at) { DrawArrow(p, at(1.55, -0.45), at(1.2, -2.3)); })},
        {"Грудь и живот",
         "Погладьте грудь от середины к плечам. Затем ладонью обводите живот по часовой "
         "стрелке, мягко, без нажима, 10 кругов.",
         BustStep({{0.15, -0.75}, {1, 0.4}}, {{-0.9, -0.2}, {-1, 0}},
                  [](QPainter& p, Map at) {
                      DrawArcArrow(p, at(0, -0.95), 0.75 * kBustUnit, 150, -300);
                  })},
        {"Поясница",
         "Тыльной стороной кулаков или ладонями растирайте поясницу вверх и вниз 20–30 раз, "
         "пока не почувствуете тепло.",
         BustStep(
             {{-0.45, -0.75}, {-1, 0}}, {{-0.5, -0.9}, {-1, 0}},
             [](QPainter& p, Map at) {
                 DrawArrow(p, at(-1.05, -0.25), at(-1.05, -1.5));
                 DrawArrow(p, at(-1.35, -1.5), at(-1.35, -0.25));
             },
             true)},
        {"Ноги",
         "Наклонитесь и обеими ладонями растирайте каждую ногу от щиколотки вверх к колену и "
         "бедру, по 5–7 раз. Стопы потрите ладонью.",
         [](QPainter& p, const QRectF& box) {
             Pose pose;
             pose.sideView = true;
             pose.trunkLean = 62;
             pose.nearArm = {{0.75, 2.15}, {0, 1}};
             pose.farArm = {{0.65, 1.95}, {0, 1}};
             pose.nearLeg = {{0.15, 3.2}, {1, 0}};
             pose.farLeg = {{-0.25, 3.2}, {1, 0}};
             const QPointF pelvis(box.center().x() - 0.9 * kFullUnit,
                                  box.bottom() - 10 - 3.2 * kFullUnit);
             DrawFigure(p, pose, pelvis, kFullUnit, kInk);
             DrawArrow(p, pelvis + QPointF(1.25, 3.1) * kFullUnit,
                       pelvis + QPointF(1.15, 1.2) * kFullUnit);
         }},
    };
    DrawSteps(page, steps, 128, 140, 15);

    page.Skip(4);
    page.Paragraph(
        "<b>Когда нельзя.</b> Не делайте массаж при повышенной температуре, воспалениях и "
        "болезнях кожи, свежих травмах; при болезнях сердца и сосудов и во время беременности — "
        "только посоветовавшись с врачом. Если движение вызывает боль, пропустите его.",
        15);
    return Finish(page, path);
}

} // namespace toravel::pictures
