// The month calendar against the single calculation over many years: for
// every day, births at 00:00 and 12:00 run through the calculation command
// with the spin box that --auto-zone fills (the computer at Greenwich), and
// the lunar day each gives is compared with the one the calendar shows in
// force then. Prints the moments compared and each disagreement.
#pragma once

#include <string>

#include "lunar/calendar_place.h"

namespace toravel::tools {

struct AgreementPlace {
    std::string name;
    std::string latitudeText; // as the window's field holds it, "55,7558"
    std::string longitudeText;
    std::string zone;
};

// Returns the number of disagreements.
long ScanAgreement(const AgreementPlace& place, int firstYear, int lastYear);

} // namespace toravel::tools
