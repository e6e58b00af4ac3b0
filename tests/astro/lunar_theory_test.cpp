#include "astro/lunar_theory.h"

#include <gtest/gtest.h>

#include <cmath>

#include "astro/constants.h"
#include "astro/lunar_solar_table.generated.h"

namespace toravel {
namespace {

// The series summed as MoonEclipticPosition sums it, with the committed table.
void SumSeries(LunarSeries& series, double T) {
    series.Prepare(T);
    for (int i = 0; i < LunarSolarRowCount; ++i) {
        const LunarSolarCoefficients& c = LunarSolarCoefficientTable[i];
        const LunarArgumentKey& k = LunarSolarKeys[i];
        series.AddSolarTerm(c.longitude, c.latitudeArgument, c.latitudeAmplitude, c.parallax, k.p,
                            k.q, k.r, k.s);
    }
    for (const LunarLatitudeRow& row : LunarLatitudeTable) {
        series.AddLatitudeTerm(row.coefficient, row.key.p, row.key.q, row.key.r, row.key.s);
    }
    series.AddPlanetaryTerms(T);
}

double SineOfTurns(double turns) {
    return std::sin(2.0 * Pi * turns);
}

// The long-period perturbation g of the factor of F, written out afresh.
double DirectG(double T) {
    return -3.332e-6 * SineOfTurns(0.59734 - 5.37261 * T) -
           5.39e-7 * SineOfTurns(0.35498 - 5.37899 * T) -
           6.4e-8 * SineOfTurns(0.39943 - 5.37511 * T);
}

// The mean arguments l, l′, F, D written out afresh: polynomial in
// revolutions plus the long-period correction in arcseconds.
void DirectArguments(double T, double argument[4], double& meanLongitude) {
    const double S[8] = {0.0,
                         SineOfTurns(0.19833 + 0.05611 * T),
                         SineOfTurns(0.27869 + 0.04508 * T),
                         SineOfTurns(0.16827 - 0.36903 * T),
                         SineOfTurns(0.34734 - 5.37261 * T),
                         SineOfTurns(0.10498 - 5.37899 * T),
                         SineOfTurns(0.42681 - 0.41855 * T),
                         SineOfTurns(0.14943 - 5.37511 * T)};
    const double dL0 =
        0.84 * S[1] + 0.31 * S[2] + 14.27 * S[3] + 7.26 * S[4] + 0.28 * S[5] + 0.24 * S[6];
    const double dl =
        2.94 * S[1] + 0.31 * S[2] + 14.27 * S[3] + 9.34 * S[4] + 1.12 * S[5] + 0.83 * S[6];
    const double dls = -6.40 * S[1] - 1.89 * S[6];
    const double dF = 0.21 * S[1] + 0.31 * S[2] + 14.27 * S[3] - 88.70 * S[4] - 15.30 * S[5] +
                      0.24 * S[6] - 1.86 * S[7];
    auto turns = [T](double c0, double c1, double c2) {
        const double x = c0 + c1 * T + c2 * T * T;
        return 2.0 * Pi * (x - std::floor(x));
    };
    meanLongitude = turns(0.60643382, 1336.85522467, -0.00000313) + dL0 / ArcsecondsPerRadian;
    argument[0] = turns(0.37489701, 1325.55240982, 0.00002565) + dl / ArcsecondsPerRadian;
    argument[1] = turns(0.99312619, 99.99735956, -0.00000044) + dls / ArcsecondsPerRadian;
    argument[2] = turns(0.25909118, 1342.22782980, -0.00000892) + dF / ArcsecondsPerRadian;
    argument[3] = turns(0.82736186, 1236.85308708, -0.00000397) + (dL0 - dls) / ArcsecondsPerRadian;
}

void DirectFactors(double T, double factor[4]) {
    factor[0] = 1.000002208;
    factor[1] = 0.997504612 - 0.002495388 * T;
    factor[2] = 1.000002708 + 139.978 * DirectG(T);
    factor[3] = 1.0;
}

TEST(LunarTheory, PreparedArgumentsAtJ2000) {
    LunarSeries series;
    series.Prepare(0.0);
    EXPECT_NEAR(series.inclinationPerturbation, 1.449437e-6, 5e-13);
    struct Row {
        const char* name;
        double value, expected;
    } rows[] = {
        {"L0", series.meanLongitude, 3.810431831}, {"l", series.moonAnomaly, 2.355664819},
        {"l'", series.sunAnomaly, 6.239962411},    {"F", series.nodeDistance, 1.627576306},
        {"D", series.elongation, 5.198597120},
    };
    for (const Row& r : rows)
        EXPECT_NEAR(r.value, r.expected, 5e-10) << r.name;
    EXPECT_EQ(series.longitudeSum, 0.0);
    EXPECT_EQ(series.parallaxSum, 3422.7);
}

TEST(LunarTheory, SumsAtJ2000) {
    LunarSeries series;
    SumSeries(series, 0.0);
    struct Row {
        const char* name;
        double value, expected;
    } rows[] = {
        {"dλ", series.longitudeSum, 17990.0829},     {"dS", series.latitudeArgumentSum, 17805.4213},
        {"dγ", series.latitudeAmplitudeSum, 0.1325}, {"P", series.parallaxSum, 3269.1913},
        {"N", series.latitudeSum, 275.3459},
    };
    for (const Row& r : rows)
        EXPECT_NEAR(r.value, r.expected, 1e-4) << r.name << " (arcseconds)";
}

TEST(LunarTheory, PositionsAtThreeEpochs) {
    struct Row {
        double T, longitude, latitude, distance;
    } rows[] = {
        {0.0, 3.89765021, 0.09024960, 402437.96},
        {0.1, 1.80166782, 0.01263909, 359358.96},
        {-0.1, 5.69928767, 0.01529615, 380714.60},
    };
    for (const Row& r : rows) {
        const Vector3 moon = MoonEclipticPosition(r.T);
        EXPECT_NEAR(moon.Spherical(SphericalComponent::Azimuth), r.longitude, 2e-8)
            << "T = " << r.T;
        EXPECT_NEAR(moon.Spherical(SphericalComponent::Elevation), r.latitude, 2e-8)
            << "T = " << r.T;
        EXPECT_NEAR(moon.Spherical(SphericalComponent::Radius), r.distance, 0.01) << "T = " << r.T;

        // The vector carries the readers' values exactly, and x, y, z agree.
        LunarSeries series;
        SumSeries(series, r.T);
        EXPECT_EQ(moon.Spherical(SphericalComponent::Azimuth), series.Longitude()) << "T = " << r.T;
        EXPECT_EQ(moon.Spherical(SphericalComponent::Elevation), series.Latitude())
            << "T = " << r.T;
        EXPECT_EQ(moon.Spherical(SphericalComponent::Radius), series.Distance()) << "T = " << r.T;
        EXPECT_NEAR(moon.z, r.distance * std::sin(r.latitude), 0.05) << "T = " << r.T;
        EXPECT_NEAR(std::atan2(moon.y, moon.x), std::remainder(r.longitude, 2.0 * Pi), 1e-7)
            << "T = " << r.T;
    }
}

// Away from the fitted epochs the tables and factors are checked against
// direct cosines, sines and powers.
TEST(LunarTheory, MultipleTablesCarryTheFactorToThePowerOfTheMultiple) {
    const int highest[4] = {4, 3, 4, 6};
    const char* const names[4] = {"l", "l'", "F", "D"};
    for (double T : {0.37, -1.3}) {
        LunarSeries series;
        series.Prepare(T);
        EXPECT_NEAR(series.inclinationPerturbation, DirectG(T), 1e-15) << "g at T = " << T;
        double argument[4], meanLongitude = 0.0, factor[4];
        DirectArguments(T, argument, meanLongitude);
        DirectFactors(T, factor);
        // The T² terms move these arguments by up to 3e-4 rad at T = −1.3.
        EXPECT_NEAR(series.meanLongitude, meanLongitude, 1e-9) << "L0 at T = " << T;
        EXPECT_NEAR(series.moonAnomaly, argument[0], 1e-9) << "l at T = " << T;
        EXPECT_NEAR(series.sunAnomaly, argument[1], 1e-9) << "l' at T = " << T;
        EXPECT_NEAR(series.nodeDistance, argument[2], 1e-9) << "F at T = " << T;
        EXPECT_NEAR(series.elongation, argument[3], 1e-9) << "D at T = " << T;
        for (int column = 0; column < 4; ++column) {
            for (int k = -highest[column]; k <= highest[column]; ++k) {
                const double scale = std::pow(factor[column], std::abs(k));
                const int row = k + LunarSeries::MultipleOffset;
                EXPECT_NEAR(series.cosMultiple[row][column], scale * std::cos(k * argument[column]),
                            1e-12)
                    << names[column] << " k = " << k << " T = " << T;
                EXPECT_NEAR(series.sinMultiple[row][column], scale * std::sin(k * argument[column]),
                            1e-12)
                    << names[column] << " k = " << k << " T = " << T;
            }
        }
    }
}

TEST(LunarTheory, SunAnomalyFactorDecreasesWithTime) {
    LunarSeries early, late;
    early.Prepare(-1.3);
    late.Prepare(0.37);
    const double fEarly = std::hypot(early.cosMultiple[7][1], early.sinMultiple[7][1]);
    const double fLate = std::hypot(late.cosMultiple[7][1], late.sinMultiple[7][1]);
    EXPECT_NEAR(fEarly, 0.997504612 + 0.002495388 * 1.3, 1e-12);
    EXPECT_GT(fEarly, 1.0);
    EXPECT_LT(fLate, 0.997504612);
}

TEST(LunarTheory, TermCosSinScalesByTheMultiplesUsed) {
    struct Key {
        int p, q, r, s;
    } keys[] = {
        {1, 0, 0, 0},  {0, -1, 0, 0}, {1, -1, 0, 0}, {1, -1, -2, 2}, {0, 0, 4, 0},
        {4, 0, 0, -2}, {1, 3, 0, -2}, {0, 0, 0, -6}, {-2, 0, 1, -2}, {0, 0, 0, 0},
    };
    for (double T : {0.37, -1.3}) {
        LunarSeries series;
        series.Prepare(T);
        double argument[4], meanLongitude = 0.0, factor[4];
        DirectArguments(T, argument, meanLongitude);
        DirectFactors(T, factor);
        for (const Key& k : keys) {
            const int m[4] = {k.p, k.q, k.r, k.s};
            double angle = 0.0, scale = 1.0;
            for (int i = 0; i < 4; ++i) {
                angle += m[i] * argument[i];
                scale *= std::pow(factor[i], std::abs(m[i]));
            }
            double x = 0.0, y = 0.0;
            series.TermCosSin(k.p, k.q, k.r, k.s, x, y);
            EXPECT_NEAR(x, scale * std::cos(angle), 1e-12)
                << "(" << k.p << ", " << k.q << ", " << k.r << ", " << k.s << ") T = " << T;
            EXPECT_NEAR(y, scale * std::sin(angle), 1e-12)
                << "(" << k.p << ", " << k.q << ", " << k.r << ", " << k.s << ") T = " << T;
        }
    }
}

TEST(LunarTheory, TermsAddToTheirSums) {
    for (double T : {0.37, -1.3}) {
        LunarSeries series;
        series.Prepare(T);
        double x = 0.0, y = 0.0;
        series.TermCosSin(1, -1, 0, 0, x, y);
        series.AddSolarTerm(2.0, 3.0, 5.0, 7.0, 1, -1, 0, 0);
        series.AddLatitudeTerm(11.0, 1, -1, 0, 0);
        EXPECT_DOUBLE_EQ(series.longitudeSum, 2.0 * y) << "T = " << T;
        EXPECT_DOUBLE_EQ(series.latitudeArgumentSum, 3.0 * y) << "T = " << T;
        EXPECT_DOUBLE_EQ(series.latitudeAmplitudeSum, 5.0 * x) << "T = " << T;
        EXPECT_DOUBLE_EQ(series.parallaxSum, 3422.7 + 7.0 * x) << "T = " << T;
        EXPECT_DOUBLE_EQ(series.latitudeSum, 11.0 * y) << "T = " << T;

        // A second Prepare starts every sum afresh.
        series.Prepare(T);
        EXPECT_EQ(series.longitudeSum, 0.0);
        EXPECT_EQ(series.latitudeArgumentSum, 0.0);
        EXPECT_EQ(series.latitudeAmplitudeSum, 0.0);
        EXPECT_EQ(series.latitudeSum, 0.0);
        EXPECT_EQ(series.parallaxSum, 3422.7);
    }
}

TEST(LunarTheory, PlanetaryTermsAreTheirDirectSum) {
    const double table[11][3] = {
        {0.82, 0.7736, -62.5512},  {0.31, 0.0466, -125.1025}, {0.35, 0.5785, -25.1042},
        {0.66, 0.4591, 1335.8075}, {0.64, 0.3130, -91.5680},  {1.14, 0.1480, 1331.2898},
        {0.21, 0.5918, 1056.5859}, {0.44, 0.5784, 1322.8595}, {0.24, 0.2275, -5.7374},
        {0.28, 0.2965, 2.6929},    {0.33, 0.3132, 6.3368},
    };
    for (double T : {0.37, -1.3}) {
        double expected = 0.0;
        for (const auto& term : table)
            expected += term[0] * SineOfTurns(term[1] + term[2] * T);
        LunarSeries series;
        series.Prepare(T);
        series.AddPlanetaryTerms(T);
        EXPECT_NEAR(series.longitudeSum, expected, 1e-11) << "T = " << T;
    }
}

TEST(LunarTheory, LongitudeStaysWithinOneTurn) {
    struct Row {
        const char* name;
        double meanLongitude, longitudeSum;
    } rows[] = {
        {"a hair below zero", -1e-17, 0.0},    {"sum below zero", 0.001, -1000.0},
        {"just above a turn", 2.0 * Pi, 1e-9}, {"a full turn", 2.0 * Pi, 0.0},
        {"far above a turn", 6.2, 30000.0},
    };
    for (const Row& r : rows) {
        LunarSeries series;
        series.Prepare(0.0);
        series.meanLongitude = r.meanLongitude;
        series.longitudeSum = r.longitudeSum;
        const double longitude = series.Longitude();
        EXPECT_GE(longitude, 0.0) << r.name;
        EXPECT_LT(longitude, 2.0 * Pi) << r.name;
        const double expected = r.meanLongitude + r.longitudeSum / ArcsecondsPerRadian;
        EXPECT_NEAR(std::remainder(longitude - expected, 2.0 * Pi), 0.0, 1e-15) << r.name;
    }
    for (double T = -3.0; T <= 3.0; T += 0.0137) {
        const double longitude = MoonEclipticPosition(T).Spherical(SphericalComponent::Azimuth);
        ASSERT_GE(longitude, 0.0) << "T = " << T;
        ASSERT_LT(longitude, 2.0 * Pi) << "T = " << T;
    }
}

// The committed table against the theory's own rows and the form it states.
TEST(LunarTheory, CommittedTableKeepsTheGivenRowsAndTheirStructure) {
    struct Given {
        int place;
        LunarSolarCoefficients c;
    } given[] = {
        {1, {13.902, 14.06, -0.001, 0.2607}},       {3, {2369.912, 2373.36, 0.601, 28.2333}},
        {4, {-125.154, -112.79, -0.725, -0.9781}},  {6, {191.953, 192.72, 0.029, 3.0861}},
        {8, {22639.5, 22609.07, 0.079, 186.5398}},  {10, {-4586.465, -4578.13, -0.077, 34.3117}},
        {17, {-668.146, -126.98, -1.302, -0.3997}}, {19, {-165.145, -165.06, 0.054, 1.9178}},
        {24, {769.016, 767.96, 0.107, 10.1657}},    {26, {-211.656, -152.53, 5.679, -0.3039}},
        {32, {-109.673, -115.18, 0.461, -0.949}},   {33, {-205.962, -182.36, 2.056, 1.4437}},
        {38, {147.687, 138.76, 0.679, 1.1528}},     {48, {-411.608, -0.2, 0, -0.0124}},
        {50, {-55.173, -52.14, 0, -0.1052}},        {104, {-0.33, -0.04, 0, 0}},
    };
    for (const Given& g : given) {
        const LunarSolarCoefficients& c = LunarSolarCoefficientTable[g.place - 1];
        EXPECT_EQ(c.longitude, g.c.longitude) << "row " << g.place;
        EXPECT_EQ(c.latitudeArgument, g.c.latitudeArgument) << "row " << g.place;
        EXPECT_EQ(c.latitudeAmplitude, g.c.latitudeAmplitude) << "row " << g.place;
        EXPECT_EQ(c.parallax, g.c.parallax) << "row " << g.place;
    }
    EXPECT_EQ(LunarSolarKeys[0].s, 4);
    EXPECT_EQ(LunarSolarKeys[103].p, 3);
    EXPECT_EQ(LunarSolarKeys[103].r, 2);
    int withNode = 0, parallaxZero = 0, argumentZero = 0;
    for (int i = 0; i < LunarSolarRowCount; ++i) {
        const LunarSolarCoefficients& c = LunarSolarCoefficientTable[i];
        const bool node = LunarSolarKeys[i].r != 0;
        withNode += node ? 1 : 0;
        EXPECT_EQ(c.latitudeAmplitude == 0.0, node) << "cγ of row " << i + 1;
        EXPECT_NE(c.longitude, 0.0) << "cλ of row " << i + 1;
        parallaxZero += c.parallax == 0.0 ? 1 : 0;
        argumentZero += c.latitudeArgument == 0.0 ? 1 : 0;
    }
    EXPECT_EQ(withNode, 30);
    EXPECT_EQ(parallaxZero, 9);
    EXPECT_EQ(argumentZero, 3);
}

} // namespace
} // namespace toravel
