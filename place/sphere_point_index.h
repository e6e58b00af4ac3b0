// The nearest of many fixed points on the Earth to a given point: a k-d tree
// over the points' unit vectors, so that a query visits a few dozen points
// instead of all of them, with no special case at the poles or at the 180th
// meridian.
//
// Distances are great-circle distances on a sphere of the mean Earth radius
// (6371.0 km); latitudes and longitudes are degrees, north and east positive.
#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <vector>

namespace toravel {

inline constexpr double kMeanEarthRadiusKm = 6371.0;

struct GeographicPoint {
    double latitude = 0.0;
    double longitude = 0.0;
};

// The great-circle distance in kilometres (haversine form, exact also for
// short distances).
double GreatCircleKm(GeographicPoint a, GeographicPoint b);

class SpherePointIndex {
public:
    // Points that are no numbers or lie off the Earth (beyond ±90°, ±180°)
    // are left out of the index.
    explicit SpherePointIndex(const std::vector<GeographicPoint>& points);

    struct Nearest {
        std::size_t index = 0; // into the constructor's points
        double distanceKm = 0.0;
    };

    // The nearest point within `radiusKm` of `at` (the first of the
    // constructor's order among equally near ones); nothing when none is
    // that near, or `at` is no point on the Earth.
    std::optional<Nearest> NearestWithin(GeographicPoint at, double radiusKm) const;

private:
    struct Node {
        std::array<double, 3> unit; // the point's unit vector
        std::size_t index;          // into the constructor's points
    };

    void Build(std::size_t begin, std::size_t end, int depth);
    void Search(std::size_t begin, std::size_t end, int depth, const std::array<double, 3>& at,
                double& bestChord2, std::optional<std::size_t>& best) const;

    // Kept in tree order: the median of each range is its node, the halves
    // before and after it its subtrees, split on x, y, z in turn by depth.
    std::vector<Node> nodes_;
};

} // namespace toravel
