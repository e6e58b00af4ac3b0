// The month's lunar calendar checked two ways.
//
//   toravel-check-month-calendar [year]
//       A year (default 2026) of beginnings at Moscow, Novosibirsk and
//       Murmansk against Swiss Ephemeris: largest and rms difference in
//       seconds of the new moons, moonrises and full moons as the calendar
//       shows them, and the days on which only one side has a moonrise.
//
//   toravel-check-month-calendar --second-rises first-year last-year
//       The dates on which the Moon rises twice at Murmansk, Tromsø, Norilsk
//       and Longyearbyen, ours and the reference's; exits 1 where they
//       differ.
//
//   toravel-check-month-calendar --agreement first-year last-year
//       The calendar against the single calculation at 00:00 and 12:00 of
//       every day, at places with and without clock changes, polar and
//       southern ones; exits 1 on any disagreement.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <stdexcept>

#include "lunar/working_stream.h"
#include "platform/conversions.h"
#include "tools/check_month_calendar/agreement_scan.h"
#include "tools/check_month_calendar/beginnings_comparison.h"
#include "tools/check_month_calendar/second_rises.h"
#include "zoneinfo/system_zone_files.h"

#ifndef TORAVEL_SWE_DATA_DIR
#error "TORAVEL_SWE_DATA_DIR must name the Swiss Ephemeris data directory"
#endif

int main(int argc, char** argv) {
    using namespace toravel;
    using namespace toravel::tools;
    SetLunarWorkingStream(&DiscardingStream());
    UseSystemZoneFiles();

    if (argc == 4 && std::strcmp(argv[1], "--agreement") == 0) {
        const int first = std::atoi(argv[2]);
        const int last = std::atoi(argv[3]);
        const AgreementPlace places[] = {
            {"Москва", "55,7558", "37,6173", "Europe/Moscow"},
            {"Новосибирск", "55,0280", "82,9242", "Asia/Novosibirsk"},
            {"Мурманск", "68,9585", "33,0827", "Europe/Moscow"},
            {"Берлин", "52,52", "13,405", "Europe/Berlin"},
            {"Лонгйир", "78,2232", "15,6267", "Arctic/Longyearbyen"},
            {"Нью-Йорк", "40,7128", "-74,006", "America/New_York"},
            {"Сидней", "-33,8688", "151,2093", "Australia/Sydney"},
        };
        long disagreements = 0;
        for (const AgreementPlace& place : places)
            disagreements += ScanAgreement(place, first, last);
        return disagreements == 0 ? 0 : 1;
    }
    if (argc == 4 && std::strcmp(argv[1], "--second-rises") == 0) {
        const ReferenceMoon reference(TORAVEL_SWE_DATA_DIR);
        const struct {
            const char* name;
            CalendarPlace place;
        } places[] = {
            {"Мурманск", {StrToFloat("68,9585"), StrToFloat("33,0827"), "Europe/Moscow"}},
            {"Тромсё", {StrToFloat("69,6492"), StrToFloat("18,9553"), "Europe/Oslo"}},
            {"Норильск", {StrToFloat("69,3535"), StrToFloat("88,2027"), "Asia/Krasnoyarsk"}},
            {"Лонгйир", {StrToFloat("78,2232"), StrToFloat("15,6267"), "Arctic/Longyearbyen"}},
        };
        long differing = 0;
        for (const auto& p : places)
            differing += ListSecondMoonrises(p.name, p.place, std::atoi(argv[2]),
                                             std::atoi(argv[3]), reference);
        return differing == 0 ? 0 : 1;
    }
    if (argc > 2) {
        std::fprintf(stderr,
                     "usage: %s [year] | --second-rises first-year last-year"
                     " | --agreement first-year last-year\n",
                     argv[0]);
        return 2;
    }

    const int year = argc == 2 ? std::atoi(argv[1]) : 2026;
    try {
        const ReferenceMoon reference(TORAVEL_SWE_DATA_DIR);
        CompareYearOfBeginnings("Москва",
                                {StrToFloat("55,7558"), StrToFloat("37,6173"), "Europe/Moscow"},
                                year, reference);
        CompareYearOfBeginnings("Новосибирск",
                                {StrToFloat("55,0280"), StrToFloat("82,9242"), "Asia/Novosibirsk"},
                                year, reference);
        CompareYearOfBeginnings("Мурманск",
                                {StrToFloat("68,9585"), StrToFloat("33,0827"), "Europe/Moscow"},
                                year, reference);
    } catch (const std::runtime_error& error) {
        std::fprintf(stderr, "%s\n", error.what());
        return 1;
    }
    return 0;
}
