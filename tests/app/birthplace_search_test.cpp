// The birthplace search field and the zone hint that follows the
// coordinates actually in the fields: typing shows the atlas's places, the
// keyboard picks one, the pick fills the fields, and the hint and the red
// warning after "расчет" follow whatever the fields hold. Runs on a computer
// in Moscow (TZ=Europe/Moscow) with Debian's world atlas.
#include <QAbstractItemView>
#include <QCompleter>
#include <QDate>
#include <QDateEdit>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>

#include "app/birthplace_search_field.h"
#include "tests/app/window_fixture.h"

using namespace toravel;
using namespace toravel::testing;

namespace {

// Types text as the keyboard does, letter by letter (QTest's own typing
// knows only Latin-1), the events that follow each key handled between keys
// as a user's pace allows (the popup lays out its lines in one of them).
void Type(QWidget* widget, const QString& text) {
    for (const QChar letter : text) {
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(letter));
        QApplication::sendEvent(widget, &press);
        QKeyEvent release(QEvent::KeyRelease, 0, Qt::NoModifier, QString(letter));
        QApplication::sendEvent(widget, &release);
        QCoreApplication::processEvents();
    }
}

// Replaces a field's text by typing, as a user does after selecting it all.
void Retype(QLineEdit* field, const QString& text) {
    field->selectAll();
    QTest::keyClick(field, Qt::Key_Delete);
    Type(field, text);
}

QAbstractItemView* Popup(const TForm1& window) {
    return window.Edit4->Completer()->popup();
}

// Shown, with the birth moment of the summer of 1990.
struct ShownWindows : StartedWindows {
    ShownWindows() {
        mainWindow.DateTimePicker1->setDate(QDate(1990, 7, 17));
        mainWindow.show();
        mainWindow.activateWindow();
    }
};

} // namespace

class BirthplaceSearchTest : public QObject {
    Q_OBJECT

private slots:
    void enterPicksTheHighlightedPlace();
    void arrowsChooseAnotherPlace();
    void textsThatFindNothing_data();
    void textsThatFindNothing();
    void typedCoordinatesGiveTheNearestPlace();
    void cityPickedThenOtherCoordinatesTyped();
    void openSeaHasTheNauticalTime();
    void warningStandsUntilAReportOfTheHintsValue();
    void printTakesThePlaceAndHintOfTheCalculation();
    void atlasIsLoadedOnlyWhenNeeded();
    void withoutAtlasTheSearchFieldHides();
};

void BirthplaceSearchTest::enterPicksTheHighlightedPlace() {
    RecordingPresenter presenter;
    ShownWindows windows;
    TForm1& w = windows.mainWindow;
    QCOMPARE(w.Edit4->geometry(), QRect(465, 120, 177, 22));
    QVERIFY(!w.Edit4->placeholderText().isEmpty());
    QVERIFY(PickCity(w, QStringLiteral("Рига")));
    w.Edit4->setFocus();
    Type(w.Edit4, QStringLiteral("кинеш"));
    QVERIFY(Popup(w)->isVisible());
    QVERIFY(Popup(w)->width() > w.Edit4->width()); // the places' lines fit
    QCOMPARE(Popup(w)->model()->index(0, 0).data().toString(),
             QStringLiteral("Кинешма — Ивановская область, Россия"));
    QCOMPARE(w.Edit2->text(), QStringLiteral("56,9460")); // typing picks nothing
    QTest::keyClick(Popup(w), Qt::Key_Return);

    QVERIFY(!Popup(w)->isVisible());
    QCOMPARE(w.Edit4->text(), QStringLiteral("Кинешма — Ивановская область, Россия"));
    // The coordinates as typed values stand in the fields, GeoNames' 57.43914
    // and 42.12894 to four decimals.
    QCOMPARE(w.Edit2->text(), QStringLiteral("57,4391"));
    QCOMPARE(w.Edit3->text(), QStringLiteral("42,1289"));
    QCOMPARE(w.ComboBox1->currentIndex(), -1); // the list no longer names Riga
    // Kineshma keeps Moscow time: 4 hours in summer 1990, the computer 3.
    QVERIFY2(w.Label13->text().startsWith(QStringLiteral("в месте рождения UTC+4:00")),
             qPrintable(w.Label13->text()));
    QVERIFY2(w.Label13->text().endsWith(QStringLiteral("укажите 1")),
             qPrintable(w.Label13->text()));
    QVERIFY(w.Button7->isVisible() && w.Button7->isEnabled());
    QCOMPARE(w.CSpinEdit1->value(), 0); // Enter picked, it did not calculate
    QVERIFY(w.RichEdit1->document()->isEmpty());
    QCOMPARE(presenter.errors, QStringList());
}

void BirthplaceSearchTest::arrowsChooseAnotherPlace() {
    RecordingPresenter presenter;
    ShownWindows windows;
    TForm1& w = windows.mainWindow;
    w.Edit4->setFocus();
    Type(w.Edit4, QStringLiteral("Моск"));
    QVERIFY(w.Edit4->Matches().size() >= 2);
    const int before = Popup(w)->currentIndex().row(); // -1 when none is highlighted
    QTest::keyClick(Popup(w), Qt::Key_Down);
    QTest::keyClick(Popup(w), Qt::Key_Down);
    QTest::keyClick(Popup(w), Qt::Key_Up);
    QCOMPARE(Popup(w)->currentIndex().row(), before + 1);
    QTest::keyClick(Popup(w), Qt::Key_Enter);
    const AtlasPlace& chosen = *w.Edit4->Matches().at(static_cast<std::size_t>(before + 1));
    QCOMPARE(w.Edit2->text().toStdString(), CoordinateFieldText(chosen.latitude));
    QCOMPARE(w.Edit3->text().toStdString(), CoordinateFieldText(chosen.longitude));
    QCOMPARE(w.Edit4->text().toStdString(), PlaceLabel(chosen));
}

void BirthplaceSearchTest::textsThatFindNothing_data() {
    QTest::addColumn<QString>("text");
    QTest::newRow("blanks only") << QStringLiteral("   ");
    QTest::newRow("no such place") << QStringLiteral("Щщщъ");
    QTest::newRow("longer than the field takes") << QString(1000, QLatin1Char('a'));
    QTest::newRow("a lone surrogate") << QString(QChar(0xD800));
}

void BirthplaceSearchTest::textsThatFindNothing() {
    QFETCH(QString, text);
    RecordingPresenter presenter;
    ShownWindows windows;
    TForm1& w = windows.mainWindow;
    w.Edit4->setFocus();
    Type(w.Edit4, text);
    QVERIFY(!Popup(w)->isVisible());
    QTest::keyClick(w.Edit4, Qt::Key_Return);
    QCOMPARE(w.Edit2->text(), QString());
    QVERIFY(w.Edit4->isVisible());
    QCOMPARE(presenter.errors, QStringList());
    QCOMPARE(presenter.messages, QStringList());
}

void BirthplaceSearchTest::typedCoordinatesGiveTheNearestPlace() {
    RecordingPresenter presenter;
    ShownWindows windows;
    TForm1& w = windows.mainWindow;
    w.Edit2->setFocus();
    Type(w.Edit2, QStringLiteral("55,03"));
    w.Edit3->setFocus();
    Type(w.Edit3, QStringLiteral("82,92"));
    QVERIFY2(w.Label13->text().startsWith(QStringLiteral("ближайшее место атласа — Новосибирск, ")),
             qPrintable(w.Label13->text()));
    QVERIFY2(w.Label13->text().contains(QStringLiteral(" км: UTC+")),
             qPrintable(w.Label13->text()));
    QVERIFY(w.Button7->isVisible() && w.Button7->isEnabled());
    QCOMPARE(presenter.errors, QStringList());
}

// Riga picked from the list, then Novosibirsk's coordinates typed over it:
// the hint is Novosibirsk's, not Riga's any more.
void BirthplaceSearchTest::cityPickedThenOtherCoordinatesTyped() {
    RecordingPresenter presenter;
    ShownWindows windows;
    TForm1& w = windows.mainWindow;
    QVERIFY(PickCity(w, QStringLiteral("Рига")));
    QVERIFY2(w.Label13->text().startsWith(QStringLiteral("в месте рождения UTC+3:00")),
             qPrintable(w.Label13->text()));
    QVERIFY2(w.Label13->text().endsWith(QStringLiteral("укажите 0")),
             qPrintable(w.Label13->text()));

    Retype(w.Edit2, QStringLiteral("55,03"));
    Retype(w.Edit3, QStringLiteral("82,92"));
    QVERIFY2(w.Label13->text().contains(QStringLiteral("Новосибирск")),
             qPrintable(w.Label13->text()));
    QVERIFY(!w.Label13->text().endsWith(QStringLiteral("укажите 0")));
    w.Button7->click();
    QVERIFY(w.CSpinEdit1->value() >= 3); // Novosibirsk lies four hours east of Moscow

    // Riga's coordinates typed back: Riga's hint again.
    Retype(w.Edit2, QStringLiteral("56,946"));
    Retype(w.Edit3, QStringLiteral("24,1059"));
    QVERIFY2(w.Label13->text().startsWith(QStringLiteral("в месте рождения UTC+3:00")),
             qPrintable(w.Label13->text()));
}

// A birth at sea got no guidance and kept whatever the spin box held: the
// hint now gives the nautical time of the longitude and the value for it.
// The search field kept the atlas place the coordinates were typed over.
void BirthplaceSearchTest::openSeaHasTheNauticalTime() {
    RecordingPresenter presenter;
    ShownWindows windows;
    TForm1& w = windows.mainWindow;
    w.Edit4->setFocus();
    Type(w.Edit4, QStringLiteral("Кинешма"));
    QTest::keyClick(w.Edit4, Qt::Key_Return);
    QCOMPARE(w.Edit4->text(), QStringLiteral("Кинешма — Ивановская область, Россия"));
    QVERIFY(w.Button7->isVisible());
    Retype(w.Edit2, QStringLiteral("0"));
    QCOMPARE(w.Edit4->text(), QString());
    Retype(w.Edit3, QStringLiteral("-30"));
    QCOMPARE(w.Label13->text(),
             QStringLiteral("в открытом море — поясное время по долготе: UTC-2; для расчёта "
                            "укажите -5"));
    QVERIFY(w.Button7->isVisible() && w.Button7->isEnabled());
    w.Button1Click();
    QCOMPARE(w.Label14->text(), QStringLiteral("указано 0, а по поясному времени нужно -5"));
    w.Button7->click();
    QCOMPARE(w.CSpinEdit1->value(), -5);
    QCOMPARE(Utf8(w.CurrentInputs().placeName), QString()); // no place to keep
    // A city of the list: the list names it, the search field nothing.
    QVERIFY(PickCity(w, QStringLiteral("Рига")));
    QCOMPARE(w.Edit4->text(), QString());
    QCOMPARE(Utf8(w.CurrentInputs().placeName), QStringLiteral("Рига"));
    // Texts that are no numbers: no hint, and no error before "расчет".
    Retype(w.Edit2, QStringLiteral("abc"));
    QCOMPARE(w.Label13->text(), QString());
    QVERIFY(!w.Button7->isVisible());
    QCOMPARE(presenter.errors, QStringList());
}

// «подставить» hid the red line while the report on screen stayed the old
// value's, and a calculation that failed raised it all the same.
void BirthplaceSearchTest::warningStandsUntilAReportOfTheHintsValue() {
    RecordingPresenter presenter;
    ShownWindows windows;
    TForm1& w = windows.mainWindow;
    QVERIFY(PickCity(w, QStringLiteral("Москва")));
    w.CSpinEdit1->setValue(3);
    QVERIFY(!w.Label14->isVisible());       // no warning before "расчет"
    w.Edit1->setText(QStringLiteral("7 ")); // no integer: the command fails
    w.Button1Click();
    QCOMPARE(presenter.errors.size(), 1);
    QVERIFY(!w.Label14->isVisible());
    w.Edit1->clear();

    w.Button1Click();
    QVERIFY(w.Label14->isVisible());
    QCOMPARE(w.Label14->text(), QStringLiteral("указано 3, а по базе часовых поясов нужно 1"));
    QCOMPARE(w.Label14->palette().color(QPalette::WindowText), QColor(255, 0, 0));
    QVERIFY(w.Label14->geometry().bottom() < w.RichEdit1->geometry().top());

    w.CSpinEdit1->setValue(2);
    QCOMPARE(w.Label14->text(), QStringLiteral("указано 2, а по базе часовых поясов нужно 1"));
    const QString report = w.RichEdit1->toPlainText();
    w.Button7->click();
    QCOMPARE(w.CSpinEdit1->value(), 1);
    QVERIFY(w.Label14->isVisible());
    QCOMPARE(w.Label14->text(), QStringLiteral("отчёт рассчитан с 3, а по базе часовых поясов "
                                               "нужно 1; «расчет» даст результат для 1"));
    QCOMPARE(w.RichEdit1->toPlainText(), report); // the report itself is not touched
    w.Button1Click();
    QVERIFY(!w.Label14->isVisible());
    w.CSpinEdit1->setValue(3); // the report is right: the field waits for "расчет"
    QVERIFY(!w.Label14->isVisible());
    w.CSpinEdit1->setValue(1);

    // Another date, another offset: the warning comes with the next
    // "расчет" and stands until a report of the right value.
    w.DateTimePicker1->setDate(QDate(1990, 1, 17));
    QVERIFY(!w.Label14->isVisible());
    w.Button1Click();
    QCOMPARE(w.Label14->text(), QStringLiteral("указано 1, а по базе часовых поясов нужно 0"));
    w.CSpinEdit1->setValue(0);
    QVERIFY(w.Label14->isVisible());
    // A calculation that empties the report area lowers it.
    w.Edit1->setText(QStringLiteral("7 "));
    w.Button1Click();
    QVERIFY(w.RichEdit1->document()->isEmpty());
    QVERIFY(!w.Label14->isVisible());
    QCOMPARE(presenter.errors.size(), 2);
}

// The print states the atlas place and the hint that belonged to the
// calculated inputs, whatever the fields hold since.
void BirthplaceSearchTest::printTakesThePlaceAndHintOfTheCalculation() {
    RecordingPresenter presenter;
    ShownWindows windows;
    TForm1& w = windows.mainWindow;
    // Enter in the field itself, not in the popup: the first place found.
    w.Edit4->setFocus();
    Type(w.Edit4, QStringLiteral("Кинешма"));
    QTest::keyClick(w.Edit4, Qt::Key_Return);
    w.Button7->click();
    w.Button1Click();
    QCOMPARE(presenter.errors, QStringList());
    const BirthData calculated = w.CurrentReportDocument().birth;
    QCOMPARE(calculated.place, std::string("Кинешма, Ивановская область, Россия"));
    QCOMPARE(calculated.latitude, std::string("57,4391"));
    QCOMPARE(calculated.zoneHours, 1);
    QVERIFY(calculated.birthplaceOffset.starts_with("в месте рождения UTC+4:00"));

    Retype(w.Edit2, QStringLiteral("55,03"));
    Retype(w.Edit3, QStringLiteral("82,92"));
    const BirthData now = w.CalculationInputs();
    QCOMPARE(now.place, std::string()); // typed coordinates name no place
    QVERIFY(now.birthplaceOffset.starts_with("ближайшее место атласа — Новосибирск"));
    const BirthData printed = w.CurrentReportDocument().birth;
    QCOMPARE(printed.place, calculated.place);
    QCOMPARE(printed.birthplaceOffset, calculated.birthplaceOffset);
}

// Start-up, city picks and date changes never load the atlas; typed
// coordinates that no pick explains do.
void BirthplaceSearchTest::atlasIsLoadedOnlyWhenNeeded() {
    RecordingPresenter presenter;
    ResetTerminationRequest();
    int asked = 0;
    TForm1 w;
    w.SetAtlasSource([&asked]() -> const AtlasLoad& {
        ++asked;
        return SharedWorldAtlas();
    });
    {
        const WorkingDirectory inBuildRoot(BuildRoot());
        w.FormCreate();
    }
    QVERIFY(PickCity(w, QStringLiteral("Москва")));
    QVERIFY(PickCity(w, QStringLiteral("Рига")));
    w.DateTimePicker1->setDate(QDate(1990, 7, 17));
    QCOMPARE(asked, 0);
    Retype(w.Edit2, QStringLiteral("55,03"));
    QVERIFY(asked > 0);
}

void BirthplaceSearchTest::withoutAtlasTheSearchFieldHides() {
    RecordingPresenter presenter;
    static const AtlasLoad none{nullptr, "атлас мест недоступен: нет libgeonames.so.0", "", {}};
    ShownWindows windows;
    TForm1& w = windows.mainWindow;
    w.SetAtlasSource([]() -> const AtlasLoad& { return none; });
    w.Edit4->setFocus();
    Type(w.Edit4, QStringLiteral("К"));
    QVERIFY(!w.Edit4->isVisible());
    QCOMPARE(presenter.messages,
             QStringList{QStringLiteral("атлас мест недоступен: нет libgeonames.so.0")});

    // The rest of the window works: typed coordinates compute (without a
    // hint), a city of the list still gives its hint.
    Retype(w.Edit2, QStringLiteral("55,03"));
    Retype(w.Edit3, QStringLiteral("82,92"));
    QCOMPARE(w.Label13->text(), QString());
    w.Button1Click();
    QCOMPARE(presenter.errors, QStringList());
    QVERIFY(!w.RichEdit1->document()->isEmpty());
    QVERIFY(PickCity(w, QStringLiteral("Москва")));
    QVERIFY(w.Label13->text().startsWith(QStringLiteral("в месте рождения")));
}

QTEST_MAIN(BirthplaceSearchTest)
#include "birthplace_search_test.moc"
