// The rear camera without a camera: the device chooser lists video0..video9 of the
// directory it is pointed at, files that are no capture device do not open, and the
// "No Driver" message comes once per showing; closing stops the player.
#include "media/RearCamera.h"
#include "FakeVideoPlayer.h"
#include "TestSupport.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using namespace zarn;

class TestRearCamera : public QObject {
    Q_OBJECT
private slots:
    void listsTheCaptureDevicesInOrder()
    {
        QTemporaryDir dir;
        for (const char* name : {"video2", "video0", "video11", "video", "videoX", "audio0"})
            test::writeAll(dir.filePath(name), {});
        test::FakeVideoPlayer player;
        RearCamera camera(player);
        camera.setDeviceDirectory(dir.path());
        QCOMPARE(camera.devices(), (QStringList{dir.filePath("video0"), dir.filePath("video2")}));
        QVERIFY(RearCamera::formats(dir.filePath("video0")).isEmpty());
    }

    void noDeviceThatOpensShowsNoDriver_data()
    {
        QTest::addColumn<bool>("systemDevices"); // this machine's /dev, which has no camera
        QTest::addRow("files that are no devices") << false;
        QTest::addRow("the machine's devices") << true;
    }
    void noDeviceThatOpensShowsNoDriver()
    {
        QFETCH(bool, systemDevices);
        QTemporaryDir dir;
        test::writeAll(dir.filePath("video0"), "not a device");
        test::FakeVideoPlayer player;
        RearCamera camera(player);
        if (!systemDevices)
            camera.setDeviceDirectory(dir.path());
        else if (!camera.devices().isEmpty())
            QSKIP("this machine has a capture device");
        QSignalSpy shown(&camera, &RearCamera::shown);
        QSignalSpy messages(&camera, &RearCamera::message);
        camera.BMWpanel123Click();
        QCOMPARE(shown.count(), 1);
        QVERIFY(shown.first().at(0).toBool());
        QCOMPARE(messages.count(), 1);
        QCOMPARE(messages.first().at(0).toString(), QStringLiteral("No Driver: Error in capFileSetCaptureFile"));
        QCOMPARE(camera.driverName(), QStringLiteral("No Driver"));
        QVERIFY(player.opened.isEmpty());
        QVERIFY(camera.isShown());
        camera.close();
        QCOMPARE(shown.count(), 2);
        QVERIFY(!shown.last().at(0).toBool());
        QVERIFY(!camera.isShown());
        camera.close(); // closing a closed camera changes nothing
        QCOMPARE(shown.count(), 2);
    }

    void aCameraThatGoesAwaySaysSo()
    {
        test::FakeVideoPlayer player;
        RearCamera camera(player);
        camera.setDeviceDirectory(QStringLiteral("/nonexistent"));
        QSignalSpy texts(&camera, &RearCamera::statusText);
        camera.BMWpanel123Click();
        player.failWith("v4l2: device disappeared");
        QCOMPARE(texts.count(), 1);
        QCOMPARE(texts.last().at(0).toString(), QStringLiteral("No Driver: v4l2: device disappeared"));
        QVERIFY(camera.isShown());
    }
};

QTEST_GUILESS_MAIN(TestRearCamera)
#include "tst_rearcamera.moc"
