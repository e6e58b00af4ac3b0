// fit_lunar_series: fits the free rows of the lunar series' solar table to
// Swiss Ephemeris and writes astro/lunar_solar_table.generated.h.
//
//   fit_lunar_series [OUTPUT]
//
// OUTPUT defaults to the source tree's astro/lunar_solar_table.generated.h.
// Fits on 100 000 points over T in [−2, +2] (1800–2200, from the first day
// the ephemeris files cover), measures on 50 000
// other points, prints the residuals of the committed table, and how far the
// free fit (no check values held) lands from each check value. Runs in well
// under a minute.
#include <chrono>
#include <exception>
#include <fstream>
#include <iostream>
#include <string>

#include "tools/fit_lunar_series/lunar_fit.h"

namespace {

using namespace toravel::lunarfit;

const char* const Command =
    "build/tools/fit_lunar_series/fit_lunar_series astro/lunar_solar_table.generated.h";

void PrintResiduals(const char* title, const SolarTable& table,
                    const std::vector<EphemerisSample>& samples) {
    std::cout << title << '\n';
    struct Span {
        const char* name;
        double tMin, tMax;
    };
    for (const Span& span : {Span{"1800-2200", -2.0, 2.0}, Span{"1900-2100", -1.0, 1.0}}) {
        const Residuals r = MeasureResiduals(table, samples, span.tMin, span.tMax);
        std::cout << "  " << span.name << " (" << r.count << " points): longitude rms "
                  << FormatFixed(r.longitude.rms, 3) << "″ max " << FormatFixed(r.longitude.max, 3)
                  << "″; latitude rms " << FormatFixed(r.latitude.rms, 3) << "″ max "
                  << FormatFixed(r.latitude.max, 3) << "″; distance rms "
                  << FormatFixed(r.distance.rms, 3) << " km max " << FormatFixed(r.distance.max, 3)
                  << " km\n";
    }
}

} // namespace

int main(int argc, char** argv) {
    std::cout.imbue(std::locale::classic());
    const std::string output =
        argc > 1 ? argv[1]
                 : std::string(TORAVEL_SOURCE_DIR) + "/astro/lunar_solar_table.generated.h";
    try {
        const auto start = std::chrono::steady_clock::now();
        const std::vector<EphemerisSample> fitSet =
            SampleEphemeris(FirstSampleT, LastSampleT, FitPoints, FitPhase);
        const std::vector<EphemerisSample> measureSet =
            SampleEphemeris(FirstSampleT, LastSampleT, MeasurePoints, MeasurePhase);

        const FitOutcome outcome = FitSolarTable(fitSet);
        const SolarTable committed = RoundedForPrinting(outcome.constrained);
        const SolarTable free = RoundedForPrinting(outcome.free);
        std::cout << outcome.structureNote;

        std::cout << "check values (table minus printed; ″, km for R):\n"
                  << "  name      committed    free fit\n";
        for (const CheckValue& c : CheckValues()) {
            const std::string name = c.name;
            size_t width = 0; // in characters: the names hold Greek letters and a minus sign
            for (const char ch : name)
                width += (static_cast<unsigned char>(ch) & 0xC0) != 0x80 ? 1 : 0;
            std::cout << "  " << name << std::string(width < 10 ? 10 - width : 1, ' ')
                      << FormatFixed(CheckDistance(committed, c), 6) << "   "
                      << FormatFixed(CheckDistance(free, c), 4)
                      << (c.constraint ? "" : "  (follows)") << '\n';
        }
        PrintResiduals("residuals of the committed table on the measuring set:", committed,
                       measureSet);
        PrintResiduals("residuals of the free fit on the measuring set:", free, measureSet);

        std::ofstream file(output, std::ios::binary);
        file << GeneratedSource(committed, outcome.structure, Command);
        file.close();
        if (!file) {
            std::cerr << "fit_lunar_series: cannot write " << output << '\n';
            return 1;
        }
        const double seconds =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        std::cout << "wrote " << output << " (" << FormatFixed(seconds, 1) << " s)\n";
        return 0;
    } catch (const std::exception& e) {
        std::cerr << "fit_lunar_series: " << e.what() << '\n';
        return 1;
    }
}
