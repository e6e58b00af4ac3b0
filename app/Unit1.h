// The main window TForm1: the inputs of a horoscope (birth date and time, an
// optional lunar day, the birthplace's offset from Greenwich, the birthplace,
// the person's sex, whether to list the check dates), the report area, the
// four picture buttons and the exit button.
//
// The window carries its controls and thin handlers; the calculation itself
// is RunCalculationCommand, which sees the window only as a HoroscopeView.
// Every handler catches what leaves it and shows it through the standard
// error display, so no exception reaches Qt's event loop.
//
// Geometry is in pixels at 96 dpi and not rescaled: control bounds are
// client coordinates (inside GroupBox1 for its three fields).
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include <QTextCharFormat>
#include <QWidget>

#include "app/Unit2.h"
#include "app/person_list_host.h"
#include "app/table_calendar_days.h"
#include "atlas/geonames_atlas.h"
#include "horoscope/horoscope_view.h"
#include "horoscope/report.h"
#include "pdf/report_document.h"
#include "place/birthplace_hint_place.h"
#include "storage/database.h"

class QAction;
class QCheckBox;
class QCloseEvent;
class QDateEdit;
class QKeyEvent;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QRadioButton;
class QSpinBox;
class QTextEdit;
class QTime;
class QTimeEdit;

namespace toravel {

class BirthplaceSearchField;
class CityComboBox;
class LinkLabel;
class MonthWindow;

class TForm1 final : public QWidget, public HoroscopeView, public PersonListHost {
    Q_OBJECT

public:
    // Builds the window with its controls at their designed settings; the
    // start-up steps of FormCreate are run by the caller afterwards.
    TForm1();
    ~TForm1() override;

    // The picture window the picture buttons show their pictures on.
    void SetPictureWindow(TForm2* pictureWindow) { pictureWindow_ = pictureWindow; }

    // Handlers.
    void FormCreate();
    void Button1Click();
    void Button2Click();
    void Button3Click();
    void Button4Click();
    void Button5Click();
    void Button6Click();
    void ComboBox1Change();
    void ComboBox1Click();
    void ComboBox1CloseUp();
    void ComboBox1Enter();
    void Label7Click();

    // Beyond the designed window: the hint under the offset spin box (the
    // birthplace's offset at the birth moment from the tz database) with the
    // button that puts its value into the spin box, and printing the report.
    void UpdateBirthplaceZoneHint();
    void Button7Click();
    // The context menu of the report area: "Печать…", "Сохранить в PDF…" and
    // the area's editing actions. The caller owns it.
    QMenu* CreateReportMenu();
    void PrintReport();
    void SaveReportAsPdf();
    // What a print holds: the listings and report lines of the last
    // calculation with the inputs they were calculated from.
    ReportDocument CurrentReportDocument() const;

    // The inputs as the window shows them now, as a print names them. The
    // calculation takes its record of them when it starts; a new input of
    // the window is one more field here.
    BirthData CalculationInputs() const;

    // Beyond the designed window: the birthplace search in the world atlas.
    // Picking a place writes its coordinates into Edit2 and Edit3 and makes
    // it the birthplace of the zone hint.
    void Edit4PlacePicked(const AtlasPlace& place);
    // Where the window's atlas comes from (SharedWorldAtlas); for tests.
    void SetAtlasSource(std::function<const AtlasLoad&()> source);

    // HoroscopeView.
    std::string LatitudeText() const override;
    std::string LongitudeText() const override;
    bool ListingWanted() const override;
    void AppendLine(const std::string& line) override;
    std::string LunarDayFieldText() const override;
    std::string ZoneHoursText() const override;
    TDateTime BirthDate() const override;
    TDateTime BirthTime() const override;
    void ClearReport() override;
    void AppendFormattedLine(const CharacterFormat& format, const std::string& line) override;
    void ShowMessage(const std::string& text) override;
    void EnablePictureButtons() override;

    // Controls, by name.
    QPushButton* Button1;
    QPushButton* Button2;
    QPushButton* Button3;
    QPushButton* Button4;
    QPushButton* Button5;
    QPushButton* Button6;
    QDateEdit* DateTimePicker1;
    QTimeEdit* DateTimePicker2;
    QLineEdit* Edit1;
    QSpinBox* CSpinEdit1;
    QGroupBox* GroupBox1;
    CityComboBox* ComboBox1;
    QLineEdit* Edit2;
    QLineEdit* Edit3;
    QCheckBox* CheckBox1;
    QTextEdit* RichEdit1;
    QRadioButton* RadioButton1;
    QRadioButton* RadioButton2;
    QLabel* Label1;
    QLabel* Label2;
    QLabel* Label3;
    QLabel* Label4;
    QLabel* Label6;
    QLabel* Label10;
    QLabel* Label11;
    QLabel* Label12;
    LinkLabel* Label7;
    QLabel* Label13;              // the birthplace's zone hint, under Label10
    QPushButton* Button7;         // "подставить": the hint's value into CSpinEdit1
    QLabel* Label14;              // red: the spin box holds another value than the hint
    BirthplaceSearchField* Edit4; // the birthplace search, under GroupBox1
    QAction* PrintAction;         // "Печать…", Ctrl+P
    QAction* SavePdfAction;       // "Сохранить в PDF…"
    QAction* PicturesAction;      // checkable: the four pictures on pages of their own

    // ------------------------------------- person file and month calendar
    // «Картотека» beside «Выход»: the person list; a person opened there has
    // their inputs put into the window and calculated. «Лунный календарь»:
    // the month window for the birthplace in the fields.
    void PeopleButtonClick();
    void MonthCalendarButtonClick();
    // The window's inputs as plain values, and back; setting them picks the
    // city of the list whose coordinates they hold, and the zone hint
    // follows.
    BirthInputs CurrentInputs() const;
    void SetInputs(const BirthInputs& inputs);
    // Puts the person's inputs into the window (the hours that give the
    // person's clock on this computer) and runs «расчет».
    void OpenPerson(const Person& person);
    // The person the last completed calculation's inputs belong to; empty
    // when they belong to no one. Its prints carry the name.
    const std::string& CalculatedPersonName() const { return calculatedPersonName_; }
    MonthWindow* MonthCalendarWindow() const { return monthWindow_; }

    // PersonListHost.
    PersonOfInputsResult InputsAsPerson(std::string_view name) const override;
    std::string InputsPersonName() const override;
    std::optional<Person> LastCalculation() const override;
    void InputsSavedAs(const Person& person) override;
    void PersonRemoved(std::string_view name) override;
    std::optional<ZoneDisagreement> InputsZoneDisagreement() const override;
    void SubstituteHintValue() override;

    QPushButton* PeopleButton;        // «Картотека»
    QPushButton* MonthCalendarButton; // «Лунный календарь»

protected:
    void closeEvent(QCloseEvent* event) override;
    // Enter presses the focused push button, and in Edit1, Edit2, Edit3 and
    // the spin box runs "расчет".
    void keyPressEvent(QKeyEvent* event) override;

private:
    void CreateControls();
    void ConnectHandlers();

    // Birthplace and time zone.
    void LoadCityList();
    void ApplyCityLine();
    void ComputeComputerZoneOffset();

    // Database table t, opened on first use when start-up could not.
    void OpenTable();
    TableCursor& Table();

    // Report area.
    void EmptyReportArea();
    void AppendParagraph(const QString& text);

    void ShowPicture(std::string_view fieldName, const QString& windowCaption, PaperSize paper);

    // ADOConnection1 and ADOTable1.
    std::unique_ptr<DatabaseConnection> connection_;
    std::unique_ptr<TableCursor> table_;
    TableCalendarDays calendarDays_;

    TForm2* pictureWindow_ = nullptr;

    void CreateHintAndPrintControls();
    // The report area's content as the calculation wrote it.
    std::vector<std::string> listingLines_;
    std::vector<ReportLine> reportLines_;
    // The computer's own offset the calculation adds, for the zone hint.
    int computerOffsetSeconds_ = 0;
    // The value "подставить" puts in; nothing while the button is disabled.
    std::optional<int> hintSpinValue_;

    // ------------------------------------- birthplace search, hint, record
    void CreateSearchControls();
    void NameControlsForAccessibility();
    void FillFieldsFromCityLine();
    // Typed coordinates: the search field no longer names the place picked.
    void ForgetPickedPlaceName();
    void UpdateZoneWarning();
    // Sets the time picker, showing the seconds only where there are any, so
    // that the time shown is the time calculated.
    void SetBirthTime(const QTime& time);
    void ShowReportLinesInView();
    const WorldAtlas* AtlasForHint();

    // The place picked last, from the city list or the atlas, and the texts
    // the pick wrote into the fields: it names the birthplace while the
    // fields still hold them.
    struct PickedBirthplace {
        PickedPlace place;
        std::string printedName;
        std::string latitudeText;
        std::string longitudeText;
    };
    std::optional<PickedBirthplace> picked_;
    std::function<const AtlasLoad&()> atlasSource_;
    // The hint for the inputs now.
    BirthplaceZoneHint hint_;
    // For typed coordinates no pick explains, the atlas place the hint took:
    // "Бердск, Новосибирская область, Россия — 14 км"; empty otherwise.
    std::string nearestPlaceName_;
    // The spin box's value of the report on screen when the hint asked for
    // another at its «расчет»: Label14 stands until a report is calculated
    // with the hint's value. Only a calculation that wrote a report sets it.
    std::optional<int> mismatchedReportHours_;
    // The fields are being filled from a pick: the hint waits for both.
    bool fillingFields_ = false;
    // The inputs the report area's content was calculated from.
    std::optional<BirthData> reportInputs_;

    // The format the next appended line takes, as the rich-text box keeps it.
    QTextCharFormat lineFormat_;
    bool reportHasParagraph_ = false;

    // Person file and month calendar.
    void CreatePersonAndMonthControls();
    // After a calculation that wrote its report: its inputs and result as
    // the session's last calculation, and the result kept with its person.
    void RememberCalculation();
    // The inputs as opened or saved under a person's name; nothing when they
    // came from no one.
    std::optional<Person> inputsPerson_;
    std::optional<Person> lastCalculation_;
    std::string calculatedPersonName_;
    MonthWindow* monthWindow_ = nullptr;
};

// The format of an emptied report area: the window's font, black, not bold.
QTextCharFormat DefaultReportFormat();

} // namespace toravel
