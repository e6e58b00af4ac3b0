// The picture buttons and the picture window: the field each button shows
// (the amulet by the person's sex), the page size, the caption, Esc, the
// pictures that are missing or damaged, and closing the main window while
// the picture is open.
#include <QDateEdit>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include "lunar/calculation_state.h"
#include "platform/database.h"
#include "platform/database_file.h"
#include "platform/jpeg_decoder.h"
#include "tests/app/window_fixture.h"
#include "tools/build_database/database_builder.h"

using namespace toravel;
using namespace toravel::testing;

namespace {

// The picture of a field of the built database's first record, decoded.
QImage StoredPicture(const char* field) {
    const WorkingDirectory inBuildRoot(BuildRoot());
    DatabaseConnection connection(HoroscopeConnectionString);
    TableCursor table(connection);
    std::vector<unsigned char> bytes;
    table.CopyFieldBytes(field, bytes);
    const DecodedImage decoded = DecodeJpeg(bytes.data(), bytes.size());
    return QImage(decoded.rgb.data(), decoded.width, decoded.height, 3 * decoded.width,
                  QImage::Format_RGB888)
        .copy();
}

std::vector<unsigned char> Bytes(const QByteArray& bytes) {
    return std::vector<unsigned char>(bytes.begin(), bytes.end());
}

// Windows with the picture buttons enabled by a calculation.
struct CalculatedWindows : StartedWindows {
    explicit CalculatedWindows(const QString& directory = BuildRoot()) : StartedWindows(directory) {
        mainWindow.DateTimePicker1->setDate(QDate(1990, 5, 17));
        mainWindow.Edit2->setText(QStringLiteral("55,75"));
        mainWindow.Edit3->setText(QStringLiteral("37,62"));
        mainWindow.Edit1->setText(QStringLiteral("7"));
        mainWindow.Button1Click();
    }
};

} // namespace

class PictureTest : public QObject {
    Q_OBJECT

private slots:
    void buttons_data();
    void buttons();
    void amuletFollowsTheSex();
    void escHidesAndTheNextClickShowsAgain();
    void picturesLeaveTheReportAlone();
    void missingOrDamagedPictures();
    void closingTheMainWindowEndsTheApplication();
};

void PictureTest::buttons_data() {
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QSize>("page");
    const QSize a4(794, 1123);
    const QSize a5(559, 794);
    QTest::newRow("meaning of the period") << "Button3"
                                           << "рас"
                                           << "Значение периода" << a4;
    QTest::newRow("massage") << "Button4"
                             << "пмас"
                             << "Массаж" << a4;
    QTest::newRow("gymnastics") << "Button5"
                                << "гим"
                                << "Гимнастика" << a4;
    QTest::newRow("amulet for a man") << "Button6"
                                      << "моб"
                                      << "Оберег" << a5;
}

void PictureTest::buttons() {
    QFETCH(QString, button);
    QFETCH(QString, field);
    QFETCH(QString, caption);
    QFETCH(QSize, page);
    RecordingPresenter presenter;
    CalculatedWindows windows;
    auto* pictureButton = windows.mainWindow.findChild<QPushButton*>(button);
    QVERIFY(pictureButton->isEnabled());

    // After a page of the other size, so that the size really changes.
    windows.mainWindow.Button6->click();
    windows.mainWindow.Button5->click();
    pictureButton->click();

    QVERIFY2(presenter.errors.isEmpty(), qPrintable(presenter.errors.join('\n')));
    const TForm2& picture = windows.pictureWindow;
    QVERIFY(picture.isVisible());
    QCOMPARE(picture.windowTitle(), caption);
    QCOMPARE(picture.size(), page); // the client area is the page
    QCOMPARE(picture.QuickRep1->geometry(), QRect(QPoint(0, 0), page));
    // The picture fills the page inside its 1 mm margins, stretched.
    QCOMPARE(picture.QRImage1->geometry(), QRect(4, 4, page.width() - 8, page.height() - 8));
    QCOMPARE(picture.QRImage1->Picture(), StoredPicture(field.toUtf8().constData()));
    QCOMPARE(picture.toolTip(), QStringLiteral("по ESC можно закрыть рисунок"));
    QCOMPARE(picture.QRImage1->toolTip(), picture.toolTip());
    QVERIFY(!picture.windowFlags().testFlag(Qt::WindowMinimizeButtonHint));
    QVERIFY(!picture.windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
}

void PictureTest::amuletFollowsTheSex() {
    RecordingPresenter presenter;
    CalculatedWindows windows;
    TForm1& window = windows.mainWindow;

    window.RadioButton2->setChecked(true);
    window.Button6->click();
    QCOMPARE(windows.pictureWindow.QRImage1->Picture(), StoredPicture("жоб"));
    QCOMPARE(windows.pictureWindow.Paper(), PaperSize::A5);

    window.RadioButton1->setChecked(true);
    window.Button6->click();
    QCOMPARE(windows.pictureWindow.QRImage1->Picture(), StoredPicture("моб"));
    QVERIFY(StoredPicture("моб") != StoredPicture("жоб"));
    QVERIFY(presenter.errors.isEmpty());
}

void PictureTest::escHidesAndTheNextClickShowsAgain() {
    RecordingPresenter presenter;
    CalculatedWindows windows;
    TForm2& picture = windows.pictureWindow;
    windows.mainWindow.Button5->click();
    QVERIFY(picture.isVisible());

    QTest::keyClick(&picture, Qt::Key_A);
    QVERIFY(picture.isVisible());
    QTest::keyClick(&picture, Qt::Key_Escape);
    QVERIFY(!picture.isVisible());

    windows.mainWindow.Button3->click();
    QVERIFY(picture.isVisible());
    QCOMPARE(picture.windowTitle(), QStringLiteral("Значение периода"));
    QCOMPARE(picture.QRImage1->Picture(), StoredPicture("рас"));
}

void PictureTest::picturesLeaveTheReportAlone() {
    RecordingPresenter presenter;
    CalculatedWindows windows;
    const QVector<Paragraph> before = ParagraphsOf(*windows.mainWindow.RichEdit1);
    const CalculationState state = SharedCalculationState();
    windows.mainWindow.Button3->click();
    windows.mainWindow.Button6->click();
    const QVector<Paragraph> after = ParagraphsOf(*windows.mainWindow.RichEdit1);
    QCOMPARE(after.size(), before.size());
    for (qsizetype i = 0; i < after.size(); ++i)
        QCOMPARE(after[i].text, before[i].text);
    QCOMPARE(SharedCalculationState().LunarDay, state.LunarDay);
    QCOMPARE(SharedCalculationState().CircleName, state.CircleName);
    QCOMPARE(windows.mainWindow.Edit1->text(), QStringLiteral("7"));
}

void PictureTest::missingOrDamagedPictures() {
    // A database of our own: one record whose picture fields hold a real
    // picture, nothing, text, and a JPEG start followed by rubbish.
    QFile real(BuildRoot() + QStringLiteral("/db/bd.mdb"));
    QVERIFY(real.exists());
    QTemporaryDir directory;
    QVERIFY(QDir(directory.path()).mkpath(QStringLiteral("db")));
    QVERIFY(QFile::copy(BuildRoot() + QStringLiteral("/db/atlas.ini"),
                        directory.filePath(QStringLiteral("db/atlas.ini"))));
    {
        const QImage page = StoredPicture("рас");
        QFile stored(QStringLiteral(TORAVEL_SOURCE_ROOT "/data/pictures/ras.jpg"));
        QVERIFY(stored.open(QIODevice::ReadOnly));
        const std::vector<tools::CalendarRow> rows = {{5, 17, "b", "Первому"}};
        const std::vector<tools::Picture> pictures = {
            {"рас", Bytes(stored.readAll())},
            {"пмас", Bytes("no picture here")},
            {"моб", Bytes(QByteArray::fromHex("FFD8FFE0") + " rubbish")},
        };
        const std::vector<unsigned char> file =
            DatabaseFileOfImage(tools::BuildDatabaseImage(rows, pictures),
                                ParseConnectionString(HoroscopeConnectionString).password);
        QFile output(directory.filePath(QStringLiteral("db/bd.mdb")));
        QVERIFY(output.open(QIODevice::WriteOnly));
        QCOMPARE(output.write(reinterpret_cast<const char*>(file.data()),
                              static_cast<qint64>(file.size())),
                 static_cast<qint64>(file.size()));
    }

    RecordingPresenter presenter;
    CalculatedWindows windows(directory.path());
    TForm2& picture = windows.pictureWindow;
    QVERIFY2(presenter.errors.isEmpty(), qPrintable(presenter.errors.join('\n')));

    windows.mainWindow.Button4->click(); // text, no FF D8
    windows.mainWindow.Button5->click(); // empty field
    QCOMPARE(presenter.messages,
             QStringList({QStringLiteral("нет рисунка"), QStringLiteral("нет рисунка")}));
    QVERIFY(!picture.isVisible());

    windows.mainWindow.Button6->click(); // damaged JPEG: an error, no window
    QCOMPARE(presenter.errors.size(), 1);
    QVERIFY(!picture.isVisible());

    windows.mainWindow.Button3->click();
    QVERIFY(picture.isVisible());
    QCOMPARE(presenter.errors.size(), 1);
}

void PictureTest::closingTheMainWindowEndsTheApplication() {
    RecordingPresenter presenter;
    CalculatedWindows windows;
    windows.mainWindow.show();
    windows.mainWindow.Button5->click();
    QVERIFY(windows.pictureWindow.isVisible());

    // "Выход" pressed inside the event loop: the loop must end by itself,
    // the picture window still being open does not keep it going.
    QSignalSpy lastWindowClosed(qApp, &QGuiApplication::lastWindowClosed);
    bool timedOut = false;
    QTimer guard;
    guard.setSingleShot(true);
    connect(&guard, &QTimer::timeout, qApp, [&timedOut] {
        timedOut = true;
        QCoreApplication::quit();
    });
    guard.start(10000);
    QTimer::singleShot(0, windows.mainWindow.Button2, &QPushButton::click);
    QApplication::exec();
    QVERIFY2(!timedOut, "the application did not end");
    QVERIFY(!windows.mainWindow.isVisible());
    QVERIFY(!windows.pictureWindow.isVisible());
    QCOMPARE(lastWindowClosed.count(), 1);
}

QTEST_MAIN(PictureTest)
#include "picture_test.moc"
