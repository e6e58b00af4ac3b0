#include "app/Unit1.h"

#include <algorithm>
#include <cstdint>
#include <exception>
#include <span>
#include <vector>

#include <QAction>
#include <QCalendarWidget>
#include <QCheckBox>
#include <QCloseEvent>
#include <QColor>
#include <QDateEdit>
#include <QDesktopServices>
#include <QGroupBox>
#include <QKeyEvent>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSpinBox>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>
#include <QTimeEdit>
#include <QUrl>

#include "app/application_setup.h"
#include "app/birthplace_search_field.h"
#include "app/city_combo_box.h"
#include "app/link_label.h"
#include "app/message_presenter.h"
#include "app/month_window.h"
#include "app/paths.h"
#include "app/person_file_opening.h"
#include "app/person_list_dialog.h"
#include "app/report_printing.h"
#include "app/termination.h"
#include "atlas/geonames_atlas.h"
#include "horoscope/calculation_command.h"
#include "horoscope/horoscope_pictures.h"
#include "lunar/calculation_state.h"
#include "pdf/report_pictures.h"
#include "pictures/jpeg_decoder.h"
#include "place/birthplace_zone_hint.h"
#include "place/city_line.h"
#include "platform/computer_zone.h"
#include "platform/conversions.h"
#include "platform/tdatetime.h"
#include "storage/city_list.h"

namespace toravel {
namespace {

QString Utf8(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// The designed outer size less the frame of a sizeable window with a caption
// at 96 dpi (4 pixels on each side, a caption of 19): Qt's resize() sets the
// client area, move() places the frame.
constexpr int DesignedLeft = 198;
constexpr int DesignedTop = 125;
constexpr int OuterWidth = 956;
constexpr int OuterHeight = 539;
constexpr int FrameBorder = 4;
constexpr int CaptionHeight = 19;
constexpr int ClientWidth = OuterWidth - 2 * FrameBorder;
constexpr int ClientHeight = OuterHeight - 2 * FrameBorder - CaptionHeight;

const QString BirthplaceHint = QStringLiteral(
    "Выберите населенный пункт из списка или если его нет - введите данные широты и долготы "
    "вручную");
const QString ListingHint = QStringLiteral(
    "Возможность посмотреть даты новолуний и восходов лун по которым считается лунный день");
const QString NoPictureMessage = QStringLiteral("нет рисунка");
const QString TableNotOpenMessage = QStringLiteral("Вначале запускается start.exe");

// The value both pickers are designed with, kept when start-up fails before
// setting them: 3 January 2017, 00:00.
const QDate DesignedDate(2017, 1, 3);

QDate PickerDate(TDateTime t) {
    int year, month, day, hour, minute, second, millisecond;
    DecodeDateTime(t, year, month, day, hour, minute, second, millisecond);
    return QDate(year, month, day);
}

QTime PickerMinute(TDateTime t) {
    int year, month, day, hour, minute, second, millisecond;
    DecodeDateTime(t, year, month, day, hour, minute, second, millisecond);
    return QTime(hour, minute);
}

// "14:30", or "14:30:15" where there are seconds.
QString ClockText(const QTime& time) {
    return time.toString(time.second() != 0 ? QStringLiteral("HH:mm:ss") : QStringLiteral("HH:mm"));
}

QLabel* MakeLabel(QWidget* parent, const char* name, const QString& text) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setTextFormat(Qt::PlainText);
    return label;
}

// A label of fixed bounds whose text wraps inside them.
QLabel* MakeWrappedLabel(QWidget* parent, const char* name, const QString& text, QRect bounds) {
    QLabel* label = MakeLabel(parent, name, text);
    label->setWordWrap(true);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->setGeometry(bounds);
    return label;
}

// A label as wide and high as its text, at the given top-left corner.
QLabel* MakeAutoSizeLabel(QWidget* parent, const char* name, const QString& text, QPoint at) {
    QLabel* label = MakeLabel(parent, name, text);
    label->move(at);
    label->adjustSize();
    return label;
}

QPushButton* MakeButton(QWidget* parent, const char* name, const QString& caption, QRect bounds) {
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setGeometry(bounds);
    button->setAutoDefault(false);
    return button;
}

QLineEdit* MakeEdit(QWidget* parent, const char* name, QRect bounds) {
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(QString::fromLatin1(name));
    edit->setGeometry(bounds);
    return edit;
}

} // namespace

QTextCharFormat DefaultReportFormat() {
    const QFont font = WindowFont();
    QTextCharFormat format;
    format.setFontFamilies(font.families());
    format.setProperty(QTextFormat::FontPixelSize, font.pixelSize());
    format.setFontWeight(QFont::Normal);
    format.setForeground(QColor(0, 0, 0));
    return format;
}

TForm1::TForm1()
    : QWidget(nullptr, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                           Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                           Qt::WindowCloseButtonHint),
      calendarDays_([this]() -> TableCursor& { return Table(); }), atlasSource_(&SharedWorldAtlas) {
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("Составление Славянского гороскопа в Мире Прави"));
    setFont(WindowFont());
    move(DesignedLeft, DesignedTop);
    resize(ClientWidth, ClientHeight);
    CreateControls();
    ConnectHandlers();
    CreateHintAndPrintControls();
    CreateSearchControls();
    NameControlsForAccessibility();
    CreatePersonAndMonthControls();
}

TForm1::~TForm1() {
    // QWidget destroys the controls after this part of the window is gone;
    // a signal they send meanwhile (the list taking the focus on its way out)
    // must no longer reach the handlers.
    for (QObject* control : findChildren<QObject*>())
        control->disconnect(this);
}

void TForm1::CreateControls() {
    Button1 = MakeButton(this, "Button1", QStringLiteral("расчет"), {16, 24, 129, 33});
    Button3 = MakeButton(this, "Button3", QStringLiteral("Значение периода"), {687, 16, 129, 33});
    Button4 = MakeButton(this, "Button4", QStringLiteral("Оберегающий массаж"), {687, 67, 129, 33});
    Button5 = MakeButton(this, "Button5", QStringLiteral("Гимнастика"), {687, 118, 129, 33});
    Button6 = MakeButton(this, "Button6", QStringLiteral("Оберег"), {688, 168, 129, 33});

    DateTimePicker1 = new QDateEdit(DesignedDate, this);
    DateTimePicker1->setObjectName(QStringLiteral("DateTimePicker1"));
    DateTimePicker1->setGeometry(289, 21, 81, 21);
    DateTimePicker1->setCalendarPopup(true);
    DateTimePicker1->setDisplayFormat(QStringLiteral("dd.MM.yyyy"));
    // The new-moon search needs December of the year before and January of
    // the year after, within the years 1 to 9999 that dates can hold.
    DateTimePicker1->setDateRange(QDate(2, 1, 1), QDate(9998, 12, 31));

    Button2 = MakeButton(this, "Button2", QStringLiteral("Выход"), {11, 472, 129, 33});

    DateTimePicker2 = new QTimeEdit(QTime(0, 0), this);
    DateTimePicker2->setObjectName(QStringLiteral("DateTimePicker2"));
    DateTimePicker2->setGeometry(377, 21, 57, 21);
    DateTimePicker2->setDisplayFormat(QStringLiteral("HH:mm"));

    // At most two digits, kept at the right edge as right-to-left reading
    // order places them.
    Edit1 = MakeEdit(this, "Edit1", {395, 64, 27, 21});
    Edit1->setMaxLength(2);
    Edit1->setAlignment(Qt::AlignRight | Qt::AlignVCenter);

    CSpinEdit1 = new QSpinBox(this);
    CSpinEdit1->setObjectName(QStringLiteral("CSpinEdit1"));
    CSpinEdit1->setGeometry(385, 112, 41, 22);
    CSpinEdit1->setRange(-12, 12);
    CSpinEdit1->setSingleStep(1);
    CSpinEdit1->setValue(0);
    CSpinEdit1->setCorrectionMode(QAbstractSpinBox::CorrectToNearestValue);

    GroupBox1 = new QGroupBox(QStringLiteral("Географическое положение"), this);
    GroupBox1->setObjectName(QStringLiteral("GroupBox1"));
    GroupBox1->setGeometry(465, 16, 177, 99);
    GroupBox1->setToolTip(BirthplaceHint);

    ComboBox1 = new CityComboBox(GroupBox1);
    ComboBox1->setObjectName(QStringLiteral("ComboBox1"));
    ComboBox1->setGeometry(16, 18, 145, 21);
    ComboBox1->setEditable(false);
    ComboBox1->setMaxVisibleItems(40);
    ComboBox1->setToolTip(BirthplaceHint);

    Edit2 = MakeEdit(GroupBox1, "Edit2", {65, 44, 57, 21});
    Label11 = MakeAutoSizeLabel(GroupBox1, "Label11", QStringLiteral("Широта"), {12, 48});
    Edit3 = MakeEdit(GroupBox1, "Edit3", {65, 68, 57, 21});
    Label12 = MakeAutoSizeLabel(GroupBox1, "Label12", QStringLiteral("Долгота"), {9, 72});

    CheckBox1 = new QCheckBox(QStringLiteral("добавить даты для проверки"), this);
    CheckBox1->setObjectName(QStringLiteral("CheckBox1"));
    CheckBox1->setGeometry(8, 160, 177, 17);
    CheckBox1->setToolTip(ListingHint);
    CheckBox1->setChecked(false);

    RichEdit1 = new QTextEdit(this);
    RichEdit1->setObjectName(QStringLiteral("RichEdit1"));
    RichEdit1->setGeometry(8, 216, 817, 137);
    RichEdit1->setFrameShape(QFrame::NoFrame);
    RichEdit1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    RichEdit1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    RichEdit1->setLineWrapMode(QTextEdit::WidgetWidth);
    RichEdit1->setTabChangesFocus(true);
    RichEdit1->setReadOnly(false);
    {
        QPalette palette = RichEdit1->palette();
        palette.setColor(QPalette::Base, palette.color(QPalette::Button));
        RichEdit1->setPalette(palette);
    }
    lineFormat_ = DefaultReportFormat();
    RichEdit1->setCurrentCharFormat(lineFormat_);

    RadioButton1 = new QRadioButton(QStringLiteral("Мужской"), this);
    RadioButton1->setObjectName(QStringLiteral("RadioButton1"));
    RadioButton1->setGeometry(40, 88, 113, 17);
    RadioButton1->setChecked(true);
    RadioButton2 = new QRadioButton(QStringLiteral("Женский"), this);
    RadioButton2->setObjectName(QStringLiteral("RadioButton2"));
    RadioButton2->setGeometry(40, 112, 113, 17);

    Label1 = MakeWrappedLabel(this, "Label1", QStringLiteral("на дату и время        рождения"),
                              {193, 20, 87, 26});
    Label4 = MakeWrappedLabel(this, "Label4",
                              QStringLiteral("лунный день для рассчета, если  хотите исползьзовать "
                                             "собственный расчет лунного дня (желательно по "
                                             "эфемеридам)"),
                              {195, 55, 170, 52});
    Label2 = MakeWrappedLabel(
        this, "Label2", QStringLiteral("разница в часах по времени места рождения с  гринвичем"),
        {193, 110, 185, 25});
    Label10 = MakeAutoSizeLabel(this, "Label10", QString(), {193, 146});
    Label6 = MakeWrappedLabel(
        this, "Label6",
        QStringLiteral("Гороскоп основан на славянском лунном календаре и предании о трёх мирах "
                       "— Прави, Яви и Нави. Подробнее — в книгах по славянской мифологии и на "
                       "сайте программы."),
        {404, 477, 539, 26});
    Label3 = MakeAutoSizeLabel(this, "Label3", QStringLiteral("© Торавель, 2026"), {824, 456});

    Label7 = new LinkLabel(this);
    Label7->setObjectName(QStringLiteral("Label7"));
    Label7->setTextFormat(Qt::PlainText);
    Label7->setText(Utf8(paths::MakerPage));
    Label7->setToolTip(QStringLiteral("перейти на сайт ") + Utf8(paths::MakerPage));
    Label7->move(815, 490);
    Label7->adjustSize();

    // The keyboard order of the window's controls; GroupBox1 takes the focus
    // through its three fields.
    QWidget* const order[] = {Button1,         Button3,     Button4,         Button5,   Button6,
                              DateTimePicker1, Button2,     DateTimePicker2, Edit1,     CSpinEdit1,
                              ComboBox1,       Edit2,       Edit3,           CheckBox1, RichEdit1,
                              RadioButton1,    RadioButton2};
    for (std::size_t i = 0; i + 1 < std::size(order); ++i) {
        QWidget::setTabOrder(order[i], order[i + 1]);
    }
    Button1->setFocus();
}

void TForm1::ConnectHandlers() {
    connect(Button1, &QPushButton::clicked, this, [this] { Button1Click(); });
    connect(Button2, &QPushButton::clicked, this, [this] { Button2Click(); });
    connect(Button3, &QPushButton::clicked, this, [this] { Button3Click(); });
    connect(Button4, &QPushButton::clicked, this, [this] { Button4Click(); });
    connect(Button5, &QPushButton::clicked, this, [this] { Button5Click(); });
    connect(Button6, &QPushButton::clicked, this, [this] { Button6Click(); });
    connect(ComboBox1, &QComboBox::currentIndexChanged, this, [this] { ComboBox1Change(); });
    connect(ComboBox1, &QComboBox::activated, this, [this] { ComboBox1Click(); });
    connect(ComboBox1, &CityComboBox::closedUp, this, [this] { ComboBox1CloseUp(); });
    connect(ComboBox1, &CityComboBox::entered, this, [this] { ComboBox1Enter(); });
    connect(Label7, &LinkLabel::clicked, this, [this] { Label7Click(); });
}

// ---------------------------------------------------------------- start-up

void TForm1::FormCreate() {
    RunHandler([this] {
        Label10->clear();
        EmptyReportArea();
        Edit1->clear();

        // A damaged file, a wrong password or a missing table: the error
        // display shows the data layer's message once (the rest of the
        // start-up is skipped) and the application ends as when the table is
        // not open, instead of leaving a window whose every button fails.
        try {
            OpenTable();
        } catch (const std::exception& error) {
            RequestTermination(std::string("база данных не открылась: ") + error.what());
            throw;
        } catch (...) {
            RequestTermination("база данных не открылась");
            throw;
        }
        if (table_ == nullptr) {
            Presenter().ShowMessage(TableNotOpenMessage);
            RequestTermination("таблица t базы данных не открылась");
        }

        Button3->setEnabled(false);
        Button4->setEnabled(false);
        Button5->setEnabled(false);
        Button6->setEnabled(false);

        LoadCityList();
        EmptyReportArea();
        ComputeComputerZoneOffset();
        Edit1->clear();

        DateTimePicker1->setDisplayFormat(QStringLiteral("dd.MM.yyyy"));
        DateTimePicker2->setDisplayFormat(QStringLiteral("HH:mm"));
        // The present minute: the picker shows no seconds, and the time
        // calculated is the time shown.
        const TDateTime now = Now();
        DateTimePicker1->setDate(PickerDate(now));
        SetBirthTime(PickerMinute(now));

        EmptyReportArea();
    });
}

void TForm1::OpenTable() {
    table_.reset();
    connection_ = std::make_unique<DatabaseConnection>(HoroscopeConnectionString);
    // Every page now, pictures included (about a millisecond): a damaged
    // file ends the start-up rather than a picture's button later.
    connection_->VerifyEveryPage();
    table_ = std::make_unique<TableCursor>(*connection_);
}

TableCursor& TForm1::Table() {
    if (table_ == nullptr)
        OpenTable();
    return *table_;
}

// ---------------------------------------------------------------- birthplace

void TForm1::LoadCityList() {
    const std::vector<std::string> lines = ::toravel::LoadCityList(paths::CityListFile);
    {
        // Filling the list is no change of selection, and leaves none.
        const QSignalBlocker quiet(ComboBox1);
        ComboBox1->clear();
        for (const std::string& line : lines)
            ComboBox1->addItem(Utf8(line));
        ComboBox1->setCurrentIndex(-1);
    }
    Edit2->clear();
    Edit3->clear();
    ApplyCityLine();
}

void TForm1::ApplyCityLine() {
    const CityCoordinateTexts fields =
        ::toravel::ApplyCityLine(ComboBox1->currentText().toStdString());
    // One hint for both new values, not one for a half-changed pair.
    fillingFields_ = true;
    Edit2->setText(Utf8(fields.latitude));
    Edit3->setText(Utf8(fields.longitude));
    fillingFields_ = false;
}

void TForm1::ComputeComputerZoneOffset() {
    const ComputerZone zone = ::toravel::ComputeComputerZoneOffset();
    SharedCalculationState().ComputerZoneOffset = zone.offsetDays;
    computerOffsetSeconds_ = zone.offsetSeconds;
    Label10->setText(Utf8(zone.labelText));
    Label10->adjustSize();
}

// A list without typing has no caret to move, so picking an entry and
// closing the list only fill the two fields.
void TForm1::ComboBox1Change() {
    RunHandler([this] {
        FillFieldsFromCityLine();
        UpdateBirthplaceZoneHint();
    });
}

void TForm1::ComboBox1CloseUp() {
    RunHandler([this] {
        FillFieldsFromCityLine();
        UpdateBirthplaceZoneHint();
    });
}

void TForm1::ComboBox1Click() {}

void TForm1::ComboBox1Enter() {}

// ---------------------------------------------------------------- commands

void TForm1::Button1Click() {
    bool reportWritten = false;
    RunHandler([this, &reportWritten] {
        reportWritten =
            RunCalculationCommand(*this, calendarDays_).ending == CalculationEnding::ReportWritten;
        ShowReportLinesInView();
    });
    // The red line speaks of the report on screen: a report calculated with
    // another value than the hint's raises it, one with the hint's value
    // lowers it, and a calculation that emptied the area leaves none.
    if (reportWritten && reportInputs_) {
        const int used = reportInputs_->zoneHours;
        mismatchedReportHours_.reset();
        if (hint_.spinValue && *hint_.spinValue != used)
            mismatchedReportHours_ = used;
    } else if (reportLines_.empty()) {
        mismatchedReportHours_.reset();
    }
    RunHandler([this] { UpdateZoneWarning(); });
    if (reportWritten)
        RememberCalculation();
}

void TForm1::Button2Click() {
    close();
}

void TForm1::closeEvent(QCloseEvent* event) {
    if (pictureWindow_ != nullptr)
        pictureWindow_->hide();
    if (monthWindow_ != nullptr) // closing the main window ends the program
        monthWindow_->hide();
    QWidget::closeEvent(event);
}

void TForm1::Label7Click() {
    RunHandler([] { QDesktopServices::openUrl(QUrl(Utf8(paths::MakerPage))); });
}

// ---------------------------------------------------------------- pictures

void TForm1::Button3Click() {
    ShowPicture(MeaningPicture.field, Utf8(MeaningPicture.windowCaption), PaperSize::A4);
}

void TForm1::Button4Click() {
    ShowPicture(MassagePicture.field, Utf8(MassagePicture.windowCaption), PaperSize::A4);
}

void TForm1::Button5Click() {
    ShowPicture(GymnasticsPicture.field, Utf8(GymnasticsPicture.windowCaption), PaperSize::A4);
}

void TForm1::Button6Click() {
    const HoroscopePicture amulet = AmuletPicture(!RadioButton1->isChecked());
    ShowPicture(amulet.field, Utf8(amulet.windowCaption), PaperSize::A5);
}

void TForm1::ShowPicture(std::string_view fieldName, const QString& windowCaption,
                         PaperSize paper) {
    RunHandler([&] {
        TableCursor& table = Table();
        table.First();
        std::vector<unsigned char> buffer;
        table.CopyFieldBytes(fieldName, buffer);

        // An empty field, or one that holds no JPEG file, has no picture to
        // show: say so instead of showing an empty page.
        DecodedImage decoded;
        try {
            decoded = DecodeJpeg(std::span<const std::uint8_t>(buffer.data(), buffer.size()));
        } catch (const NotAJpegError&) {
            Presenter().ShowMessage(NoPictureMessage);
            return;
        }
        const QImage picture = QImage(decoded.rgb.data(), decoded.width, decoded.height,
                                      3 * decoded.width, QImage::Format_RGB888)
                                   .copy();
        if (pictureWindow_ != nullptr)
            pictureWindow_->ShowPicture(picture, windowCaption, paper);
    });
}

// ---------------------------------------------------------------- the view

std::string TForm1::LatitudeText() const {
    return Edit2->text().toStdString();
}
std::string TForm1::LongitudeText() const {
    return Edit3->text().toStdString();
}
bool TForm1::ListingWanted() const {
    return CheckBox1->isChecked();
}
std::string TForm1::LunarDayFieldText() const {
    return Edit1->text().toStdString();
}
std::string TForm1::ZoneHoursText() const {
    return CSpinEdit1->text().toStdString();
}

TDateTime TForm1::BirthDate() const {
    const QDate date = DateTimePicker1->date();
    TDateTime t = 0.0;
    // The picker's calendar has the ten days that the reform of October 1582
    // skipped; they name no day of ours.
    if (!TryEncodeDateTime(date.year(), date.month(), date.day(), 0, 0, 0, 0, t)) {
        throw ConversionError("'" + date.toString(QStringLiteral("dd.MM.yyyy")).toStdString() +
                              "' is not a valid date and time");
    }
    return t;
}

TDateTime TForm1::BirthTime() const {
    // The time of day alone, on day 0 (30 December 1899).
    const QTime time = DateTimePicker2->time();
    return EncodeDateTime(1899, 12, 30, time.hour(), time.minute(), time.second(), time.msec());
}

// The command empties the area when it starts calculating: what it writes
// from now on belongs to the inputs as they are at this moment.
void TForm1::ClearReport() {
    EmptyReportArea();
    reportInputs_ = CalculationInputs();
}

void TForm1::EmptyReportArea() {
    RichEdit1->clear();
    // QTextEdit keeps the last format it had; an emptied area starts over
    // with the window's own, so listings never take a report line's colour.
    lineFormat_ = DefaultReportFormat();
    RichEdit1->setCurrentCharFormat(lineFormat_);
    reportHasParagraph_ = false;
    listingLines_.clear();
    reportLines_.clear();
    reportInputs_.reset();
}

void TForm1::AppendLine(const std::string& line) {
    AppendParagraph(Utf8(line));
    listingLines_.push_back(line);
}

void TForm1::AppendFormattedLine(const CharacterFormat& format, const std::string& line) {
    lineFormat_.setFontWeight(format.bold ? QFont::Bold : QFont::Normal);
    lineFormat_.clearProperty(QTextFormat::FontPixelSize);
    lineFormat_.setFontPointSize(format.pointSize);
    lineFormat_.setForeground(QColor(format.r, format.g, format.b));
    AppendParagraph(Utf8(line));
    reportLines_.push_back({format, line});
}

void TForm1::AppendParagraph(const QString& text) {
    // Plain text in an explicit format, one paragraph per line: never
    // QTextEdit::append(), which guesses whether the text is HTML.
    QTextCursor cursor(RichEdit1->document());
    cursor.movePosition(QTextCursor::End);
    if (reportHasParagraph_ || !RichEdit1->document()->isEmpty()) {
        cursor.insertBlock(QTextBlockFormat(), lineFormat_);
    } else {
        cursor.setBlockCharFormat(lineFormat_);
    }
    cursor.insertText(text, lineFormat_);
    reportHasParagraph_ = true;
    RichEdit1->setCurrentCharFormat(lineFormat_);
}

void TForm1::ShowMessage(const std::string& text) {
    Presenter().ShowMessage(Utf8(text));
}

void TForm1::EnablePictureButtons() {
    Button3->setEnabled(true);
    Button4->setEnabled(true);
    Button5->setEnabled(true);
    Button6->setEnabled(true);
}

// ------------------------------------------- zone hint and printing (added)

// The hint sits under Label10 and the button beside it, in the band between
// CheckBox1 and Button6 above the report area; no designed control moves.
void TForm1::CreateHintAndPrintControls() {
    Label13 = MakeWrappedLabel(this, "Label13", QString(), {193, 163, 400, 38});
    Button7 = MakeButton(this, "Button7", QStringLiteral("подставить"), {600, 163, 80, 22});
    Button7->setToolTip(
        QStringLiteral("Подставить в поле разницы в часах значение из подсказки слева"));
    Button7->setEnabled(false);
    connect(Button7, &QPushButton::clicked, this, [this] { Button7Click(); });
    connect(DateTimePicker1, &QDateEdit::dateChanged, this,
            [this] { RunHandler([this] { UpdateBirthplaceZoneHint(); }); });
    connect(DateTimePicker2, &QTimeEdit::timeChanged, this,
            [this] { RunHandler([this] { UpdateBirthplaceZoneHint(); }); });

    PrintAction = new QAction(QStringLiteral("Печать…"), this);
    PrintAction->setShortcut(QKeySequence::Print);
    PrintAction->setShortcutContext(Qt::WindowShortcut);
    addAction(PrintAction);
    connect(PrintAction, &QAction::triggered, this, [this] { PrintReport(); });
    SavePdfAction = new QAction(QStringLiteral("Сохранить в PDF…"), this);
    connect(SavePdfAction, &QAction::triggered, this, [this] { SaveReportAsPdf(); });
    PicturesAction = new QAction(QStringLiteral("С картинками"), this);
    PicturesAction->setCheckable(true);
    PicturesAction->setChecked(false);

    RichEdit1->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(RichEdit1, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
        QMenu* menu = CreateReportMenu();
        menu->setAttribute(Qt::WA_DeleteOnClose);
        menu->popup(RichEdit1->viewport()->mapToGlobal(at));
    });
}

void TForm1::UpdateBirthplaceZoneHint() {
    if (fillingFields_)
        return;
    // A date the calendar reform skipped names no moment: no hint, and the
    // error is left to the calculation.
    const QDate date = DateTimePicker1->date();
    const QTime time = DateTimePicker2->time();
    TDateTime birthLocal = 0.0;
    const bool isMoment = TryEncodeDateTime(date.year(), date.month(), date.day(), time.hour(),
                                            time.minute(), time.second(), time.msec(), birthLocal);
    std::optional<PickedPlace> picked;
    if (picked_)
        picked = picked_->place;
    const HintPlace place =
        ChooseHintPlace(LatitudeText(), LongitudeText(), picked, [this] { return AtlasForHint(); });
    nearestPlaceName_.clear();
    if (place.source == HintPlaceSource::NearestAtlasPlace && place.atlasPlace != nullptr)
        nearestPlaceName_ =
            PlaceFullName(*place.atlasPlace) + " — " + DistanceKmText(place.distanceKm);
    hint_ = isMoment ? MakeHintForPlace(place, birthLocal, computerOffsetSeconds_)
                     : BirthplaceZoneHint{};
    Label13->setText(Utf8(hint_.text));
    Label13->setToolTip(Utf8(hint_.text)); // the whole text, should it not fit
    hintSpinValue_ = hint_.canApply ? hint_.spinValue : std::nullopt;
    Button7->setEnabled(hintSpinValue_.has_value());
    Button7->setVisible(!hint_.text.empty());
    UpdateZoneWarning();
}

void TForm1::Button7Click() {
    RunHandler([this] {
        if (hintSpinValue_)
            CSpinEdit1->setValue(*hintSpinValue_);
    });
}

QMenu* TForm1::CreateReportMenu() {
    QMenu* menu = RichEdit1->createStandardContextMenu();
    QAction* first = menu->actions().isEmpty() ? nullptr : menu->actions().first();
    menu->insertAction(first, PrintAction);
    menu->insertAction(first, SavePdfAction);
    menu->insertAction(first, PicturesAction);
    menu->insertSeparator(first);
    return menu;
}

ReportDocument TForm1::CurrentReportDocument() const {
    ReportDocument document;
    document.birth = reportInputs_ ? *reportInputs_ : CalculationInputs();
    document.listing = listingLines_;
    document.report = reportLines_;
    if (PicturesAction->isChecked()) {
        document.pictures =
            LoadReportPictures(std::string(HoroscopeConnectionString), document.birth.female);
    }
    return document;
}

namespace {
const QString NothingToPrintMessage = QStringLiteral("Печатать нечего: сначала выполните расчет");
} // namespace

void TForm1::PrintReport() {
    RunHandler([this] {
        if (reportLines_.empty()) {
            Presenter().ShowMessage(NothingToPrintMessage);
            return;
        }
        PrintReportDocument(this, CurrentReportDocument());
    });
}

void TForm1::SaveReportAsPdf() {
    RunHandler([this] {
        if (reportLines_.empty()) {
            Presenter().ShowMessage(NothingToPrintMessage);
            return;
        }
        SaveReportDocumentAsPdf(this, CurrentReportDocument());
    });
}

// ------------------------------- birthplace search and the window's keyboard

namespace {
const QString SearchPlaceholder = QStringLiteral("найти место рождения…");
const QString SearchHint = QStringLiteral(
    "Начните вводить название места рождения — любого города мира с населением от 15 000 "
    "человек; стрелками выберите строку списка и нажмите Enter. Широта и долгота заполнятся "
    "сами.");
} // namespace

// The search field lies under GroupBox1, in the free space beside the
// offset spin box; the red warning under the hint, above the report area.
void TForm1::CreateSearchControls() {
    Edit4 = new BirthplaceSearchField(this);
    Edit4->setObjectName(QStringLiteral("Edit4"));
    Edit4->setGeometry(465, 120, 177, 22);
    Edit4->setPlaceholderText(SearchPlaceholder);
    Edit4->setToolTip(SearchHint);
    Edit4->SetAtlasSource([this]() -> const AtlasLoad& { return atlasSource_(); });
    connect(Edit4, &BirthplaceSearchField::placePicked, this,
            [this](const AtlasPlace& place) { Edit4PlacePicked(place); });
    connect(Edit4, &BirthplaceSearchField::atlasUnavailable, this, [this](const QString& problem) {
        RunHandler([this, &problem] {
            ComboBox1->setFocus();
            Presenter().ShowMessage(problem);
        });
    });
    // In the keyboard order after the birthplace group's fields.
    QWidget::setTabOrder(Edit3, Edit4);
    QWidget::setTabOrder(Edit4, CheckBox1);

    Label14 = MakeLabel(this, "Label14", QString());
    Label14->setGeometry(193, 201, 487, 14);
    {
        QPalette palette = Label14->palette();
        palette.setColor(QPalette::WindowText, QColor(255, 0, 0));
        Label14->setPalette(palette);
    }
    Label14->hide();

    for (QLineEdit* field : {Edit2, Edit3}) {
        connect(field, &QLineEdit::textChanged, this, [this] {
            RunHandler([this] {
                ForgetPickedPlaceName();
                UpdateBirthplaceZoneHint();
            });
        });
    }
    connect(CSpinEdit1, &QSpinBox::valueChanged, this,
            [this] { RunHandler([this] { UpdateZoneWarning(); }); });
    Button7->hide();

    // The calendar of the date picker names months and weekdays in
    // Russian like the rest of the window, whatever the desktop's language.
    // Only the names change: the pickers' values and the number and date
    // conversions do not depend on any locale.
    const QLocale russian(QLocale::Russian, QLocale::Russia);
    DateTimePicker1->setLocale(russian);
    DateTimePicker1->calendarWidget()->setLocale(russian);
}

// What a screen reader announces for each input: its label's words.
void TForm1::NameControlsForAccessibility() {
    DateTimePicker1->setAccessibleName(QStringLiteral("Дата рождения"));
    DateTimePicker2->setAccessibleName(QStringLiteral("Время рождения"));
    Edit1->setAccessibleName(QStringLiteral("Лунный день для расчета"));
    Edit1->setAccessibleDescription(Label4->text());
    CSpinEdit1->setAccessibleName(
        QStringLiteral("Разница в часах по времени места рождения с Гринвичем"));
    ComboBox1->setAccessibleName(QStringLiteral("Населенный пункт из списка"));
    ComboBox1->setAccessibleDescription(BirthplaceHint);
    Edit2->setAccessibleName(Label11->text());
    Label11->setBuddy(Edit2);
    Edit3->setAccessibleName(Label12->text());
    Label12->setBuddy(Edit3);
    Edit4->setAccessibleName(QStringLiteral("Поиск места рождения в атласе"));
    Edit4->setAccessibleDescription(SearchHint);
    RichEdit1->setAccessibleName(QStringLiteral("Отчет"));
    Label13->setAccessibleName(QStringLiteral("Подсказка о часовом поясе места рождения"));
    Label14->setAccessibleName(QStringLiteral("Предупреждение о разнице в часах"));
}

void TForm1::FillFieldsFromCityLine() {
    ApplyCityLine();
    const std::string line = ComboBox1->currentText().toStdString();
    picked_.reset();
    if (auto place = PickedPlaceOfCityLine(line)) {
        picked_ = PickedBirthplace{std::move(*place), CityIdentityOfLine(line).name, LatitudeText(),
                                   LongitudeText()};
    }
    // The search field no longer names the birthplace: the list does.
    Edit4->ShowPlace(QString());
}

void TForm1::ForgetPickedPlaceName() {
    if (fillingFields_)
        return;
    // The place's name goes with the coordinates its pick wrote, as the
    // print and the person file name it; the hint names the place near.
    if (!picked_ || LatitudeText() != picked_->latitudeText ||
        LongitudeText() != picked_->longitudeText)
        Edit4->ShowPlace(QString());
}

void TForm1::SetBirthTime(const QTime& time) {
    const bool seconds = time.second() != 0;
    DateTimePicker2->setDisplayFormat(seconds ? QStringLiteral("HH:mm:ss")
                                              : QStringLiteral("HH:mm"));
    // The designed 57 pixels hold the seconds only without the arrows; the
    // keys and the wheel still change the time.
    DateTimePicker2->setButtonSymbols(seconds ? QAbstractSpinBox::NoButtons
                                              : QAbstractSpinBox::UpDownArrows);
    DateTimePicker2->setTime(QTime(time.hour(), time.minute(), time.second()));
}

void TForm1::Edit4PlacePicked(const AtlasPlace& place) {
    RunHandler([this, &place] {
        {
            // The list no longer names the birthplace; leaving it is no
            // pick of its own, so its handlers do not refill the fields.
            const QSignalBlocker quiet(ComboBox1);
            ComboBox1->setCurrentIndex(-1);
        }
        fillingFields_ = true;
        Edit2->setText(Utf8(CoordinateFieldText(place.latitude)));
        Edit3->setText(Utf8(CoordinateFieldText(place.longitude)));
        fillingFields_ = false;
        picked_ = PickedBirthplace{PickedPlaceOfAtlasPlace(place), PlaceFullName(place),
                                   LatitudeText(), LongitudeText()};
        UpdateBirthplaceZoneHint();
    });
}

void TForm1::SetAtlasSource(std::function<const AtlasLoad&()> source) {
    atlasSource_ = std::move(source);
}

// Typed coordinates that no pick explains: the atlas is loaded now, if it
// was not yet; without one there is nothing to search either.
const WorldAtlas* TForm1::AtlasForHint() {
    const AtlasLoad& load = atlasSource_();
    if (load.atlas == nullptr)
        Edit4->hide();
    return load.atlas.get();
}

void TForm1::UpdateZoneWarning() {
    const std::optional<std::string> warning =
        mismatchedReportHours_
            ? ReportZoneWarning(*mismatchedReportHours_, CSpinEdit1->value(), hint_)
            : std::nullopt;
    if (!warning) {
        Label14->clear();
        Label14->hide();
        return;
    }
    Label14->setText(Utf8(*warning));
    Label14->setToolTip(Utf8(*warning));
    Label14->show();
}

// With the check listings the four report lines come after some sixty lines
// and the area has no scroll bars: it is scrolled to its end, and back up
// as far as the first report line if the lines do not all fit.
void TForm1::ShowReportLinesInView() {
    if (reportLines_.empty())
        return;
    QTextDocument* document = RichEdit1->document();
    QTextCursor end(document);
    end.movePosition(QTextCursor::End);
    RichEdit1->setTextCursor(end);
    RichEdit1->ensureCursorVisible();
    const QTextBlock firstReportLine = document->findBlockByNumber(
        static_cast<int>(document->blockCount()) - static_cast<int>(reportLines_.size()));
    if (!firstReportLine.isValid())
        return;
    const QRect top = RichEdit1->cursorRect(QTextCursor(firstReportLine));
    if (top.top() < 0) {
        QScrollBar* bar = RichEdit1->verticalScrollBar();
        bar->setValue(std::max(bar->minimum(), bar->value() + top.top()));
    }
}

BirthData TForm1::CalculationInputs() const {
    BirthData birth;
    birth.name = InputsPersonName(); // while the inputs are a saved person's
    birth.date = DateTimePicker1->date().toString(QStringLiteral("dd.MM.yyyy")).toStdString();
    birth.time = ClockText(DateTimePicker2->time()).toStdString();
    birth.latitude = LatitudeText();
    birth.longitude = LongitudeText();
    // The picked place's name only while the fields still hold its
    // coordinates as the pick wrote them.
    if (picked_ && birth.latitude == picked_->latitudeText &&
        birth.longitude == picked_->longitudeText) {
        birth.place = picked_->printedName;
    }
    birth.zoneHours = CSpinEdit1->value();
    birth.computerOffsetSeconds = computerOffsetSeconds_;
    birth.birthplaceOffset = hint_.text;
    birth.female = RadioButton2->isChecked();
    return birth;
}

void TForm1::keyPressEvent(QKeyEvent* event) {
    if (event->key() != Qt::Key_Return && event->key() != Qt::Key_Enter) {
        QWidget::keyPressEvent(event);
        return;
    }
    // A button or a field that did not take the key itself passes it here.
    QWidget* focus = focusWidget();
    if (auto* button = qobject_cast<QPushButton*>(focus);
        button != nullptr && button->isEnabled() && button->isVisible()) {
        button->click();
        return;
    }
    if (focus == Edit1 || focus == Edit2 || focus == Edit3 || focus == CSpinEdit1 ||
        (focus != nullptr && focus->parentWidget() == CSpinEdit1)) {
        Button1->click();
        return;
    }
    QWidget::keyPressEvent(event);
}

} // namespace toravel

// ------------------------------------- person file and month calendar (added)

namespace toravel {

// Both buttons stand beside «Выход», in the free space before Label6, and
// follow the designed controls in the keyboard order.
void TForm1::CreatePersonAndMonthControls() {
    PeopleButton =
        MakeButton(this, "PeopleButton", QStringLiteral("Картотека"), {150, 472, 120, 33});
    PeopleButton->setToolTip(QStringLiteral("Сохранённые люди: открыть, сохранить, удалить"));
    MonthCalendarButton = MakeButton(this, "MonthCalendarButton",
                                     QStringLiteral("Лунный календарь"), {276, 472, 120, 33});
    MonthCalendarButton->setToolTip(
        QStringLiteral("Лунные дни месяца для места рождения, указанного в окне"));
    QWidget::setTabOrder(RadioButton2, PeopleButton);
    QWidget::setTabOrder(PeopleButton, MonthCalendarButton);
    connect(PeopleButton, &QPushButton::clicked, this, [this] { PeopleButtonClick(); });
    connect(MonthCalendarButton, &QPushButton::clicked, this,
            [this] { MonthCalendarButtonClick(); });
}

void TForm1::PeopleButtonClick() {
    RunHandler([this] {
        std::optional<PersonFile> file = OpenPersonFileAsking(PersonFilePath());
        if (!file)
            return;
        std::optional<Person> chosen;
        {
            PersonListDialog dialog(*file, *this, this);
            dialog.exec();
            chosen = dialog.ChosenPerson();
        }
        file.reset(); // closed before the calculation keeps its result
        if (chosen)
            OpenPerson(*chosen);
    });
}

void TForm1::MonthCalendarButtonClick() {
    RunHandler([this] {
        std::optional<PickedPlace> picked;
        if (picked_)
            picked = picked_->place;
        const MonthPlaceChoice choice = ChooseMonthPlace(
            LatitudeText(), LongitudeText(), picked, [this] { return AtlasForHint(); },
            CSpinEdit1->value(), computerOffsetSeconds_);
        if (!choice.place) {
            Presenter().ShowMessage(Utf8(choice.missing));
            return;
        }
        if (monthWindow_ == nullptr)
            monthWindow_ = new MonthWindow(calendarDays_, this);
        try {
            monthWindow_->ShowPlace(*choice.place);
        } catch (const LunarMonthError& error) {
            Presenter().ShowMessage(Utf8(error.what()));
            return;
        }
        monthWindow_->show();
        monthWindow_->raise();
        monthWindow_->activateWindow();
    });
}

BirthInputs TForm1::CurrentInputs() const {
    BirthInputs inputs;
    inputs.date = DateTimePicker1->date().toString(QStringLiteral("dd.MM.yyyy")).toStdString();
    inputs.time = ClockText(DateTimePicker2->time()).toStdString();
    inputs.lunarDayText = LunarDayFieldText();
    inputs.zoneHours = CSpinEdit1->value();
    inputs.latitudeText = LatitudeText();
    inputs.longitudeText = LongitudeText();
    // The picked place's name and zone only while the fields hold its
    // coordinates as the pick wrote them.
    if (picked_ && inputs.latitudeText == picked_->latitudeText &&
        inputs.longitudeText == picked_->longitudeText) {
        inputs.placeName = picked_->printedName;
        inputs.zoneName = picked_->place.zone;
    } else {
        // Typed coordinates are kept with the atlas place near them, named
        // with its distance, so that a saved person's place says something.
        inputs.placeName = nearestPlaceName_;
    }
    inputs.female = RadioButton2->isChecked();
    return inputs;
}

void TForm1::SetInputs(const BirthInputs& inputs) {
    const QDate date = QDate::fromString(Utf8(inputs.date), QStringLiteral("dd.MM.yyyy"));
    const QTime time =
        QTime::fromString(Utf8(inputs.time), inputs.time.size() > 5 ? QStringLiteral("HH:mm:ss")
                                                                    : QStringLiteral("HH:mm"));
    if (date.isValid())
        DateTimePicker1->setDate(date);
    if (time.isValid())
        SetBirthTime(time);
    Edit1->setText(Utf8(inputs.lunarDayText));
    CSpinEdit1->setValue(inputs.zoneHours);

    // The list's city of that name, if its line gives the same coordinates;
    // otherwise no city, and the coordinates as typed.
    int city = -1;
    const auto wanted = FieldCoordinates(inputs.latitudeText, inputs.longitudeText);
    for (int i = 0; wanted && !inputs.placeName.empty() && i < ComboBox1->count(); ++i) {
        const std::string line = ComboBox1->itemText(i).toStdString();
        if (CityIdentityOfLine(line).name != inputs.placeName)
            continue;
        const CityCoordinateTexts listed = ::toravel::ApplyCityLine(line);
        const auto point = FieldCoordinates(listed.latitude, listed.longitude);
        if (point && point->latitude == wanted->latitude && point->longitude == wanted->longitude) {
            city = i;
            break;
        }
    }
    if (city >= 0) {
        ComboBox1->setCurrentIndex(city);
        FillFieldsFromCityLine();
    } else {
        {
            const QSignalBlocker quiet(ComboBox1);
            ComboBox1->setCurrentIndex(-1);
        }
        fillingFields_ = true;
        Edit2->setText(Utf8(inputs.latitudeText));
        Edit3->setText(Utf8(inputs.longitudeText));
        fillingFields_ = false;
        // A place of the atlas, or one the city list no longer has, is
        // still the birthplace of the zone hint, and the search field names
        // it.
        picked_.reset();
        if (wanted && !inputs.placeName.empty()) {
            picked_ = PickedBirthplace{PickedPlace{inputs.placeName, *wanted, inputs.zoneName},
                                       inputs.placeName, LatitudeText(), LongitudeText()};
        }
        Edit4->ShowPlace(picked_ ? Utf8(inputs.placeName) : QString());
    }
    RadioButton2->setChecked(inputs.female);
    RadioButton1->setChecked(!inputs.female);
    UpdateBirthplaceZoneHint();
}

void TForm1::OpenPerson(const Person& person) {
    bool filled = false;
    RunHandler([this, &person, &filled] {
        const InputsOfPersonResult opened = InputsOfPerson(person, computerOffsetSeconds_);
        SetInputs(opened.inputs);
        inputsPerson_.reset();
        if (!person.name.empty())
            inputsPerson_ =
                PersonOfInputs(CurrentInputs(), person.name, computerOffsetSeconds_).person;
        filled = true;
        if (!opened.note.empty())
            Presenter().ShowMessage(Utf8(opened.note));
    });
    if (filled)
        Button1Click();
}

void TForm1::RememberCalculation() {
    RunHandler([this] {
        const std::string name = inputsPerson_ ? inputsPerson_->name : std::string();
        PersonOfInputsResult made = PersonOfInputs(CurrentInputs(), name, computerOffsetSeconds_);
        calculatedPersonName_.clear();
        if (!made.person) {
            lastCalculation_.reset();
            return;
        }
        Person calculated = std::move(*made.person);
        const CalculationState& state = SharedCalculationState();
        calculated.lastResult = LastResult{state.LunarDay,    state.DayWorld,   state.LunarWorld,
                                           state.PeriodWorld, state.CircleName, {}};
        const bool ofPerson = inputsPerson_ && SameCalculationInputs(calculated, *inputsPerson_);
        if (!ofPerson)
            calculated.name.clear();
        calculatedPersonName_ = calculated.name;
        lastCalculation_ = calculated;
        if (!ofPerson)
            return;
        // Kept with the person; a file that may only be read keeps nothing
        // and says so, every other failure is shown as an error.
        try {
            PersonFile file(PersonFilePath());
            file.RecordResult(calculated.name, *calculated.lastResult);
        } catch (const PersonFileError& error) {
            if (error.Problem() != PersonFileProblem::ReadOnly)
                throw;
            Presenter().ShowMessage(QStringLiteral("Результат расчёта не сохранён в картотеке: ") +
                                    Utf8(error.what()));
        }
    });
}

PersonOfInputsResult TForm1::InputsAsPerson(std::string_view name) const {
    return PersonOfInputs(CurrentInputs(), name, computerOffsetSeconds_);
}

std::string TForm1::InputsPersonName() const {
    if (!inputsPerson_)
        return {};
    const PersonOfInputsResult now = InputsAsPerson(inputsPerson_->name);
    return now.person && SameCalculationInputs(*now.person, *inputsPerson_) ? inputsPerson_->name
                                                                            : std::string();
}

std::optional<Person> TForm1::LastCalculation() const {
    return lastCalculation_;
}

void TForm1::InputsSavedAs(const Person& person) {
    inputsPerson_ = person;
    // A calculation of these very inputs is now the person's.
    if (lastCalculation_ && SameCalculationInputs(*lastCalculation_, person)) {
        lastCalculation_->name = person.name;
        calculatedPersonName_ = person.name;
    }
}

std::optional<PersonListHost::ZoneDisagreement> TForm1::InputsZoneDisagreement() const {
    const std::optional<std::string> warning = ZoneMismatchWarning(CSpinEdit1->value(), hint_);
    if (!warning)
        return std::nullopt;
    return ZoneDisagreement{*warning, hint_.text, hintSpinValue_};
}

void TForm1::SubstituteHintValue() {
    Button7Click();
}

void TForm1::PersonRemoved(std::string_view name) {
    if (inputsPerson_ && inputsPerson_->name == name)
        inputsPerson_.reset();
    if (lastCalculation_ && lastCalculation_->name == name)
        lastCalculation_->name.clear();
}

} // namespace toravel
