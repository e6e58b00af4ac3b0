// "Гимнастика": a short morning set of eight exercises from head to feet,
// each with a pictogram of its main position and the direction of movement.
#include "tools/make_pictures/figure.h"
#include "tools/make_pictures/pages.h"
#include "tools/make_pictures/palette.h"
#include "tools/make_pictures/step_cards.h"

namespace toravel::pictures {
namespace {

constexpr double kUnit = 13.5;

// A drawing of `pose` standing on the floor of its box: `footDepth` is how
// far below the pelvis the feet are, in body units; `shift` moves the
// figure sideways. `marks` draws arrows in body units.
Step::draw_type
PoseStep(Pose pose, double footDepth, double shift,
         std::function<void(QPainter&, std::function<QPointF(double, double)>)> marks) {
    return [=](QPainter& p, const QRectF& box) {
        const QPointF pelvis(box.center().x() + shift * kUnit,
                             box.bottom() - 12 - footDepth * kUnit);
        p.save();
        p.setPen(QPen(kFaded, 1.2));
        p.drawLine(QPointF(box.left() + 10, box.bottom() - 10),
                   QPointF(box.right() - 10, box.bottom() - 10));
        p.restore();
        DrawFigure(p, pose, pelvis, kUnit, kInk);
        marks(p, [=](double x, double y) { return pelvis + QPointF(x, y) * kUnit; });
    };
}

Pose Standing() {
    Pose pose;
    pose.nearLeg = {{0.35, 3.25}, {0, -1}};
    pose.farLeg = {{-0.35, 3.25}, {0, -1}};
    return pose;
}

} // namespace

bool MakeGymnasticsPage(const Fonts& fonts, const QString& path) {
    Page page(kA4Width, kA4Height, fonts);
    page.Title("Гимнастика", 36);
    page.Paragraph(
        "Утренняя гимнастика на 10–15 минут разогревает суставы, будит тело и настраивает на "
        "день. Выполняйте упражнения по порядку, в спокойном темпе, на свежем воздухе или у "
        "открытого окна. Дышите носом, не задерживайте дыхание на усилии; число повторов "
        "увеличивайте постепенно, от недели к неделе.",
        16);

    using Map = std::function<QPointF(double, double)>;
    Pose stretch = Standing();
    stretch.nearArm = {{0.5, -5.0}, {1, 0}};
    stretch.farArm = {{-0.5, -5.0}, {-1, 0}};
    Pose circles = Standing();
    circles.nearArm = {{2.9, -2.65}, {0, -1}};
    circles.farArm = {{-2.9, -2.65}, {0, -1}};
    Pose bend = Standing();
    bend.trunkLean = -18;
    bend.nearArm = {{-0.75, -5.0}, {1, 0}};
    bend.farArm = {{-1.05, 0.9}, {-1, 0}};
    bend.nearLeg = {{0.8, 3.2}, {1, -0.3}};
    bend.farLeg = {{-0.8, 3.2}, {-1, -0.3}};
    Pose twist = Standing();
    twist.nearArm = {{0.2, -2.25}, {1, 0.2}};
    twist.farArm = {{-0.2, -2.25}, {-1, 0.2}};
    twist.nearLeg = bend.nearLeg;
    twist.farLeg = bend.farLeg;
    Pose forward;
    forward.sideView = true;
    forward.trunkLean = 82;
    forward.nearArm = {{2.3, 2.5}, {0, 1}};
    forward.farArm = {{2.1, 2.45}, {0, 1}};
    forward.nearLeg = {{0.2, 3.15}, {1, 0}};
    forward.farLeg = {{-0.1, 3.15}, {1, 0}};
    Pose squat;
    squat.sideView = true;
    squat.trunkLean = 25;
    squat.nearArm = {{3.6, -2.45}, {0, -1}};
    squat.farArm = {{3.5, -2.3}, {0, -1}};
    squat.nearLeg = {{1.35, 1.95}, {1, -1}};
    squat.farLeg = {{1.15, 1.95}, {1, -1}};
    Pose lunge;
    lunge.sideView = true;
    lunge.nearArm = {{0.3, -0.35}, {-1, 0}};
    lunge.farArm = {{0.15, -0.3}, {-1, 0}};
    lunge.nearLeg = {{1.75, 2.45}, {1, -1}};
    lunge.farLeg = {{-1.6, 2.45}, {0, 1}};
    Pose breath = Standing();
    breath.nearArm = {{0.25, -0.8}, {1, 0.3}};
    breath.farArm = {{-0.25, -0.8}, {-1, 0.3}};

    const std::vector<Step> steps = {
        {"Потягивание",
         "Встаньте прямо, ноги вместе. На вдохе поднимите руки через стороны вверх и "
         "потянитесь, поднимаясь на носки; на выдохе опуститесь. 6–8 раз.",
         PoseStep(stretch, 3.25, 0,
                  [](QPainter& p, Map at) { DrawArrow(p, at(1.9, -1.5), at(1.9, -4.6)); })},
        {"Круги руками",
         "Разведите руки в стороны на уровне плеч и описывайте кистями небольшие круги: 10 "
         "вперёд и 10 назад. Плечи не поднимайте.",
         PoseStep(circles, 3.25, 0,
                  [](QPainter& p, Map at) {
                      DrawArcArrow(p, at(3.05, -2.65), 0.7 * kUnit, 200, 290, 2);
                      DrawArcArrow(p, at(-3.05, -2.65), 0.7 * kUnit, -20, -290, 2);
                  })},
        {"Наклоны в стороны",
         "Ноги на ширине плеч. Поднимите руку над головой и наклонитесь в другую сторону, "
         "вторая рука скользит по бедру. По 6 раз в каждую сторону.",
         PoseStep(
             bend, 3.2, 1.3,
             [](QPainter& p, Map at) { DrawArcArrow(p, at(0, 0), 5.0 * kUnit, 78, 28, 2.5); })},
        {"Повороты корпуса",
         "Руки согнуты перед грудью, ноги на ширине плеч и неподвижны. Поворачивайте корпус "
         "вправо и влево, глядя за локтем. По 8 раз.",
         PoseStep(twist, 3.2, 0,
                  [](QPainter& p, Map at) {
                      const QPointF centre = at(0, -2.0);
                      p.save();
                      p.translate(centre);
                      p.scale(1, 0.35);
                      DrawArcArrow(p, QPointF(0, 0), 2.0 * kUnit, 200, 140, 3);
                      p.restore();
                  })},
        {"Наклон вперёд",
         "Колени чуть согнуты. На выдохе наклонитесь вперёд с прямой спиной, руки тянутся к "
         "полу; на вдохе медленно выпрямитесь. 8 раз.",
         PoseStep(
             forward, 3.15, -1.6,
             [](QPainter& p, Map at) { DrawArcArrow(p, at(0, 0), 3.9 * kUnit, 95, -55, 2.5); })},
        {"Приседания",
         "Ноги на ширине плеч, руки вперёд. Отводя таз назад, присядьте до удобной глубины, "
         "пятки не отрывайте от пола; вернитесь. 10 раз.",
         PoseStep(squat, 1.95, -1.6,
                  [](QPainter& p, Map at) { DrawArrow(p, at(-1.0, -2.6), at(-1.0, 0.2)); })},
        {"Выпады",
         "Шагните ногой вперёд и согните оба колена почти под прямым углом, корпус прямой; "
         "оттолкнитесь и вернитесь. По 6 раз каждой ногой.",
         PoseStep(lunge, 2.45, 0,
                  [](QPainter& p, Map at) { DrawArrow(p, at(-1.2, -2.6), at(-1.2, -0.4)); })},
        {"Дыхание",
         "Ладони на животе. Вдохните носом на четыре счёта, чтобы живот поднялся, задержите "
         "дыхание на два и выдохните ртом на шесть. 5 раз.",
         PoseStep(breath, 3.25, 0,
                  [](QPainter& p, Map at) {
                      DrawArrow(p, at(1.6, -0.4), at(1.6, -2.4));
                      DrawArrow(p, at(-1.6, -2.4), at(-1.6, -0.4));
                  })},
    };
    DrawSteps(page, steps, 128, 140, 15);

    page.Skip(4);
    page.Paragraph(
        "<b>Осторожно.</b> Если закружилась голова, появилась боль или одышка — остановитесь и "
        "отдохните. При болезнях сердца, суставов и позвоночника, после операций и во время "
        "беременности подберите нагрузку вместе с врачом.",
        15);
    return Finish(page, path);
}

} // namespace toravel::pictures
