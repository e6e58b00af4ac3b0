// Takes the locale from the environment before any test runs, as a Qt
// application does at start-up. Under LC_ALL=ru_RU.UTF-8 the C library then
// reads "55.75" as 55, so a conversion that strays into it fails the tests.
#include <clocale>
#include <locale>
#include <stdexcept>

namespace {

const bool kProcessLocaleTaken = [] {
    std::setlocale(LC_ALL, "");
    try {
        std::locale::global(std::locale(""));
    } catch (const std::runtime_error&) {
        // The environment names a locale that is not installed: the C locale
        // stays, and the test guarding the Russian registration reports it.
    }
    return true;
}();

} // namespace
