#include "people/person_schema.h"

namespace toravel {

const std::vector<const char*>& SchemaSteps() {
    static const std::vector<const char*> steps = {
        // Version 1. Texts are UTF-8; dates ДД.ММ.ГГГГ, times ЧЧ:ММ[:СС],
        // moments ГГГГ-ММ-ДДTЧЧ:ММ:ССZ. name_key makes names unique ignoring
        // case (people/name_key.h) and sort_key orders the list; both are
        // the program's, computed from the name. The result_ columns are all
        // NULL until a calculation is recorded.
        R"sql(
CREATE TABLE person (
    id INTEGER PRIMARY KEY,
    name TEXT NOT NULL,
    name_key TEXT NOT NULL UNIQUE,
    sort_key TEXT NOT NULL,
    birth_date TEXT NOT NULL,
    birth_time TEXT NOT NULL,
    place TEXT NOT NULL,
    latitude REAL,
    longitude REAL,
    zone_name TEXT NOT NULL,
    utc_offset TEXT NOT NULL,
    zone_hours INTEGER,
    sex TEXT NOT NULL CHECK (sex IN ('', 'male', 'female')),
    lunar_day INTEGER,
    note TEXT NOT NULL,
    created TEXT NOT NULL,
    changed TEXT NOT NULL,
    result_lunar_day INTEGER,
    result_day_world TEXT,
    result_lunar_world TEXT,
    result_period_world TEXT,
    result_circle TEXT,
    result_calculated TEXT
);
CREATE INDEX person_by_sort_key ON person (sort_key, name_key);
)sql",
    };
    return steps;
}

} // namespace toravel
