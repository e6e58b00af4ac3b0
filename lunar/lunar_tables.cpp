#include "lunar/lunar_tables.h"

#include "lunar/moonrise_count.h"
#include "lunar/new_moon_search.h"

namespace toravel {
namespace {

class Searches final : public LunarTables {
public:
    void ComputeNewMoonsOfYear(int year) override { toravel::ComputeNewMoonsOfYear(year); }
    void CountMoonrisesSinceNewMoon(LunarCalendarView& view) override {
        toravel::CountMoonrisesSinceNewMoon(view);
    }
};

} // namespace

LunarTables& SearchedLunarTables() {
    static Searches searches;
    return searches;
}

} // namespace toravel
