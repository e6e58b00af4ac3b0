// The main window's caption as the window manager receives it on X11: the
// designed caption alone, where Qt appended the application's display name
// («… в Мире Прави — Торавель»). Runs on Qt's xcb platform inside a virtual
// X server (xvfb-run); xprop reads the title back.
#include <QApplication>
#include <QProcess>
#include <QTest>

#include "app/Unit1.h"
#include "app/application_setup.h"

class WindowTitleTest : public QObject {
    Q_OBJECT

private slots:
    void captionIsTheDesignedOneAlone();
};

void WindowTitleTest::captionIsTheDesignedOneAlone() {
    if (QGuiApplication::platformName() != QStringLiteral("xcb"))
        QSKIP("needs Qt's xcb platform (run under xvfb-run)");
    toravel::NameApplication(); // as start-up names it
    toravel::TForm1 window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QApplication::processEvents();
    QProcess xprop;
    xprop.start(QStringLiteral(TORAVEL_XPROP),
                {QStringLiteral("-id"), QString::number(window.winId()),
                 QStringLiteral("_NET_WM_NAME"), QStringLiteral("WM_CLASS")});
    QVERIFY(xprop.waitForFinished(10000));
    const QString properties = QString::fromUtf8(xprop.readAllStandardOutput());
    QVERIFY2(
        properties.contains(QStringLiteral(
            "_NET_WM_NAME(UTF8_STRING) = \"Составление Славянского гороскопа в Мире Прави\"\n")),
        qPrintable(properties));
    // The desktop still finds the application's entry, «Торавель», by its class.
    QVERIFY2(properties.contains(QStringLiteral("\"toravel\"")), qPrintable(properties));
}

QTEST_MAIN(WindowTitleTest)
#include "window_title_test.moc"
