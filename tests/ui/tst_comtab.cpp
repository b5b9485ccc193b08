// The COM tab's serial device field: which devices it offers, in which order.
#include "ui/pages/ComTab.h"
#include "TestSupport.h"

#include <QComboBox>
#include <QDir>
#include <QTemporaryDir>
#include <QTest>

using namespace zarn;

class TestComTab : public QObject {
    Q_OBJECT
private slots:
    void offersSerialDevicesStableNamesFirst()
    {
        QTemporaryDir dev;
        QVERIFY(QDir(dev.path()).mkpath(QStringLiteral("serial/by-id")));
        for (const char* name : {"serial/by-id/usb-Resler_IBUS-if00-port0", "serial/by-id/usb-FTDI_FT232R_A1-if00-port0",
                                 "ttyUSB10", "ttyUSB2", "ttyACM0", "ttyS10", "ttyS1", "ttyS0", "tty0", "ttyprintk", "null"})
            test::writeAll(dev.filePath(QLatin1String(name)), {});
        const QString d = dev.path() + QLatin1Char('/');
        QCOMPARE(ComTab::serialDevices(dev.path()),
                 (QStringList{d + "serial/by-id/usb-FTDI_FT232R_A1-if00-port0", d + "serial/by-id/usb-Resler_IBUS-if00-port0",
                              d + "ttyUSB2", d + "ttyUSB10", d + "ttyACM0", d + "ttyS0", d + "ttyS1", d + "ttyS10"}));

        ComTab tab;
        tab.setDevicePath(QStringLiteral("/dev/ttyCAR"));
        tab.setDeviceRoot(dev.path()); // a refill keeps what the user typed
        QCOMPARE(tab.DevicePath()->count(), 8);
        QCOMPARE(tab.devicePath(), QStringLiteral("/dev/ttyCAR"));
        tab.DevicePath()->setCurrentIndex(2);
        QCOMPARE(tab.devicePath(), d + "ttyUSB2");
        // A keyboard field: the knob passes it by.
        QVERIFY(!(tab.DevicePath()->focusPolicy() & Qt::TabFocus));
    }

    void noDevicesNoDirectoryEmptyList()
    {
        QCOMPARE(ComTab::serialDevices(QStringLiteral("/nonexistent/dev")), QStringList());
    }
};

QTEST_MAIN(TestComTab)
#include "tst_comtab.moc"
