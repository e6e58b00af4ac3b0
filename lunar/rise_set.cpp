#include "lunar/rise_set.h"

#include <cmath>

#include "astro/constants.h"
#include "astro/low_precision.h"
#include "astro/sidereal_time.h"

namespace toravel {

double StandardAltitudeSine[RiseSetKindCount];
bool StandardAltitudeSineFilled = false;

namespace {

// Standard altitudes h0 in degrees, in the order of RiseSetKind.
constexpr double StandardAltitudeDegrees[RiseSetKindCount] = {
    8.0 / 60.0,   // Moonrise: +8′
    -50.0 / 60.0, // Sunrise: −50′
    -6.0,         // civil twilight
    -12.0,        // nautical twilight
    -18.0,        // astronomical twilight
};

void FillStandardAltitudeSine() {
    for (int i = 0; i < RiseSetKindCount; ++i) {
        StandardAltitudeSine[i] = std::sin(StandardAltitudeDegrees[i] * RadiansPerDegree);
    }
    StandardAltitudeSineFilled = true;
}

} // namespace

double SineOfAltitude(RiseSetKind kind, double dayStartMjd, double hour, double longitude,
                      double cosLatitude, double sinLatitude) {
    const double t = dayStartMjd + hour / 24.0;
    const double T = (t - MjdJ2000) / 36525.0; // universal time, no ΔT
    double ra;
    double dec;
    if (kind == RiseSetKind::Moonrise) {
        LowPrecisionMoon(T, ra, dec);
    } else {
        LowPrecisionSun(T, ra, dec);
    }
    const double hourAngle = GreenwichSiderealTime(t) + longitude - ra; // not reduced
    return sinLatitude * std::sin(dec) + cosLatitude * std::cos(dec) * std::cos(hourAngle);
}

void ParabolaRoots(double yMinus, double y0, double yPlus, double& extremumX, double& extremumY,
                   double& firstRoot, double& secondRoot, int& rootCount) {
    rootCount = 0;
    const double a = (yPlus + yMinus) / 2.0 - y0;
    const double b = (yPlus - yMinus) / 2.0;
    const double c = y0;
    if (a == 0.0) {
        // A straight line has no vertex and the root distance would be
        // infinite; report no root for the interval and a finite stand-in.
        extremumX = 0.0;
        extremumY = c;
        return;
    }
    extremumX = -b / (2.0 * a);
    extremumY = (a * extremumX + b) * extremumX + c;
    const double discriminant = b * b - 4.0 * a * c;
    if (discriminant < 0.0) {
        return;
    }
    const double dx = (std::sqrt(discriminant) / 2.0) / std::fabs(a);
    firstRoot = extremumX - dx;
    secondRoot = extremumX + dx;
    if (std::fabs(firstRoot) <= 1.0) {
        ++rootCount;
    }
    if (std::fabs(secondRoot) <= 1.0) {
        ++rootCount;
    }
    if (firstRoot < -1.0) { // a single root in [−1, 1] is always firstRoot
        firstRoot = secondRoot;
    }
}

namespace {

// The sine of the body's altitude above its standard altitude at an hour of
// the day: what both searches below sample at each whole hour, the same
// doubles for both.
class AltitudeAboveStandard {
public:
    AltitudeAboveStandard(RiseSetKind kind, double dayStartMjd, double longitude, double latitude)
        : kind_(kind), dayStartMjd_(dayStartMjd), longitude_(longitude),
          cosLatitude_(std::cos(latitude)), sinLatitude_(std::sin(latitude)) {
        if (!StandardAltitudeSineFilled) {
            FillStandardAltitudeSine();
        }
        h0s_ = StandardAltitudeSine[static_cast<int>(kind)];
    }
    double At(double hour) const {
        return SineOfAltitude(kind_, dayStartMjd_, hour, longitude_, cosLatitude_, sinLatitude_) -
               h0s_;
    }

private:
    RiseSetKind kind_;
    double dayStartMjd_;
    double longitude_;
    double cosLatitude_;
    double sinLatitude_;
    double h0s_ = 0.0;
};

bool HasStandardAltitude(RiseSetKind kind) {
    const int index = static_cast<int>(kind);
    return index >= 0 && index < RiseSetKindCount;
}

} // namespace

void FindRiseSetEvents(RiseSetKind kind, double dayStartMjd, double longitude, double latitude,
                       double& riseHour, double& setHour, bool& riseFound, bool& setFound,
                       bool& upAtStart) {
    riseFound = false;
    setFound = false;
    upAtStart = false;
    if (!HasStandardAltitude(kind)) {
        return; // no standard altitude for this kind
    }
    const AltitudeAboveStandard altitude(kind, dayStartMjd, longitude, latitude);

    double hour = 1.0;
    double yMinus = altitude.At(hour - 1.0);
    upAtStart = yMinus > 0.0; // exactly at h0 counts as below

    // Two-hour intervals centred on the odd hours; neighbours share the
    // sample at the even hour between them.
    do {
        const double y0 = altitude.At(hour);
        const double yPlus = altitude.At(hour + 1.0);
        double extremumX;
        double extremumY;
        double firstRoot = 0.0;
        double secondRoot = 0.0;
        int rootCount;
        ParabolaRoots(yMinus, y0, yPlus, extremumX, extremumY, firstRoot, secondRoot, rootCount);
        if (rootCount == 1) {
            if (yMinus < 0.0) {
                riseHour = hour + firstRoot;
                riseFound = true;
            } else {
                setHour = hour + firstRoot;
                setFound = true;
            }
        } else if (rootCount == 2) {
            if (extremumY < 0.0) { // dips below h0 and comes back: sets first
                riseHour = hour + secondRoot;
                setHour = hour + firstRoot;
            } else {
                riseHour = hour + firstRoot;
                setHour = hour + secondRoot;
            }
            riseFound = true;
            setFound = true;
        }
        yMinus = yPlus;
        hour += 2.0;
    } while (hour < 25.0 && !(riseFound && setFound));
}

RisesOfDay FindAllRises(RiseSetKind kind, double dayStartMjd, double longitude, double latitude) {
    RisesOfDay rises;
    if (!HasStandardAltitude(kind)) {
        return rises;
    }
    const AltitudeAboveStandard altitude(kind, dayStartMjd, longitude, latitude);

    // The samples, intervals and roots of FindRiseSetEvents, computed the
    // same way, so that the rise it keeps comes out the same double.
    double yMinus = altitude.At(0.0);
    for (double hour = 1.0; hour < 25.0; hour += 2.0) {
        const double y0 = altitude.At(hour);
        const double yPlus = altitude.At(hour + 1.0);
        double extremumX;
        double extremumY;
        double firstRoot = 0.0;
        double secondRoot = 0.0;
        int rootCount;
        ParabolaRoots(yMinus, y0, yPlus, extremumX, extremumY, firstRoot, secondRoot, rootCount);
        if (rootCount == 1 && yMinus < 0.0) {
            rises.hours[static_cast<std::size_t>(rises.count++)] = hour + firstRoot;
        } else if (rootCount == 2) {
            rises.hours[static_cast<std::size_t>(rises.count++)] =
                extremumY < 0.0 ? hour + secondRoot : hour + firstRoot;
        }
        yMinus = yPlus;
    }
    return rises;
}

} // namespace toravel
