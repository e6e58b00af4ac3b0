// A person of the person file described in one paragraph for the person
// list: the birth data, the clock, what was typed, and the last result.
#pragma once

#include <string>

#include "people/person.h"

namespace toravel {

// "17.05.1990 14:30; Москва (55,7558; 37,6173), часовой пояс Europe/Moscow;
// часы места UTC+4:00; пол женский. Последний расчёт (2026-12-10 08:00 UTC):
// 5-й лунный день, круг …, мир периода Правь."
std::string PersonDetailsText(const Person& person);

} // namespace toravel
