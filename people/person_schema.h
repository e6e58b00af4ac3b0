// The person file's database schema, version by version.
//
// A file's version is its PRAGMA user_version; its PRAGMA application_id
// says that it is a person file at all. Step i brings a file of version i to
// version i + 1 inside the transaction that also sets the new version, so a
// file is always wholly of one version. Version 0 is a new, empty database.
// To change the schema, append a step (never edit one that has shipped) and
// keep a file of every earlier version in tests/people/data.
#pragma once

#include <cstdint>
#include <vector>

namespace toravel {

// "TRVP" in ASCII.
inline constexpr std::int32_t PersonFileApplicationId = 0x54525650;

// SchemaSteps()[i] is the SQL that brings version i to i + 1; their number
// is PersonFileVersion.
const std::vector<const char*>& SchemaSteps();

} // namespace toravel
