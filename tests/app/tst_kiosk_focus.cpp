// The real program on an X server without a window manager, as in a kiosk session in
// the car, driven only by bus frames: it must take the input focus, the knob must move
// the focus mark on the screen, and the keep-in-front tick must win the focus back.
// Skipped where Xvfb is not installed.
#include "PtyPair.h"
#include "TestSupport.h"

#include <QDeadlineTimer>
#include <QImage>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <memory>

using namespace zarn;

namespace {

// The focus frame in the default scheme's clOrange ($000080FF).
const QRgb FocusColor = qRgb(0xFF, 0x80, 0x00);

struct DisplayCloser {
    void operator()(Display* d) const { XCloseDisplay(d); }
};

// The screen as the driver sees it.
QImage screenshot(Display* display)
{
    const Window root = DefaultRootWindow(display);
    XWindowAttributes attrs{};
    XGetWindowAttributes(display, root, &attrs);
    XImage* x = XGetImage(display, root, 0, 0, unsigned(attrs.width), unsigned(attrs.height), AllPlanes, ZPixmap);
    if (!x)
        return {};
    QImage image(attrs.width, attrs.height, QImage::Format_RGB32);
    for (int y = 0; y < attrs.height; ++y)
        for (int px = 0; px < attrs.width; ++px) {
            const unsigned long p = XGetPixel(x, px, y);
            image.setPixel(px, y, qRgb(int((p >> 16) & 0xFF), int((p >> 8) & 0xFF), int(p & 0xFF)));
        }
    XDestroyImage(x);
    return image;
}

// Where the focus frame is drawn; empty when it is nowhere.
QRect focusFrame(const QImage& image)
{
    QRect box;
    for (int y = 0; y < image.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x)
            if ((line[x] & 0xFFFFFF) == (FocusColor & 0xFFFFFF))
                box |= QRect(x, y, 1, 1);
    }
    return box;
}

Window inputFocus(Display* display)
{
    Window focus = None;
    int revert = 0;
    XGetInputFocus(display, &focus, &revert);
    return focus;
}

} // namespace

class TestKioskFocus : public QObject {
    Q_OBJECT

    QProcess xvfb_;
    QString display_;

private slots:
    void initTestCase()
    {
        const QString server = QStandardPaths::findExecutable(QStringLiteral("Xvfb"));
        if (server.isEmpty())
            QSKIP("Xvfb is not installed (scripts/setup.sh installs it)");
        // The server picks a free display and names it on the descriptor given.
        xvfb_.start(server, {QStringLiteral("-displayfd"), QStringLiteral("1"), QStringLiteral("-screen"), QStringLiteral("0"),
                             QStringLiteral("800x600x24"), QStringLiteral("-nolisten"), QStringLiteral("tcp")});
        QVERIFY(xvfb_.waitForStarted(5000));
        QDeadlineTimer deadline(20000);
        while (!xvfb_.canReadLine() && !deadline.hasExpired() && xvfb_.state() == QProcess::Running)
            xvfb_.waitForReadyRead(200);
        const QByteArray number = xvfb_.readLine().trimmed();
        QVERIFY2(!number.isEmpty(), "Xvfb named no display");
        display_ = QLatin1Char(':') + QString::fromLatin1(number);
    }

    void cleanupTestCase()
    {
        if (xvfb_.state() != QProcess::NotRunning) {
            xvfb_.terminate();
            xvfb_.waitForFinished(5000);
        }
    }

    void knobMovesTheVisibleMarkWithoutAWindowManager()
    {
        std::unique_ptr<Display, DisplayCloser> x(XOpenDisplay(display_.toLatin1().constData()));
        QVERIFY(x);
        const Window root = DefaultRootWindow(x.get());

        test::PtyPair car;
        QVERIFY(car.isOpen());
        QTemporaryDir home;
        // Private mode: a business start asks its question 8 s in and takes the focus to "A no".
        test::writeAll(home.filePath(QStringLiteral("Zarn.ini")),
                       "[COM-Port]\nDevicePath=" + car.slavePath().toUtf8() + "\n[Driverslog]\nrecord=0\n");
        QProcess zarn;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("DISPLAY"), display_);
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
        env.insert(QStringLiteral("ZARN_HOME"), home.path());
        env.insert(QStringLiteral("ZARN_STATUS_LOG"), home.filePath(QStringLiteral("status.log")));
        env.insert(QStringLiteral("SDL_AUDIODRIVER"), QStringLiteral("dummy"));
        env.insert(QStringLiteral("DBUS_SYSTEM_BUS_ADDRESS"), QStringLiteral("unix:path=/nonexistent/zarn-test"));
        zarn.setProcessEnvironment(env);
        zarn.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        zarn.start(test::binaryPath(QStringLiteral("zarn")), {QStringLiteral("/FORCESCREEN")});
        QVERIFY(zarn.waitForStarted(5000));
        const auto cleanup = qScopeGuard([&zarn] {
            zarn.terminate();
            if (!zarn.waitForFinished(10000))
                zarn.kill();
        });

        // The window is up and marks its first item, without anyone giving it the focus.
        QImage before;
        QRect frameBefore;
        QDeadlineTimer shown(20000);
        do {
            car.read(0); // the program's own frames
            before = screenshot(x.get());
            frameBefore = focusFrame(before);
        } while (frameBefore.isEmpty() && !shown.hasExpired() && (QTest::qWait(100), true));
        QVERIFY2(!frameBefore.isEmpty(), "no focus mark on the screen");
        QVERIFY2(inputFocus(x.get()) != root && inputFocus(x.get()) > PointerRoot,
                 "the window did not take the input focus");

        // One detent from the bus alone.
        QVERIFY(car.write(test::hexBytes(QStringLiteral("F0 04 3B 49 81 07"))));
        QImage after;
        QRect frameAfter;
        QDeadlineTimer moved(10000);
        do {
            after = screenshot(x.get());
            frameAfter = focusFrame(after);
        } while ((frameAfter == frameBefore || frameAfter.isEmpty()) && !moved.hasExpired() && (QTest::qWait(50), true));
        if (const QString keep = qEnvironmentVariable("ZARN_KEEP_SCREENSHOTS"); !keep.isEmpty()) {
            before.save(keep + QStringLiteral("/kiosk-before.png"));
            after.save(keep + QStringLiteral("/kiosk-after.png"));
        }
        QVERIFY2(!frameAfter.isEmpty() && frameAfter != frameBefore, "the knob moved no visible mark");
        QVERIFY(!frameAfter.intersects(frameBefore.adjusted(8, 8, -8, -8)));
        int changed = 0;
        for (int y = 0; y < before.height(); ++y)
            for (int px = 0; px < before.width(); ++px)
                changed += before.pixel(px, y) != after.pixel(px, y);
        QVERIFY2(changed > 1000, qPrintable(QString::number(changed)));

        // Another client takes the input focus; the keep-in-front tick (every 10 s) takes it back.
        XSetInputFocus(x.get(), PointerRoot, RevertToPointerRoot, CurrentTime);
        XSync(x.get(), False);
        QDeadlineTimer back(25000);
        while ((inputFocus(x.get()) == root || inputFocus(x.get()) <= PointerRoot) && !back.hasExpired()) {
            car.read(0);
            QTest::qWait(200);
        }
        QVERIFY2(inputFocus(x.get()) > PointerRoot, "the window stayed behind");
        QCOMPARE(focusFrame(screenshot(x.get())), frameAfter); // the mark stayed where the knob put it
    }
};

QTEST_GUILESS_MAIN(TestKioskFocus)
#include "tst_kiosk_focus.moc"
