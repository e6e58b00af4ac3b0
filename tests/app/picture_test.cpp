// The picture buttons and the picture window: the field each button shows
// (the amulet by the person's sex), the page size, the caption, Esc, the
// pictures that are missing or damaged, closing the main window while
// the picture is open, and a page larger than the screen. Runs on a screen
// that holds an A4 page and on a 1280 × 800 one.
#include <QDateEdit>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include "lunar/calculation_state.h"
#include "pictures/jpeg_decoder.h"
#include "storage/database.h"
#include "storage/database_file.h"
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
    void placement_data();
    void placement();
    void pageLargerThanTheScreenIsScaledToFit();
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
    // Where the screen holds the page, exactly as designed (the small
    // screen's run checks the scaled page below).
    const QRect available = picture.screen()->availableGeometry();
    if (page.width() + 8 <= available.width() && page.height() + 27 <= available.height()) {
        // (27 and 8: the frame assumed until the window manager shows its own.)
        QCOMPARE(picture.size(), page); // the client area is the page
        QCOMPARE(picture.QuickRep1->geometry(), QRect(QPoint(0, 0), page));
        // The picture fills the page inside its 1 mm margins, stretched.
        QCOMPARE(picture.QRImage1->geometry(), QRect(4, 4, page.width() - 8, page.height() - 8));
        QCOMPARE(picture.pos(), QPoint(229, 108));
    }
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

void PictureTest::placement_data() {
    QTest::addColumn<QSize>("page");
    QTest::addColumn<QRect>("available");
    QTest::addColumn<QPoint>("wanted");
    QTest::addColumn<QPoint>("frameTopLeft");
    QTest::addColumn<QSize>("clientSize");
    const QSize a4(794, 1123);
    const QSize a5(559, 794);
    // The frame: 4 pixels around, a caption of 19 (27 pixels high in all).
    QTest::newRow("A5 on 1920 × 1080 with a panel: as designed")
        << a5 << QRect(0, 0, 1920, 1040) << QPoint(229, 108) << QPoint(229, 108) << a5;
    QTest::newRow("A4 on 1280 × 800: scaled to the height, at the top")
        << a4 << QRect(0, 0, 1280, 800) << QPoint(229, 108) << QPoint(229, 0) << QSize(546, 773);
    QTest::newRow("A5 on 1280 × 800 less a panel of 32")
        << a5 << QRect(0, 32, 1280, 768) << QPoint(229, 108) << QPoint(229, 32) << QSize(521, 741);
    QTest::newRow("A4 on 1366 × 768 with a side panel of 64")
        << a4 << QRect(64, 0, 1302, 768) << QPoint(229, 108) << QPoint(229, 0) << QSize(523, 741);
    QTest::newRow("A5 fits but not where it was left: moved in")
        << a5 << QRect(0, 0, 1280, 1024) << QPoint(1000, 500) << QPoint(1280 - 567, 1024 - 821)
        << a5;
    QTest::newRow("A4 on a narrow portrait screen: scaled to the width")
        << a4 << QRect(0, 0, 600, 1920) << QPoint(229, 108) << QPoint(0, 108) << QSize(592, 837);
}

void PictureTest::placement() {
    QFETCH(QSize, page);
    QFETCH(QRect, available);
    QFETCH(QPoint, wanted);
    QFETCH(QPoint, frameTopLeft);
    QFETCH(QSize, clientSize);
    const PictureWindowPlacement placement =
        PlacePictureWindow({page.width(), page.height()}, wanted, available, QMargins(4, 23, 4, 4));
    QCOMPARE(placement.frameTopLeft, frameTopLeft);
    QCOMPARE(placement.clientSize, clientSize);
    const QRect outer(placement.frameTopLeft, placement.clientSize.grownBy(QMargins(0, 0, 8, 27)));
    QVERIFY(available.contains(outer));
}

// On this run's screen: the whole window inside the screen's free area, the
// page with its proportions, and the picture inside the page's margins. On
// the 1280 × 800 screen neither page fits as designed.
void PictureTest::pageLargerThanTheScreenIsScaledToFit() {
    RecordingPresenter presenter;
    CalculatedWindows windows;
    TForm2& picture = windows.pictureWindow;
    const QRect available = picture.screen()->availableGeometry();
    for (QPushButton* button : {windows.mainWindow.Button3, windows.mainWindow.Button6}) {
        button->click();
        QVERIFY(picture.isVisible());
        const PagePixels designed = PagePixelsOf(picture.Paper());
        const QRect outer = picture.frameGeometry();
        QVERIFY2(available.contains(outer), qPrintable(QStringLiteral("%1,%2 %3x%4")
                                                           .arg(outer.x())
                                                           .arg(outer.y())
                                                           .arg(outer.width())
                                                           .arg(outer.height())));
        const QRect page = picture.QuickRep1->geometry();
        QVERIFY(QRect(QPoint(0, 0), picture.size()).contains(page));
        QVERIFY(qAbs(double(page.width()) / page.height() -
                     double(designed.width) / designed.height) < 0.01);
        QVERIFY(QRect(QPoint(0, 0), page.size()).contains(picture.QRImage1->geometry()));
        if (available.height() < designed.height)
            QVERIFY(page.height() < designed.height);

        // The user makes it larger: the page grows with the window.
        picture.resize(picture.width() + 100, picture.height() + 100);
        QVERIFY(picture.QuickRep1->height() > page.height());
    }
    QVERIFY(presenter.errors.isEmpty());
    QTest::keyClick(&picture, Qt::Key_Escape);
    QVERIFY(!picture.isVisible());
}

QTEST_MAIN(PictureTest)
#include "picture_test.moc"
