#include "tools/make_pictures/figure.h"

#include <QLineF>
#include <QPainterPath>
#include <algorithm>
#include <cmath>
#include <numbers>

#include "tools/make_pictures/palette.h"

namespace toravel::pictures {
namespace {

constexpr double kTrunk = 3.0;
constexpr double kShoulderHeight = 2.65;
constexpr double kHeadHeight = 3.75;
constexpr double kHeadRadius = 0.55;
constexpr double kHalfShoulders = 0.6;
constexpr double kUpperArm = 1.3, kForearm = 1.2;
constexpr double kThigh = 1.7, kShin = 1.6;

QPointF Along(const Pose& pose, double length) {
    const double a = pose.trunkLean * std::numbers::pi / 180;
    return {length * std::sin(a), -length * std::cos(a)};
}

double Dot(QPointF a, QPointF b) {
    return a.x() * b.x() + a.y() * b.y();
}

// Middle joint of a two-segment limb from `root` reaching for `end`; of the
// two solutions the one lying further towards `bend`. An end out of reach is
// pulled in to a nearly straight limb.
QPointF MiddleJoint(QPointF root, QPointF end, double first, double second, QPointF bend) {
    const QPointF d = end - root;
    double reach = std::hypot(d.x(), d.y());
    reach = std::clamp(reach, std::abs(first - second) + 1e-3, first + second - 1e-3);
    const double towards = std::atan2(d.y(), d.x());
    const double opening = std::acos(std::clamp(
        (first * first + reach * reach - second * second) / (2 * first * reach), -1.0, 1.0));
    const QPointF a =
        root + first * QPointF(std::cos(towards + opening), std::sin(towards + opening));
    const QPointF b =
        root + first * QPointF(std::cos(towards - opening), std::sin(towards - opening));
    return Dot(a - root, bend) >= Dot(b - root, bend) ? a : b;
}

QPointF Reached(QPointF root, QPointF end, double first, double second) {
    const QPointF d = end - root;
    const double reach = std::hypot(d.x(), d.y());
    const double limit = first + second - 1e-3;
    return reach <= limit ? end : root + d * (limit / reach);
}

void DrawLimb(QPainter& painter, QPointF root, const Limb& limb, double first, double second,
              QPointF origin, double unit, bool foot, bool side, int outward) {
    const QPointF end = Reached(root, limb.end, first, second);
    const QPointF joint = MiddleJoint(root, end, first, second, limb.bend);
    auto px = [&](QPointF p) { return origin + p * unit; };
    QPainterPath path(px(root));
    path.lineTo(px(joint));
    path.lineTo(px(end));
    if (foot)
        path.lineTo(px(end + (side ? QPointF(0.45, 0) : QPointF(0.3 * outward, 0))));
    painter.drawPath(path);
}

void ArrowHead(QPainter& painter, QPointF tip, double angle, double width) {
    const double size = 4 * width;
    QPolygonF head;
    head << tip << tip - QPointF(size * std::cos(angle - 0.45), size * std::sin(angle - 0.45))
         << tip - QPointF(size * std::cos(angle + 0.45), size * std::sin(angle + 0.45));
    painter.setPen(Qt::NoPen);
    painter.setBrush(kRed);
    painter.drawPolygon(head);
}

} // namespace

QPointF ShoulderOf(const Pose& pose) {
    return Along(pose, kShoulderHeight);
}
QPointF HeadOf(const Pose& pose) {
    return Along(pose, kHeadHeight);
}

void DrawFigure(QPainter& painter, const Pose& pose, QPointF pelvis, double unit,
                const QColor& colour) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    const QColor far = pose.sideView ? QColor(colour).lighter(190) : colour;
    auto pen = [&](const QColor& c) {
        QPen p(c, 0.42 * unit, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
        painter.setPen(p);
        painter.setBrush(Qt::NoBrush);
    };
    const QPointF shoulder = ShoulderOf(pose);
    // Seen from the front the arms start at the ends of the shoulders.
    const QPointF across = pose.sideView ? QPointF(0, 0) : QPointF(kHalfShoulders, 0);
    const QPointF hip(0, 0);
    pen(far);
    DrawLimb(painter, shoulder - across, pose.farArm, kUpperArm, kForearm, pelvis, unit, false,
             pose.sideView, -1);
    if (pose.legs)
        DrawLimb(painter, hip, pose.farLeg, kThigh, kShin, pelvis, unit, true, pose.sideView, -1);
    pen(colour);
    painter.drawLine(pelvis + hip * unit, pelvis + Along(pose, kTrunk) * unit);
    if (pose.legs)
        DrawLimb(painter, hip, pose.nearLeg, kThigh, kShin, pelvis, unit, true, pose.sideView, 1);
    if (!pose.sideView)
        painter.drawLine(pelvis + (shoulder - across) * unit, pelvis + (shoulder + across) * unit);
    DrawLimb(painter, shoulder + across, pose.nearArm, kUpperArm, kForearm, pelvis, unit, false,
             pose.sideView, 1);
    if (pose.hollowHead) {
        painter.setPen(QPen(colour, 0.2 * unit));
        painter.setBrush(kPaper);
    } else {
        painter.setPen(Qt::NoPen);
        painter.setBrush(colour);
    }
    painter.drawEllipse(pelvis + HeadOf(pose) * unit, kHeadRadius * unit, kHeadRadius * unit);
    painter.restore();
}

void DrawArrow(QPainter& painter, QPointF from, QPointF to, double width) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    const double angle = std::atan2(to.y() - from.y(), to.x() - from.x());
    const QPointF shaftEnd = to - QPointF(std::cos(angle), std::sin(angle)) * (2.5 * width);
    painter.setPen(QPen(kRed, width, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(from, shaftEnd);
    ArrowHead(painter, to, angle, width);
    painter.restore();
}

void DrawArcArrow(QPainter& painter, QPointF centre, double radius, double startDeg, double spanDeg,
                  double width) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    const QRectF box(centre.x() - radius, centre.y() - radius, 2 * radius, 2 * radius);
    // Stop the shaft a little before the tip so the head covers its end.
    const double headDeg = (2.5 * width / radius) * 180 / std::numbers::pi;
    const double shaftSpan = spanDeg > 0 ? spanDeg - headDeg : spanDeg + headDeg;
    QPainterPath arc;
    arc.arcMoveTo(box, startDeg);
    arc.arcTo(box, startDeg, shaftSpan);
    painter.setPen(QPen(kRed, width, Qt::SolidLine, Qt::RoundCap));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(arc);
    const double endRad = (startDeg + spanDeg) * std::numbers::pi / 180;
    const QPointF tip = centre + QPointF(radius * std::cos(endRad), -radius * std::sin(endRad));
    // Tangent of travel on screen (y down): counter-clockwise when span > 0.
    const double sign = spanDeg > 0 ? 1 : -1;
    const QPointF tangent(-std::sin(endRad) * sign, -std::cos(endRad) * sign);
    ArrowHead(painter, tip, std::atan2(tangent.y(), tangent.x()), width);
    painter.restore();
}

} // namespace toravel::pictures
