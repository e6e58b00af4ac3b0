// Screenshots of the person list and the month window for the
// documentation, and, when asked, the month's PDF page: the program's own
// windows, filled as a user would fill them, captured with QWidget::grab().
// The person file is made in a temporary home folder, never the user's;
// "now" is fixed at 10 December 2026, 12:00 in Moscow.
//
//   cd build && xvfb-run -s "-screen 0 1600x1300x24 -dpi 96"
//       tools/screenshots/toravel-window-screenshots ../docs/screenshots [PDF]
//   (one command line)
//
// Run from the build tree, which holds db/. Writes person-list.png and
// month-window.png into the folder given, and the month's page to PDF.
#include <QApplication>
#include <QDir>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeView>

#include <cstdio>
#include <memory>

#include "app/Unit1.h"
#include "app/Unit2.h"
#include "app/application_setup.h"
#include "app/city_combo_box.h"
#include "app/message_presenter.h"
#include "app/month_printing.h"
#include "app/month_window.h"
#include "app/person_file_opening.h"
#include "app/person_list_dialog.h"
#include "app/person_list_model.h"
#include "lunar/working_stream.h"
#include "platform/tdatetime.h"
#include "zoneinfo/system_zone_files.h"

namespace {

using namespace toravel;

struct Entry {
    const char* name;
    const char* date;
    const char* time;
    const char* place;
    double latitude;
    double longitude;
    const char* zone;
    const char* offset;
    Sex sex;
    const char* note;
};

const Entry People[] = {
    {"Анна Петрова", "17.05.1990", "14:30", "Москва", 55.7558, 37.6173, "Europe/Moscow", "+04:00",
     Sex::Female, "Просила расчёт к дню рождения."},
    {"Борис Смирнов", "03.11.1978", "06:15", "Санкт-Петербург", 59.9386, 30.3141, "Europe/Moscow",
     "+03:00", Sex::Male, ""},
    {"Василиса Кузнецова", "21.06.2001", "23:40", "Новосибирск", 55.0415, 82.9346,
     "Asia/Novosibirsk", "+07:00", Sex::Female, ""},
    {"Глеб Орлов", "09.02.1965", "12:00", "Казань", 55.7887, 49.1221, "Europe/Moscow", "+03:00",
     Sex::Male, ""},
    {"Дарья Волкова", "30.08.1996", "08:05", "Екатеринбург", 56.8389, 60.6057, "Asia/Yekaterinburg",
     "+06:00", Sex::Female, ""},
    {"Ёлкина Мария", "12.12.1983", "19:20", "Мурманск", 68.9585, 33.0827, "Europe/Moscow", "+03:00",
     Sex::Female, ""},
    {"Елисей Морозов", "01.04.2010", "04:50", "Калининград", 54.7104, 20.4522, "Europe/Kaliningrad",
     "+02:00", Sex::Male, ""},
    {"Злата Лебедева", "25.01.2015", "16:10", "Иркутск", 52.2870, 104.3050, "Asia/Irkutsk",
     "+08:00", Sex::Female, ""},
};

// Messages are printed, not shown: the tool runs without anyone to close a
// box (saving the month's PDF says where it wrote it).
class PrintingPresenter final : public MessagePresenter {
public:
    void ShowMessage(const QString& text) override { std::printf("%s\n", qPrintable(text)); }
    void ShowError(const QString& text) override { std::fprintf(stderr, "%s\n", qPrintable(text)); }
};

// The Moscow clock's 10 December 2026, 12:00, in universal seconds.
std::int64_t FixedNow() {
    return static_cast<std::int64_t>(EncodeDateTime(2026, 12, 10)) * 86400 + 9 * 3600;
}

bool Save(QWidget& widget, const QString& path) {
    QTest::qWait(200);
    const bool saved = widget.grab().save(path);
    std::printf("%s: %s\n", qPrintable(path), saved ? "written" : "NOT WRITTEN");
    return saved;
}

} // namespace

int main(int argc, char* argv[]) {
    toravel::UseSystemZoneFiles();
    QApplication application(argc, argv);
    NameApplication();
    PrintingPresenter presenter;
    SetPresenter(&presenter);
    const QDir out(argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("."));
    out.mkpath(QStringLiteral("."));
    // A home folder of its own, where the data folder is ~/.local/share.
    QTemporaryDir home;
    qputenv("HOME", home.path().toUtf8());
    qunsetenv("XDG_DATA_HOME");
    SetLunarWorkingStream(&DiscardingStream());

    TForm1 window;
    window.FormCreate();
    window.show();
    {
        PersonFile file(PersonFilePath());
        for (const Entry& e : People) {
            Person p;
            p.name = e.name;
            p.date = e.date;
            p.time = e.time;
            p.place = e.place;
            p.latitude = e.latitude;
            p.longitude = e.longitude;
            p.zoneName = e.zone;
            p.utcOffset = e.offset;
            p.sex = e.sex;
            p.note = e.note;
            file.Save(p, OnConflict::Skip);
        }
    }
    // A calculation of Анна, so that her last result is in the file.
    {
        PersonFile file(PersonFilePath());
        window.OpenPerson(*file.Find("Анна Петрова"));
    }
    {
        // Its moment fixed, as "now" is.
        PersonFile file(PersonFilePath());
        LastResult result = *file.Find("Анна Петрова")->lastResult;
        result.calculated = "2026-12-10T09:00:00Z";
        file.RecordResult("Анна Петрова", result);
    }

    bool written = true;
    {
        std::optional<PersonFile> file = OpenPersonFileAsking(PersonFilePath());
        if (!file)
            return 1;
        PersonListDialog dialog(*file, window);
        dialog.show();
        dialog.SelectRow(dialog.Model().RowOfName("Анна Петрова"));
        dialog.List->setFocus();
        written &= Save(dialog, out.filePath(QStringLiteral("person-list.png")));
        dialog.reject();
    }

    // The month window as «Лунный календарь» opens it for Москва.
    for (int i = 0; i < window.ComboBox1->count(); ++i) {
        if (window.ComboBox1->itemText(i).startsWith(QStringLiteral("Москва;")))
            window.ComboBox1->setCurrentIndex(i);
    }
    window.MonthCalendarButtonClick();
    MonthWindow* month = window.MonthCalendarWindow();
    if (month == nullptr)
        return 1;
    month->SetClock(FixedNow);
    month->ThisMonth();
    month->resize(1100, 900);
    written &= Save(*month, out.filePath(QStringLiteral("month-window.png")));
    if (argc > 2) {
        const QString pdf = QString::fromLocal8Bit(argv[2]);
        SetMonthPdfPathChooser([&pdf](QWidget*, const QString&) { return pdf; });
        month->SaveAsPdf();
    }
    return written ? 0 : 1;
}
