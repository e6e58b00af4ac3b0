// The person list and the month window as the user meets them, on Qt's
// offscreen platform: the list of 10,000 people opened (the file opened,
// every person listed into the dialog's model, the dialog shown and
// painted; target at most 100 ms), one keystroke of the search (the model
// asked again, the list repainted; target at most 10 ms), and the month
// window opened and filled for Moscow (the month computed with its worlds
// from the build tree's db/, the table filled, shown and painted; target at
// most 100 ms).
//
//   build/bench/toravel-bench-windows --benchmark_repetitions=5
//       --benchmark_report_aggregates_only=true
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QLineEdit>
#include <QTemporaryDir>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "app/month_window.h"
#include "app/person_list_dialog.h"
#include "app/person_list_host.h"
#include "app/person_list_model.h"
#include "bench/ten_thousand_people.h"
#include "lunar/working_stream.h"
#include "storage/horoscope_database.h"
#include "zoneinfo/system_zone_files.h"

namespace {

using namespace toravel;

constexpr int People = bench::TenThousand;

const std::filesystem::path& TenThousandPeople() {
    return bench::TenThousandPeopleFile("toravel-bench-windows");
}

// A main window that has calculated nothing and saves nothing.
class QuietHost final : public PersonListHost {
public:
    PersonOfInputsResult InputsAsPerson(std::string_view) const override { return {}; }
    std::string InputsPersonName() const override { return {}; }
    std::optional<Person> LastCalculation() const override { return std::nullopt; }
    void InputsSavedAs(const Person&) override {}
    void PersonRemoved(std::string_view) override {}
};

void BM_OpenPersonListOfTenThousand(benchmark::State& state) {
    const auto& path = TenThousandPeople();
    QuietHost host;
    for (auto _ : state) {
        PersonFile file(path);
        PersonListDialog dialog(file, host);
        dialog.show();
        QApplication::processEvents(); // laid out and painted
        benchmark::DoNotOptimize(dialog.Model().rowCount());
    }
}
BENCHMARK(BM_OpenPersonListOfTenThousand)->Unit(benchmark::kMillisecond);

void BM_PersonListSearchKeystroke(benchmark::State& state) {
    PersonFile file(TenThousandPeople());
    QuietHost host;
    PersonListDialog dialog(file, host);
    dialog.show();
    QApplication::processEvents();
    // A name typed letter by letter and rubbed out again.
    const QString name = QStringLiteral("Кузнец");
    std::vector<QString> texts;
    for (qsizetype n = 1; n <= name.size(); ++n)
        texts.push_back(name.left(n));
    for (qsizetype n = name.size() - 1; n >= 1; --n)
        texts.push_back(name.left(n));
    std::size_t next = 0;
    for (auto _ : state) {
        dialog.SearchEdit->setText(texts[next]);
        QApplication::processEvents();
        next = (next + 1) % texts.size();
        benchmark::DoNotOptimize(dialog.Model().rowCount());
    }
}
BENCHMARK(BM_PersonListSearchKeystroke)->Unit(benchmark::kMillisecond);

void BM_OpenMonthWindow(benchmark::State& state) {
    HoroscopeDatabase database(ConnectionStringForDirectory(TORAVEL_BENCH_DB_DIR));
    MonthPlace moscow;
    moscow.place = {55.7558, 37.6173, "Europe/Moscow", 0};
    moscow.title = "Москва, часовой пояс Europe/Moscow";
    database.FindCalendarDay(1, 1); // the database opened, as the main window keeps it
    int month = 0;
    for (auto _ : state) {
        MonthWindow window(database);
        // The months of 2026 in turn, so that no month is cached anywhere.
        const std::int64_t now =
            (46023LL + 30LL * (month++ % 12)) * 86400; // 1 January 2026 onwards
        window.SetClock([now] { return now; });
        window.ShowPlace(moscow);
        window.show();
        QApplication::processEvents();
        benchmark::DoNotOptimize(window.Calendar().days.size());
    }
}
BENCHMARK(BM_OpenMonthWindow)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    toravel::SetLunarWorkingStream(&toravel::DiscardingStream());
    toravel::UseSystemZoneFiles();
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
