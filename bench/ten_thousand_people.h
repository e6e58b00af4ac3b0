// The person file the benchmarks open: 10,000 people with Russian names,
// dates spread over a century and notes of up to 400 characters, as a
// practitioner's file of clients might hold them. Made once per process in
// the temporary folder and removed when the process ends.
#pragma once

#include <filesystem>
#include <string>

namespace toravel::bench {

inline constexpr int TenThousand = 10'000;

// The name of the i-th person: surname, first name, patronymic and i.
std::string PersonNameOf(int i);

// The file; `benchmark` names it ("toravel-bench-people-<pid>.sqlite").
const std::filesystem::path& TenThousandPeopleFile(const std::string& benchmark);

} // namespace toravel::bench
