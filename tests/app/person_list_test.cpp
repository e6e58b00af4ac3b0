// «Картотека»: the person list over the person file in the data folder
// (XDG_DATA_HOME points into a temporary folder for every test), saving the
// main window's inputs, opening a person into the window with its
// calculation, the session's last calculation, the keyboard, and files that
// cannot be used. Runs on a computer in Moscow (TZ=Europe/Moscow, UTC+3).
#include <QApplication>
#include <QCoreApplication>
#include <QDateEdit>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>
#include <QTimeEdit>
#include <QTreeView>

#include <sqlite3.h>

#include <filesystem>
#include <memory>

#include "app/birthplace_search_field.h"
#include "app/person_file_opening.h"
#include "app/person_list_dialog.h"
#include "app/person_list_model.h"
#include "app/report_printing.h"
#include "lunar/calculation_state.h"
#include "people/person_schema.h"
#include "tests/app/scripted_presenter.h"
#include "tests/app/window_fixture.h"

using namespace toravel;
using namespace toravel::testing;

namespace {

// A birth in Moscow in May 1990 on the box's hour that makes UTC+4.
void EnterMoscowBirth(TForm1& w) {
    w.DateTimePicker1->setDate(QDate(1990, 5, 17));
    w.DateTimePicker2->setTime(QTime(14, 30));
    QVERIFY(PickCity(w, QStringLiteral("Москва")));
    w.CSpinEdit1->setValue(1);
    w.RadioButton2->setChecked(true);
}

Person Saved(const char* name, const char* date = "01.01.1980") {
    Person p;
    p.name = name;
    p.date = date;
    p.time = "10:00";
    p.place = "Москва";
    p.latitude = 55.7558;
    p.longitude = 37.6173;
    p.zoneName = "Europe/Moscow";
    p.utcOffset = "+03:00";
    p.zoneHours = 0;
    p.sex = Sex::Male;
    return p;
}

QStringList NamesShown(PersonListDialog& dialog) {
    QStringList names;
    PersonListModel& model = dialog.Model();
    for (int row = 0; row < model.rowCount(); ++row)
        names << model.data(model.index(row, PersonListModel::NameColumn)).toString();
    return names;
}

QByteArray Bytes(const std::filesystem::path& path) {
    QFile file(QString::fromStdString(path.string()));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QStringList FilesIn(const std::filesystem::path& folder) {
    return QDir(QString::fromStdString(folder.string())).entryList(QDir::Files, QDir::Name);
}

} // namespace

class PersonListTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();

    void buttonsStandBesideExitAfterTheDesignedControls();
    void personFileIsInTheApplicationsDataFolder();
    void savingAsksForANameAndKeepsTheInputs();
    void replacingAsksFirstAndKeepsTheNote();
    void inputsThatMakeNoPersonAreNotSaved();
    void searchFiltersAsYouTypeSortedByName();
    void keyboardSearchesOpensAndDeletes();
    void openingFillsTheWindowAndCalculates();
    void aPersonFromAnotherZoneKeepsItsClock();
    void anAtlasPlaceStaysTheBirthplaceOfTheHintAndThePrint();
    void lastCalculationIsOfferedWithoutSaving();
    void noteIsSavedOnLeavingThePerson();
    void aMouseClickSelectsThePersonWhoseNoteIsTyped();
    void savingAsksAboutAContradictedClockAndNamesThePlace();
    void peopleButtonOpensTheListAndCalculates();
    void aFileThatIsNotOursIsOfferedToBeSetAside();
    void aNewerFileIsRefusedAndTheWindowGoesOn();
    void printCarriesThePersonsName();

private:
    std::unique_ptr<QTemporaryDir> dataHome_;
};

void PersonListTest::initTestCase() {
    // As the program names itself at start-up.
    QCoreApplication::setApplicationName(QStringLiteral("toravel"));
}

void PersonListTest::init() {
    dataHome_ = std::make_unique<QTemporaryDir>();
    QVERIFY(dataHome_->isValid());
    qputenv("XDG_DATA_HOME", dataHome_->path().toUtf8());
}

void PersonListTest::buttonsStandBesideExitAfterTheDesignedControls() {
    TForm1 w;
    QCOMPARE(w.PeopleButton->text(), QStringLiteral("Картотека"));
    QCOMPARE(w.PeopleButton->geometry(), QRect(150, 472, 120, 33));
    QCOMPARE(w.MonthCalendarButton->text(), QStringLiteral("Лунный календарь"));
    QCOMPARE(w.MonthCalendarButton->geometry(), QRect(276, 472, 120, 33));
    // In the free space: beside «Выход», clear of the book's reference.
    QVERIFY(w.Button2->geometry().right() < w.PeopleButton->geometry().left());
    QVERIFY(w.MonthCalendarButton->geometry().right() < w.Label6->geometry().left());
    // The keyboard reaches them after the last designed control.
    QCOMPARE(w.RadioButton2->nextInFocusChain(), static_cast<QWidget*>(w.PeopleButton));
    QCOMPARE(w.PeopleButton->nextInFocusChain(), static_cast<QWidget*>(w.MonthCalendarButton));
}

void PersonListTest::personFileIsInTheApplicationsDataFolder() {
    const std::filesystem::path expected =
        std::filesystem::path(dataHome_->path().toStdString()) / "toravel" / "people.sqlite";
    QCOMPARE(PersonFilePath(), expected);
    ScriptedPresenter presenter;
    std::optional<PersonFile> file = OpenPersonFileAsking(PersonFilePath());
    QVERIFY(file);
    QVERIFY(std::filesystem::is_regular_file(expected));
    QCOMPARE(presenter.messages, QStringList());
}

void PersonListTest::savingAsksForANameAndKeepsTheInputs() {
    ScriptedPresenter presenter;
    StartedWindows windows;
    TForm1& w = windows.mainWindow;
    EnterMoscowBirth(w);
    w.DateTimePicker2->setTime(QTime(14, 30, 15));
    std::optional<PersonFile> file = OpenPersonFileAsking(PersonFilePath());
    QVERIFY(file);
    PersonListDialog dialog(*file, w);

    presenter.texts << QStringLiteral("  Анна Петрова ");
    QTest::mouseClick(dialog.SaveButton, Qt::LeftButton);
    QCOMPARE(presenter.textLabels.size(), 1);
    QCOMPARE(presenter.proposals, QStringList(QString()));
    QCOMPARE(presenter.questions, QStringList());
    QCOMPARE(presenter.messages, QStringList());

    QCOMPARE(file->Count(), std::size_t{1});
    const std::optional<Person> anna = file->Find("анна петрова");
    QVERIFY(anna);
    QCOMPARE(Utf8(anna->name), QStringLiteral("Анна Петрова"));
    QCOMPARE(Utf8(anna->date), QStringLiteral("17.05.1990"));
    QCOMPARE(Utf8(anna->time), QStringLiteral("14:30:15"));
    QCOMPARE(Utf8(anna->place), QStringLiteral("Москва"));
    QCOMPARE(anna->latitude, std::optional<double>(55.7558));
    QCOMPARE(anna->longitude, std::optional<double>(37.6173));
    QCOMPARE(Utf8(anna->zoneName), QStringLiteral("Europe/Moscow"));
    QCOMPARE(anna->zoneHours, std::optional<int>(1));
    QCOMPARE(Utf8(anna->utcOffset), QStringLiteral("+04:00"));
    QCOMPARE(anna->sex, Sex::Female);
    QVERIFY(!anna->lunarDay);

    // The list shows the person saved, selected; the inputs are hers now.
    QCOMPARE(NamesShown(dialog), QStringList(QStringLiteral("Анна Петрова")));
    QCOMPARE(dialog.SelectedRow(), 0);
    QVERIFY(dialog.Details->text().contains(QStringLiteral("17.05.1990 14:30:15; Москва")));
    QCOMPARE(Utf8(w.InputsPersonName()), QStringLiteral("Анна Петрова"));
    w.DateTimePicker1->setDate(QDate(1990, 5, 18));
    QCOMPARE(w.InputsPersonName(), std::string());
}

void PersonListTest::replacingAsksFirstAndKeepsTheNote() {
    ScriptedPresenter presenter;
    StartedWindows windows;
    TForm1& w = windows.mainWindow;
    EnterMoscowBirth(w);
    std::optional<PersonFile> file = OpenPersonFileAsking(PersonFilePath());
    QVERIFY(file);
    Person anna = Saved("Анна");
    anna.note = "пишет стихи; «кавычки» и \"quotes\"";
    QCOMPARE(file->Save(anna, OnConflict::Skip), SaveOutcome::Added);
    PersonListDialog dialog(*file, w);

    presenter.texts << QStringLiteral("АННА");
    presenter.answers << false;
    QTest::mouseClick(dialog.SaveButton, Qt::LeftButton);
    QCOMPARE(presenter.questions.size(), 1);
    QVERIFY2(presenter.questions[0].contains(QStringLiteral("«Анна»")),
             qPrintable(presenter.questions[0]));
    QCOMPARE(Utf8(file->Find("Анна")->date), QStringLiteral("01.01.1980"));

    presenter.texts << QStringLiteral("анна");
    presenter.answers << true;
    QTest::mouseClick(dialog.SaveButton, Qt::LeftButton);
    QCOMPARE(presenter.questions.size(), 2);
    QCOMPARE(file->Count(), std::size_t{1});
    const std::optional<Person> replaced = file->Find("Анна");
    QCOMPARE(Utf8(replaced->date), QStringLiteral("17.05.1990"));
    QCOMPARE(replaced->note, anna.note);
    QCOMPARE(dialog.SelectedRow(), 0);
    QCOMPARE(presenter.messages, QStringList());
    QCOMPARE(presenter.errors, QStringList());
}

void PersonListTest::inputsThatMakeNoPersonAreNotSaved() {
    ScriptedPresenter presenter;
    StartedWindows windows;
    TForm1& w = windows.mainWindow;
    std::optional<PersonFile> file = OpenPersonFileAsking(PersonFilePath());
    QVERIFY(file);
    PersonListDialog dialog(*file, w);

    // A field that holds no number: said, and no name asked for.
    w.Edit2->setText(QStringLiteral("abc"));
    w.Edit3->setText(QStringLiteral("37,6"));
    dialog.SaveInputs();
    QCOMPARE(presenter.messages,
             QStringList(QStringLiteral("Данные главного окна не сохранены: Широта «abc» — не "
                                        "число")));
    QCOMPARE(presenter.textLabels.size(), 0);

    // Cancelled, then a blank name.
    w.Edit2->setText(QStringLiteral("55,7"));
    presenter.messages.clear();
    presenter.texts << QString();
    dialog.SaveInputs();
    presenter.texts << QStringLiteral("   ");
    dialog.SaveInputs();
    QCOMPARE(presenter.messages, QStringList(QStringLiteral("Не сохранено: Нужно имя")));
    QCOMPARE(file->Count(), std::size_t{0});
    QCOMPARE(presenter.errors, QStringList());
}

void PersonListTest::searchFiltersAsYouTypeSortedByName() {
    ScriptedPresenter presenter;
    StartedWindows windows;
    std::optional<PersonFile> file = OpenPersonFileAsking(PersonFilePath());
    QVERIFY(file);
    for (const char* name : {"Жанна", "Ёлкина", "Борис", "анна", "Елена"})
        file->Save(Saved(name), OnConflict::Skip);
    PersonListDialog dialog(*file, windows.mainWindow);

    // ё sorts as е, case does not count.
    QCOMPARE(NamesShown(dialog), QStringList({"анна", "Борис", "Елена", "Ёлкина", "Жанна"}));
    QCOMPARE(dialog.SelectedRow(), 0);
    TypeText(dialog.SearchEdit, QStringLiteral("АН"));
    QCOMPARE(NamesShown(dialog), QStringList({"анна", "Жанна"}));
    QTest::keyClick(dialog.SearchEdit, Qt::Key_Backspace);
    QCOMPARE(NamesShown(dialog), QStringList({"анна", "Елена", "Ёлкина", "Жанна"}));
    // ё and е are one letter to the search, as in the atlas search («елкина»
    // found nobody).
    const std::pair<QString, QStringList> searches[] = {
        {"елкина", {"Ёлкина"}}, {"Ё", {"Елена", "Ёлкина"}}, {"ня", {}}};
    for (const auto& [typed, found] : searches) {
        dialog.SearchEdit->clear();
        TypeText(dialog.SearchEdit, typed);
        QVERIFY2(NamesShown(dialog) == found, qPrintable(typed));
    }
    QCOMPARE(dialog.SelectedRow(), -1);
    QVERIFY(!dialog.OpenButton->isEnabled());
    QVERIFY(!dialog.DeleteButton->isEnabled());
    dialog.SearchEdit->clear();
    QCOMPARE(NamesShown(dialog).size(), 5);
    QCOMPARE(presenter.errors, QStringList());
}

void PersonListTest::keyboardSearchesOpensAndDeletes() {
    ScriptedPresenter presenter;
    StartedWindows windows;
    std::optional<PersonFile> file = OpenPersonFileAsking(PersonFilePath());
    QVERIFY(file);
    file->Save(Saved("Анна"), OnConflict::Skip);
    file->Save(Saved("Борис"), OnConflict::Skip);
    {
        PersonListDialog dialog(*file, windows.mainWindow);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowActive(&dialog));
        QCOMPARE(QApplication::focusWidget(), dialog.SearchEdit);
        TypeText(dialog.SearchEdit, QStringLiteral("бор"));
        QTest::keyClick(dialog.SearchEdit, Qt::Key_Return);
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QVERIFY(dialog.ChosenPerson());
        QCOMPARE(Utf8(dialog.ChosenPerson()->name), QStringLiteral("Борис"));
    }
    {
        PersonListDialog dialog(*file, windows.mainWindow);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowActive(&dialog));
        // Down goes into the list at the first match; Down again to the next.
        QTest::keyClick(dialog.SearchEdit, Qt::Key_Down);
        QCOMPARE(QApplication::focusWidget(), dialog.List);
        QCOMPARE(dialog.SelectedRow(), 0);
        QTest::keyClick(dialog.List, Qt::Key_Down);
        QCOMPARE(dialog.SelectedRow(), 1);
        // Delete asks; "Нет" keeps, "Да" removes.
        presenter.answers << false;
        QTest::keyClick(dialog.List, Qt::Key_Delete);
        QCOMPARE(presenter.questions.size(), 1);
        QVERIFY(presenter.questions[0].contains(QStringLiteral("«Борис»")));
        QCOMPARE(file->Count(), std::size_t{2});
        presenter.answers << true;
        QTest::keyClick(dialog.List, Qt::Key_Delete);
        QCOMPARE(file->Count(), std::size_t{1});
        QVERIFY(!file->Find("Борис"));
        QCOMPARE(NamesShown(dialog), QStringList(QStringLiteral("Анна")));
        QCOMPARE(dialog.SelectedRow(), 0);
        // Ctrl+S saves the window's inputs; Esc closes with nobody chosen.
        windows.mainWindow.Edit2->setText(QStringLiteral("10"));
        windows.mainWindow.Edit3->setText(QStringLiteral("20"));
        windows.mainWindow.Button7->click(); // the clock the hint asks for
        presenter.texts << QStringLiteral("Вера");
        QTest::keyClick(&dialog, Qt::Key_S, Qt::ControlModifier);
        QCOMPARE(file->Count(), std::size_t{2});
        QTest::keyClick(dialog.List, Qt::Key_Escape);
        QCOMPARE(dialog.result(), int(QDialog::Rejected));
        QVERIFY(!dialog.ChosenPerson());
        QVERIFY(!dialog.isVisible());
    }
    QCOMPARE(presenter.errors, QStringList());
}

void PersonListTest::openingFillsTheWindowAndCalculates() {
    ScriptedPresenter presenter;
    StartedWindows windows;
    TForm1& w = windows.mainWindow;
    Person anna = Saved("Анна", "17.07.1990");
    anna.utcOffset = "+04:00"; // Moscow's summer time, kept when she was saved
    anna.zoneHours = 1;
    anna.sex = Sex::Female;
    anna.lunarDay.reset();
    {
        std::optional<PersonFile> file = OpenPersonFileAsking(PersonFilePath());
        QVERIFY(file);
        file->Save(anna, OnConflict::Skip);
        PersonListDialog dialog(*file, w);
        dialog.SelectRow(0);
        QTest::mouseClick(dialog.OpenButton, Qt::LeftButton);
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QVERIFY(dialog.ChosenPerson());
        w.OpenPerson(*dialog.ChosenPerson());
    }
    QCOMPARE(presenter.messages, QStringList());
    QCOMPARE(presenter.errors, QStringList());
    QVERIFY(w.ComboBox1->currentText().startsWith(QStringLiteral("Москва;")));
    QCOMPARE(w.Edit2->text(), QStringLiteral("55,7558"));
    QCOMPARE(w.Edit3->text(), QStringLiteral("37,6173"));
    QCOMPARE(w.DateTimePicker1->date(), QDate(1990, 7, 17));
    QCOMPARE(w.DateTimePicker2->time(), QTime(10, 0));
    QCOMPARE(w.CSpinEdit1->value(), 1);
    QVERIFY(w.RadioButton2->isChecked());
    QVERIFY(w.Edit1->text().isEmpty());
    // The zone hint follows the city and the date.
    QVERIFY2(w.Label13->text().contains(QStringLiteral("UTC+4:00")), qPrintable(w.Label13->text()));
    // Calculated, for her: the result is kept in the file.
    QVERIFY(!w.RichEdit1->document()->isEmpty());
    QCOMPARE(Utf8(w.CalculatedPersonName()), QStringLiteral("Анна"));
    const CalculationState& state = SharedCalculationState();
    {
        PersonFile file(PersonFilePath());
        const std::optional<Person> kept = file.Find("Анна");
        QVERIFY(kept && kept->lastResult);
        QCOMPARE(kept->lastResult->lunarDay, state.LunarDay);
        QCOMPARE(kept->lastResult->periodWorld, state.PeriodWorld);
        QCOMPARE(kept->lastResult->circle, state.CircleName);
        QVERIFY(!kept->lastResult->calculated.empty());
    }

    // Another birth moment is no longer hers: nothing is kept for her.
    const std::int32_t hers = state.LunarDay;
    w.DateTimePicker1->setDate(QDate(1990, 7, 27));
    w.Button1Click();
    QVERIFY(state.LunarDay != hers);
    QCOMPARE(w.CalculatedPersonName(), std::string());
    QCOMPARE(PersonFile(PersonFilePath()).Find("Анна")->lastResult->lunarDay, hers);
    QCOMPARE(presenter.errors, QStringList());
}

void PersonListTest::aPersonFromAnotherZoneKeepsItsClock() {
    ScriptedPresenter presenter;
    StartedWindows windows;
    TForm1& w = windows.mainWindow;
    Person delhi;
    delhi.name = "Рави";
    delhi.date = "15.01.2000";
    delhi.time = "12:00";
    delhi.latitude = 28.6139;
    delhi.longitude = 77.209;
    delhi.utcOffset = "+05:30"; // saved on a computer in India
    delhi.zoneHours = 0;
    w.OpenPerson(delhi);
    QCOMPARE(w.ComboBox1->currentIndex(), -1);
    QCOMPARE(w.Edit2->text(), QStringLiteral("28,6139"));
    QCOMPARE(w.Edit3->text(), QStringLiteral("77,209"));
    // UTC+5:30 less Moscow's three hours is two and a half: three, said.
    QCOMPARE(w.CSpinEdit1->value(), 3);
    QCOMPARE(presenter.messages.size(), 1);
    QVERIFY2(presenter.messages[0].contains(QStringLiteral("UTC+5:30")),
             qPrintable(presenter.messages[0]));
    QVERIFY(!w.RichEdit1->document()->isEmpty());
    QCOMPARE(presenter.errors, QStringList());
}

void PersonListTest::anAtlasPlaceStaysTheBirthplaceOfTheHintAndThePrint() {
    ScriptedPresenter presenter;
    StartedWindows windows;
    TForm1& w = windows.mainWindow;
    Person kira;
    kira.name = "Кира";
    kira.date = "17.07.1990";
    kira.time = "12:00";
    kira.place = "Кинешма, Ивановская область, Россия"; // not in the city list
    kira.latitude = 57.4391;
    kira.longitude = 42.1289;
    kira.zoneName = "Europe/Moscow";
    kira.utcOffset = "+04:00";
    w.OpenPerson(kira);
    QCOMPARE(w.ComboBox1->currentIndex(), -1);
    QCOMPARE(w.Edit2->text(), QStringLiteral("57,4391"));
    QCOMPARE(w.Edit4->text(), QStringLiteral("Кинешма, Ивановская область, Россия"));
    QVERIFY2(w.Label13->text().startsWith(QStringLiteral("в месте рождения UTC+4:00")),
             qPrintable(w.Label13->text()));
    QCOMPARE(Utf8(w.CalculatedPersonName()), QStringLiteral("Кира"));
    const BirthData printed = w.CurrentReportDocument().birth;
    QCOMPARE(Utf8(printed.name), QStringLiteral("Кира"));
    QCOMPARE(Utf8(printed.place), QStringLiteral("Кинешма, Ивановская область, Россия"));
    QCOMPARE(presenter.messages, QStringList());
    QCOMPARE(presenter.errors, QStringList());
}

void PersonListTest::lastCalculationIsOfferedWithoutSaving() {
    ScriptedPresenter presenter;
    StartedWindows windows;
    TForm1& w = windows.mainWindow;
    std::optional<PersonFile> file = OpenPersonFileAsking(PersonFilePath());
    QVERIFY(file);
    {
        PersonListDialog before(*file, w);
        QCOMPARE(before.Model().rowCount(), 0); // nothing calculated yet
    }
    EnterMoscowBirth(w);
    w.Button1Click();
    QVERIFY(!w.RichEdit1->document()->isEmpty());
    const QString report = w.RichEdit1->toPlainText();

    w.DateTimePicker1->setDate(QDate(2001, 1, 1));
    PersonListDialog dialog(*file, w);
    QCOMPARE(dialog.Model().rowCount(), 1);
    QVERIFY(dialog.Model().IsLastCalculation(0));
    QCOMPARE(NamesShown(dialog), QStringList(QStringLiteral("последний расчёт")));
    QCOMPARE(dialog.Model().data(dialog.Model().index(0, PersonListModel::DateColumn)).toString(),
             QStringLiteral("17.05.1990"));
    QVERIFY(!dialog.DeleteButton->isEnabled());
    QVERIFY(!dialog.NoteEdit->isEnabled());
    QCOMPARE(file->Count(), std::size_t{0}); // nothing was saved
    TypeText(dialog.SearchEdit, QStringLiteral("п"));
    QCOMPARE(dialog.Model().rowCount(), 0); // a search lists people only
    dialog.SearchEdit->clear();

    dialog.SelectRow(0);
    dialog.OpenSelected();
    QVERIFY(dialog.ChosenPerson());
    w.OpenPerson(*dialog.ChosenPerson());
    QCOMPARE(w.DateTimePicker1->date(), QDate(1990, 5, 17));
    QVERIFY(w.ComboBox1->currentText().startsWith(QStringLiteral("Москва;")));
    QCOMPARE(w.RichEdit1->toPlainText(), report);
    QCOMPARE(file->Count(), std::size_t{0});
    QCOMPARE(presenter.errors, QStringList());

    // Saved now, the calculation on the screen is hers, and so is its result.
    presenter.texts << QStringLiteral("Анна");
    dialog.SaveInputs();
    QCOMPARE(Utf8(w.CalculatedPersonName()), QStringLiteral("Анна"));
    QVERIFY(file->Find("Анна")->lastResult);
    QCOMPARE(file->Find("Анна")->lastResult->lunarDay, SharedCalculationState().LunarDay);
}

void PersonListTest::noteIsSavedOnLeavingThePerson() {
    ScriptedPresenter presenter;
    StartedWindows windows;
    std::optional<PersonFile> file = OpenPersonFileAsking(PersonFilePath());
    QVERIFY(file);
    file->Save(Saved("Анна"), OnConflict::Skip);
    file->Save(Saved("Борис"), OnConflict::Skip);
    PersonListDialog dialog(*file, windows.mainWindow);
    dialog.SelectRow(0);
    QVERIFY(!dialog.SaveNoteButton->isEnabled());
    TypeText(dialog.NoteEdit, QStringLiteral("любит ромашки"));
    QVERIFY(dialog.SaveNoteButton->isEnabled());
    dialog.SelectRow(1);
    QCOMPARE(Utf8(file->Find("Анна")->note), QStringLiteral("любит ромашки"));
    QVERIFY(dialog.NoteEdit->toPlainText().isEmpty());
    TypeText(dialog.NoteEdit, QStringLiteral("строка 1\nстрока 2"));
    dialog.reject();
    QCOMPARE(Utf8(file->Find("Борис")->note), QStringLiteral("строка 1\nстрока 2"));
    QCOMPARE(presenter.messages, QStringList());
    QCOMPARE(presenter.errors, QStringList());
}

// A mouse click on a name showed the person selected before in the details
// and the note, and a note typed then went into that other person.
void PersonListTest::aMouseClickSelectsThePersonWhoseNoteIsTyped() {
    ScriptedPresenter presenter;
    StartedWindows windows;
    std::optional<PersonFile> file = OpenPersonFileAsking(PersonFilePath());
    QVERIFY(file);
    const char* const names[] = {"Анна", "Борис", "Вера"};
    const char* const dates[] = {"01.01.1981", "02.02.1982", "03.03.1983"};
    for (int row = 0; row < 3; ++row)
        file->Save(Saved(names[row], dates[row]), OnConflict::Skip);
    PersonListDialog dialog(*file, windows.mainWindow);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    const auto click = [&](int row) {
        QTest::mouseClick(dialog.List->viewport(), Qt::LeftButton, {},
                          dialog.List->visualRect(dialog.Model().index(row, 0)).center());
        QCOMPARE(dialog.SelectedRow(), row);
        QVERIFY2(dialog.Details->text().startsWith(QLatin1String(dates[row])),
                 qPrintable(dialog.Details->text()));
    };
    click(1);
    dialog.NoteEdit->setFocus();
    TypeText(dialog.NoteEdit, QStringLiteral("звонить по средам"));
    click(2);
    QVERIFY(dialog.NoteEdit->toPlainText().isEmpty());
    for (int row = 0; row < 3; ++row) // what is in the file
        QCOMPARE(Utf8(PersonFile(PersonFilePath()).Find(names[row])->note),
                 row == 1 ? QStringLiteral("звонить по средам") : QString());
    // Back to Борис: his note; Open chooses the person clicked.
    click(1);
    QCOMPARE(dialog.NoteEdit->toPlainText(), QStringLiteral("звонить по средам"));
    QTest::mouseClick(dialog.OpenButton, Qt::LeftButton);
    QVERIFY(dialog.ChosenPerson());
    QCOMPARE(Utf8(dialog.ChosenPerson()->name), QStringLiteral("Борис"));
    QCOMPARE(presenter.errors, QStringList());
}

// «Сохранить…» stored whatever the offset box held (Tartu 1985 as UTC+8:00
// with the 5 left from Novosibirsk), and typed coordinates with no place.
void PersonListTest::savingAsksAboutAContradictedClockAndNamesThePlace() {
    ScriptedPresenter presenter;
    StartedWindows windows;
    TForm1& w = windows.mainWindow;
    w.DateTimePicker1->setDate(QDate(1985, 7, 10));
    w.DateTimePicker2->setTime(QTime(9, 15));
    QVERIFY(PickCity(w, QStringLiteral("Тарту")));
    std::optional<PersonFile> file = OpenPersonFileAsking(PersonFilePath());
    QVERIFY(file);
    PersonListDialog dialog(*file, w);
    // Saves with the box at `box` as `name`, pressing `choice` if asked.
    const auto save = [&](int box, int choice, const char* name) {
        w.CSpinEdit1->setValue(box);
        presenter.choices = {choice};
        presenter.texts = {QString::fromUtf8(name)};
        dialog.SaveInputs();
    };

    save(5, 2, "Тыну"); // «Отмена»
    QCOMPARE(presenter.questions.size(), 1);
    QVERIFY2(presenter.questions[0].contains(
                 QStringLiteral("указано 5, а по базе часовых поясов нужно 1")) &&
                 presenter.questions[0].contains(QStringLiteral("UTC+4:00 (летнее время)")),
             qPrintable(presenter.questions[0]));
    QCOMPARE(presenter.choiceLists[0],
             QStringList({QStringLiteral("Сохранить как есть"), QStringLiteral("Подставить 1"),
                          QStringLiteral("Отмена")}));
    QCOMPARE(presenter.textLabels.size(), 0); // no name asked for
    QCOMPARE(file->Count(), std::size_t{0});
    QCOMPARE(w.CSpinEdit1->value(), 5);
    save(5, 1, "Тыну"); // «Подставить 1»
    QCOMPARE(w.CSpinEdit1->value(), 1);
    QCOMPARE(Utf8(file->Find("Тыну")->utcOffset), QStringLiteral("+04:00"));
    save(5, 0, "Тийу"); // «Сохранить как есть»
    QCOMPARE(Utf8(file->Find("Тийу")->utcOffset), QStringLiteral("+08:00"));
    save(1, 2, "Тоомас"); // values that agree ask nothing
    QCOMPARE(presenter.questions.size(), 3);
    QVERIFY(file->Find("Тоомас"));

    w.Edit2->setText(QStringLiteral("55,03"));
    w.Edit3->setText(QStringLiteral("82,92"));
    w.Button7->click();
    save(w.CSpinEdit1->value(), 2, "Лев");
    const std::optional<Person> lev = file->Find("Лев");
    QVERIFY(lev);
    const QString nearest = QStringLiteral("Новосибирск, Новосибирская область, Россия — 2 км");
    QCOMPARE(Utf8(lev->place), nearest);
    QCOMPARE(Utf8(lev->zoneName), QString()); // no zone was picked
    w.OpenPerson(*lev); // the place in the search field, the nearest place's hint
    QCOMPARE(w.Edit4->text(), nearest);
    QVERIFY2(w.Label13->text().startsWith(QStringLiteral("ближайшее место атласа — Новосибирск")),
             qPrintable(w.Label13->text()));
    QCOMPARE(presenter.errors, QStringList());
}

void PersonListTest::peopleButtonOpensTheListAndCalculates() {
    ScriptedPresenter presenter;
    StartedWindows windows;
    TForm1& w = windows.mainWindow;
    {
        PersonFile file(PersonFilePath());
        file.Save(Saved("Анна", "17.07.1990"), OnConflict::Skip);
    }
    ModalWatch watch([](QWidget* modal) {
        auto* dialog = qobject_cast<PersonListDialog*>(modal);
        QVERIFY(dialog != nullptr);
        dialog->SelectRow(dialog->Model().RowOfName("Анна"));
        dialog->OpenSelected();
    });
    QTest::mouseClick(w.PeopleButton, Qt::LeftButton);
    QCOMPARE(watch.seen, 1);
    QCOMPARE(w.DateTimePicker1->date(), QDate(1990, 7, 17));
    QVERIFY(!w.RichEdit1->document()->isEmpty());
    QCOMPARE(Utf8(w.CalculatedPersonName()), QStringLiteral("Анна"));
    QCOMPARE(presenter.messages, QStringList());
    QCOMPARE(presenter.errors, QStringList());
}

void PersonListTest::aFileThatIsNotOursIsOfferedToBeSetAside() {
    ScriptedPresenter presenter;
    StartedWindows windows;
    TForm1& w = windows.mainWindow;
    const std::filesystem::path path = PersonFilePath();
    std::filesystem::create_directories(path.parent_path());
    QByteArray foreign = "SQLite format 3";
    foreign.append('\0');
    foreign.append(QByteArray(4080, 'x'));
    {
        QFile file(QString::fromStdString(path.string()));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(foreign);
    }

    // "Нет": nothing opens, nothing changes.
    presenter.answers << false;
    ModalWatch unexpected;
    w.PeopleButtonClick();
    QCOMPARE(unexpected.seen, 0);
    QCOMPARE(presenter.questions.size(), 1);
    QVERIFY2(presenter.questions[0].contains(QStringLiteral("Отложить")),
             qPrintable(presenter.questions[0]));
    QCOMPARE(Bytes(path), foreign);
    QCOMPARE(FilesIn(path.parent_path()), QStringList(QStringLiteral("people.sqlite")));

    // "Да": set aside as it is, a new file started, the list opened.
    presenter.answers << true;
    w.PeopleButtonClick();
    QCOMPARE(unexpected.seen, 1);
    const QStringList files = FilesIn(path.parent_path());
    QStringList aside = files.filter(QStringLiteral("people.sqlite.set-aside-"));
    QCOMPARE(aside.size(), 1);
    QCOMPARE(Bytes(path.parent_path() / aside[0].toStdString()), foreign);
    QCOMPARE(PersonFile(path).Count(), std::size_t{0});
    QVERIFY2(presenter.messages.size() == 1 &&
                 presenter.messages[0].contains(QStringLiteral("отложен")),
             qPrintable(presenter.messages.join('\n')));
    QCOMPARE(presenter.errors, QStringList());
}

void PersonListTest::aNewerFileIsRefusedAndTheWindowGoesOn() {
    ScriptedPresenter presenter;
    StartedWindows windows;
    TForm1& w = windows.mainWindow;
    const std::filesystem::path path = PersonFilePath();
    std::filesystem::create_directories(path.parent_path());
    {
        // Our file's identity, a version this program does not know yet.
        sqlite3* db = nullptr;
        QCOMPARE(sqlite3_open(path.string().c_str(), &db), SQLITE_OK);
        const std::string sql =
            "PRAGMA application_id = " + std::to_string(PersonFileApplicationId) +
            "; PRAGMA user_version = 99; CREATE TABLE later(x);";
        QCOMPARE(sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr), SQLITE_OK);
        sqlite3_close(db);
    }
    const QByteArray before = Bytes(path);

    ModalWatch unexpected;
    w.PeopleButtonClick();
    QCOMPARE(unexpected.seen, 0);
    QCOMPARE(presenter.questions, QStringList());
    QCOMPARE(presenter.messages.size(), 1);
    QVERIFY2(presenter.messages[0].contains(QStringLiteral("более новой версией")),
             qPrintable(presenter.messages[0]));
    QCOMPARE(Bytes(path), before);
    QCOMPARE(FilesIn(path.parent_path()), QStringList(QStringLiteral("people.sqlite")));

    // The rest of the program works.
    EnterMoscowBirth(w);
    w.Button1Click();
    QVERIFY(!w.RichEdit1->document()->isEmpty());
    QCOMPARE(presenter.errors, QStringList());
}

void PersonListTest::printCarriesThePersonsName() {
#ifndef TORAVEL_PDFTOTEXT
    QSKIP("poppler's pdftotext is not installed");
#else
    ScriptedPresenter presenter;
    StartedWindows windows;
    TForm1& w = windows.mainWindow;
    {
        PersonFile file(PersonFilePath());
        file.Save(Saved("Анна Петрова", "17.07.1990"), OnConflict::Skip);
        w.OpenPerson(*file.Find("Анна Петрова"));
    }
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("отчёт.pdf"));
    SetPdfPathChooser([&path](QWidget*) { return path; });
    const auto printed = [&path] {
        QProcess process;
        process.start(QStringLiteral(TORAVEL_PDFTOTEXT),
                      {QStringLiteral("-enc"), QStringLiteral("UTF-8"), path, QStringLiteral("-")});
        process.waitForFinished(30000);
        return QString::fromUtf8(process.readAllStandardOutput());
    };
    w.SaveReportAsPdf();
    QString text = printed();
    QVERIFY2(text.contains(QStringLiteral("Имя: Анна Петрова")), qPrintable(text));
    QVERIFY(text.contains(QStringLiteral("Дата рождения: 17.07.1990")));

    // Inputs of nobody: no name.
    w.Edit2->setText(QStringLiteral("55,8"));
    w.Button1Click();
    w.SaveReportAsPdf();
    text = printed();
    SetPdfPathChooser({});
    QVERIFY(!text.contains(QStringLiteral("Имя:")));
    QVERIFY(text.contains(QStringLiteral("широта 55,8")));
    QCOMPARE(presenter.errors, QStringList());
#endif
}

QTEST_MAIN(PersonListTest)
#include "person_list_test.moc"
