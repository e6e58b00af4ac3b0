// The k-d tree of the point index. The tree compares squared chord lengths
// between unit vectors, which grow with the great-circle distance, so the
// nearest by chord is the nearest on the sphere; only the answer is turned
// back into kilometres.
#include "place/sphere_point_index.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace toravel {
namespace {

constexpr double kRadiansPerDegree = std::numbers::pi / 180.0;

bool IsOnTheEarth(GeographicPoint p) {
    return std::isfinite(p.latitude) && std::isfinite(p.longitude) &&
           std::fabs(p.latitude) <= 90.0 && std::fabs(p.longitude) <= 180.0;
}

std::array<double, 3> UnitVector(GeographicPoint p) {
    const double phi = p.latitude * kRadiansPerDegree;
    const double lambda = p.longitude * kRadiansPerDegree;
    return {std::cos(phi) * std::cos(lambda), std::cos(phi) * std::sin(lambda), std::sin(phi)};
}

double SquaredChord(const std::array<double, 3>& a, const std::array<double, 3>& b) {
    const double dx = a[0] - b[0], dy = a[1] - b[1], dz = a[2] - b[2];
    return dx * dx + dy * dy + dz * dz;
}

} // namespace

double GreatCircleKm(GeographicPoint a, GeographicPoint b) {
    const double phi1 = a.latitude * kRadiansPerDegree;
    const double phi2 = b.latitude * kRadiansPerDegree;
    const double sinHalfPhi = std::sin((phi2 - phi1) / 2);
    const double sinHalfLambda = std::sin((b.longitude - a.longitude) * kRadiansPerDegree / 2);
    const double h =
        sinHalfPhi * sinHalfPhi + std::cos(phi1) * std::cos(phi2) * sinHalfLambda * sinHalfLambda;
    return 2 * kMeanEarthRadiusKm * std::asin(std::min(1.0, std::sqrt(h)));
}

SpherePointIndex::SpherePointIndex(const std::vector<GeographicPoint>& points) {
    nodes_.reserve(points.size());
    for (std::size_t i = 0; i < points.size(); ++i)
        if (IsOnTheEarth(points[i]))
            nodes_.push_back({UnitVector(points[i]), i});
    Build(0, nodes_.size(), 0);
}

void SpherePointIndex::Build(std::size_t begin, std::size_t end, int depth) {
    if (end - begin <= 1)
        return;
    const std::size_t middle = begin + (end - begin) / 2;
    const int axis = depth % 3;
    std::nth_element(nodes_.begin() + static_cast<long>(begin),
                     nodes_.begin() + static_cast<long>(middle),
                     nodes_.begin() + static_cast<long>(end),
                     [axis](const Node& a, const Node& b) { return a.unit[axis] < b.unit[axis]; });
    Build(begin, middle, depth + 1);
    Build(middle + 1, end, depth + 1);
}

void SpherePointIndex::Search(std::size_t begin, std::size_t end, int depth,
                              const std::array<double, 3>& at, double& bestChord2,
                              std::optional<std::size_t>& best) const {
    if (begin >= end)
        return;
    const std::size_t middle = begin + (end - begin) / 2;
    const Node& node = nodes_[middle];
    const double chord2 = SquaredChord(node.unit, at);
    if (chord2 < bestChord2 ||
        (chord2 == bestChord2 && (!best || node.index < nodes_[*best].index))) {
        bestChord2 = chord2;
        best = middle;
    }
    const int axis = depth % 3;
    const double offset = at[axis] - node.unit[axis];
    // The side of the splitting plane that holds `at` first; the other only
    // when the plane is no farther than the best point found.
    if (offset < 0) {
        Search(begin, middle, depth + 1, at, bestChord2, best);
        if (offset * offset <= bestChord2)
            Search(middle + 1, end, depth + 1, at, bestChord2, best);
    } else {
        Search(middle + 1, end, depth + 1, at, bestChord2, best);
        if (offset * offset <= bestChord2)
            Search(begin, middle, depth + 1, at, bestChord2, best);
    }
}

std::optional<SpherePointIndex::Nearest> SpherePointIndex::NearestWithin(GeographicPoint at,
                                                                         double radiusKm) const {
    if (!IsOnTheEarth(at) || !(radiusKm >= 0.0))
        return std::nullopt;
    const double angle = std::min(radiusKm / kMeanEarthRadiusKm, std::numbers::pi);
    const double chord = 2 * std::sin(angle / 2);
    double bestChord2 = chord * chord;
    std::optional<std::size_t> best;
    Search(0, nodes_.size(), 0, UnitVector(at), bestChord2, best);
    if (!best)
        return std::nullopt;
    const double distanceKm =
        2 * kMeanEarthRadiusKm * std::asin(std::min(1.0, std::sqrt(bestChord2) / 2));
    // The chord test may let through a point a rounding error beyond the
    // radius; the answer keeps its promise.
    if (distanceKm > radiusKm)
        return std::nullopt;
    return Nearest{nodes_[*best].index, distanceKm};
}

} // namespace toravel
