#include "place/process_atlas.h"

#include <utility>

namespace toravel {
namespace {

AtlasProvider& Provider() {
    static AtlasProvider provider;
    return provider;
}

} // namespace

void SetAtlasProvider(AtlasProvider provider) {
    Provider() = std::move(provider);
}

AtlasAvailability ProcessAtlas() {
    if (!Provider())
        return {nullptr, "атлас мест недоступен", {}};
    return Provider()();
}

} // namespace toravel
