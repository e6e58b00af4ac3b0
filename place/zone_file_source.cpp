#include "place/zone_file_source.h"

#include <map>
#include <mutex>
#include <utility>

#include "platform/ascii_text.h"

namespace toravel {
namespace {

// Zone names are paths below the database's folder on the desktop. Only the
// characters of real zone names are let through, and no "..", so that a
// city list or a command line cannot steer the reader to another file;
// "localtime" is the machine's own zone, never a birthplace's.
bool LooksLikeZoneName(std::string_view name) {
    if (name.empty() || name.size() > 64 || name.front() == '/' ||
        name.find("..") != std::string_view::npos || name == "localtime" || name == "posixrules")
        return false;
    for (const char c : name) {
        const bool letterOrDigit =
            (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9');
        if (!letterOrDigit && c != '/' && c != '_' && c != '-' && c != '+')
            return false;
    }
    return true;
}

struct ZoneCache {
    std::mutex mutex;
    ZoneFileReader reader;
    // Unknown names are remembered too (as null), so that a batch of births
    // at a misspelt zone reads the folder once.
    std::map<std::string, std::shared_ptr<const ZoneRules>, std::less<>> zones;
};

ZoneCache& Cache() {
    static ZoneCache cache;
    return cache;
}

} // namespace

void SetZoneFileReader(ZoneFileReader reader) {
    ZoneCache& cache = Cache();
    const std::lock_guard lock(cache.mutex);
    cache.reader = std::move(reader);
    cache.zones.clear();
}

std::shared_ptr<const ZoneRules> ZoneRulesNamed(std::string_view zoneName) {
    const std::string_view name = TrimBlanksAndControls(zoneName);
    if (!LooksLikeZoneName(name))
        return nullptr;
    ZoneCache& cache = Cache();
    const std::lock_guard lock(cache.mutex);
    if (const auto known = cache.zones.find(name); known != cache.zones.end())
        return known->second;
    std::shared_ptr<const ZoneRules> rules;
    if (cache.reader) {
        if (const std::optional<std::string> bytes = cache.reader(name)) {
            if (std::optional<ZoneRules> parsed = ZoneRules::FromZoneFile(*bytes))
                rules = std::make_shared<const ZoneRules>(std::move(*parsed));
        }
    }
    // A known zone is kept for good (there are some 600); unknown names only
    // while they are few, so that a stream of made-up names cannot grow it.
    if (rules || cache.zones.size() < 4096)
        cache.zones.emplace(std::string(name), rules);
    return rules;
}

} // namespace toravel
