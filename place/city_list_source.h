// The city list file of the process, as the program hands it in: the
// desktop programs read db/atlas.ini (storage/city_list.h, LoadCityList);
// the web page has none. The command line's --city asks for it here.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace toravel {

// The lines of the city list at `path`; throws what reading it throws.
using CityListReader = std::function<std::vector<std::string>(std::string_view path)>;

void SetCityListReader(CityListReader reader);

// The reader's lines; throws std::runtime_error("список городов недоступен")
// until a reader is set.
std::vector<std::string> ReadCityList(std::string_view path);

} // namespace toravel
