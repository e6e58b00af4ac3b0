// The web page's atlas and zones are the desktop's: what the build writes,
// the page's reader gives back field for field and bit for bit, and a
// damaged download is refused whole.
#include <gtest/gtest.h>

#include <cstring>

#include "atlas/geonames_atlas.h"
#include "place/atlas_bundle.h"
#include "place/zone_bundle.h"
#include "place/zone_rules.h"
#include "tools/web_data/bundle_writers.h"
#include "tools/web_data/zone_file_trim.h"
#include "zoneinfo/system_zone_files.h"

namespace toravel {
namespace {

bool SameBits(double a, double b) {
    return std::memcmp(&a, &b, sizeof a) == 0;
}

TEST(AtlasBundle, TheWholeAtlasReadsBackAsItWasBuilt) {
    const AtlasLoad& load = SharedWorldAtlas();
    if (!load.atlas)
        GTEST_SKIP() << load.problem;
    const std::vector<AtlasPlace>& places = load.atlas->places();
    const std::optional<std::vector<AtlasPlace>> read = ReadAtlasBundle(WriteAtlasBundle(places));
    ASSERT_TRUE(read);
    ASSERT_EQ(read->size(), places.size());
    for (std::size_t i = 0; i < places.size(); ++i) {
        const AtlasPlace& a = places[i];
        const AtlasPlace& b = (*read)[i];
        ASSERT_TRUE(a.name == b.name && a.otherName == b.otherName && a.region == b.region &&
                    a.country == b.country && a.zone == b.zone && a.population == b.population &&
                    SameBits(a.latitude, b.latitude) && SameBits(a.longitude, b.longitude) &&
                    a.aliases == b.aliases && a.principal == b.principal)
            << "place " << i << ": " << a.name;
    }
}

TEST(AtlasBundle, DamagedBundlesAreRefusedWhole) {
    const AtlasPlace tartu("Тарту", "Тартумаа", "Эстония", 58.38062, 26.72509, "Europe/Tallinn",
                           101092, "Tartu", std::vector<std::string>{"Дерпт"}, true);
    const std::string good = WriteAtlasBundle({tartu});
    ASSERT_TRUE(ReadAtlasBundle(good));
    auto replaced = [&](std::string_view from, std::string_view to) {
        std::string text = good;
        text.replace(text.find(from), from.size(), to);
        return text;
    };
    const std::pair<const char*, std::string> damaged[] = {
        {"empty", ""},
        {"another format", replaced("toravel-atlas/2", "toravel-atlas/1")},
        {"a principal mark that is no 0 or 1", replaced("\t1\tДерпт", "\tyes\tДерпт")},
        {"an empty alias", replaced("\tДерпт", "\tДерпт\t")},
        {"cut short", good.substr(0, good.size() - 3)},
        {"a line after the places", good + "x\n"},
        {"latitude beyond the pole", replaced("58.38062", "91")},
        {"coordinate that is no number", replaced("26.72509", "east")},
        {"zone index out of range", replaced("\t0\t101092", "\t7\t101092")},
        {"population beyond 32 bits", replaced("101092", "4294967296")},
        {"field missing", replaced("\t101092", "")},
        {"the principal mark missing", replaced("\t1\tДерпт", "")},
        {"count beyond the bound",
         replaced("toravel-atlas/2\n1\n", "toravel-atlas/2\n99999999999\n")},
    };
    for (const auto& [what, text] : damaged)
        EXPECT_FALSE(ReadAtlasBundle(text)) << what;
}

TEST(ZoneBundle, TrimmedFilesGiveTheSameClockAndDamageIsRefused) {
    ZoneFiles files;
    for (const char* name : {"Europe/Berlin", "Asia/Kolkata", "America/Nuuk"}) {
        const std::optional<std::string> file = ReadSystemZoneFile(name);
        ASSERT_TRUE(file) << name;
        const std::optional<std::string> trimmed = ZoneFileWithoutV1Data(*file);
        ASSERT_TRUE(trimmed) << name;
        EXPECT_LT(trimmed->size(), file->size()) << name;
        files.emplace(name, *trimmed);

        const auto whole = ZoneRules::FromZoneFile(*file);
        const auto cut = ZoneRules::FromZoneFile(*trimmed);
        ASSERT_TRUE(whole && cut) << name;
        // Every 40 days from 1850 to 2150.
        for (std::int64_t second = -3786825600; second < 5680281600; second += 40 * 86400) {
            const ZonePeriod a = whole->PeriodAt(second), b = cut->PeriodAt(second);
            ASSERT_TRUE(a.offsetSeconds == b.offsetSeconds && a.daylight == b.daylight &&
                        a.begin == b.begin && a.end == b.end)
                << name << " at " << second;
        }
    }
    const std::string bundle = WriteZoneBundle(files);
    EXPECT_EQ(ReadZoneBundle(bundle), files);
    EXPECT_FALSE(ReadZoneBundle(bundle.substr(0, bundle.size() - 1)));
    EXPECT_FALSE(ReadZoneBundle("toravel-zones/1\nEurope/Berlin\n99999999\n"));
    EXPECT_FALSE(ReadZoneBundle("toravel-zones/2\n"));
    EXPECT_FALSE(ZoneFileWithoutV1Data("TZif\0"));
}

} // namespace
} // namespace toravel
