// Pictogram figures for the exercise and massage steps.
//
// A figure is given in body units with the pelvis at (0, 0), x to the right
// and y downwards, as on the page: the trunk is 3 units long, the head 0.55
// in radius, upper arm and forearm 1.3 and 1.2, thigh and shin 1.7 and 1.6.
// Hands and feet are placed where they should be; the elbows and knees are
// found by bending each limb towards its hint (two-segment inverse
// kinematics), so a pose reads like "hands on the ears".
#pragma once

#include <QColor>
#include <QPainter>
#include <QPointF>

namespace toravel::pictures {

struct Limb {
    QPointF end;  // hand or foot, in body units
    QPointF bend; // direction the elbow or knee points to
};

struct Pose {
    double trunkLean = 0; // degrees from upright, positive towards +x
    Limb nearArm{{0.5, 0.1}, {1, 0}};
    Limb farArm{{-0.5, 0.1}, {-1, 0}};
    Limb nearLeg{{0.35, 3.25}, {0, -1}};
    Limb farLeg{{-0.35, 3.25}, {0, -1}};
    bool sideView = false;   // side view: the far limbs are drawn paler, feet point to +x
    bool legs = true;        // false: a bust, trunk and arms only
    bool hollowHead = false; // outline head, so marks on the face show
};

// Points of the trunk for placing hands: shoulder, neck and head centre.
QPointF ShoulderOf(const Pose& pose);
QPointF HeadOf(const Pose& pose);

// Draws the pose with the pelvis at `pelvis` (pixels), `unit` pixels a body unit.
void DrawFigure(QPainter& painter, const Pose& pose, QPointF pelvis, double unit,
                const QColor& colour);

// A red movement arrow along a straight line or a circular arc (degrees, Qt's
// convention: counter-clockwise from three o'clock, negative span clockwise).
void DrawArrow(QPainter& painter, QPointF from, QPointF to, double width = 2.5);
void DrawArcArrow(QPainter& painter, QPointF centre, double radius, double startDeg, double spanDeg,
                  double width = 2.5);

} // namespace toravel::pictures
