#include "place/city_list_source.h"

#include <stdexcept>
#include <utility>

namespace toravel {
namespace {

CityListReader& Reader() {
    static CityListReader reader;
    return reader;
}

} // namespace

void SetCityListReader(CityListReader reader) {
    Reader() = std::move(reader);
}

std::vector<std::string> ReadCityList(std::string_view path) {
    if (!Reader())
        throw std::runtime_error("список городов недоступен");
    return Reader()(path);
}

} // namespace toravel
