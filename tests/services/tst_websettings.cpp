#include "services/WebSettings.h"

#include <QTest>

using namespace zarn;

class TstWebSettings : public QObject {
    Q_OBJECT
private slots:
    void siteAddress_data();
    void siteAddress();
    void garbageIsSkippedAndNamed();
};

void TstWebSettings::siteAddress_data()
{
    QTest::addColumn<QString>("entry");
    QTest::addColumn<QString>("address"); // empty: no address
    QTest::addRow("host as typed") << "www.bmw.com" << "http://www.bmw.com";
    QTest::addRow("blanks around") << "  www.bmw.com " << "http://www.bmw.com";
    QTest::addRow("https with path") << "https://example.org/a?b=1" << "https://example.org/a?b=1";
    QTest::addRow("loopback with port") << "http://127.0.0.1:8080/x" << "http://127.0.0.1:8080/x";
    QTest::addRow("local file") << "file:///home/car/start.html" << "file:///home/car/start.html";
    QTest::addRow("empty") << "" << "";
    QTest::addRow("blank inside") << "www.bmw .com" << "";
    QTest::addRow("control character") << QString("www.bmw.com\x01") << "";
    QTest::addRow("script") << "javascript:alert(1)" << "";
    QTest::addRow("another scheme") << "ftp://ftp.debian.org/" << "";
    QTest::addRow("no host") << "http://" << "";
    QTest::addRow("punctuation only") << "#$%^&*" << "";
    QTest::addRow("longer than any address") << "www." + QString(3000, 'a') + ".com" << "";
}

void TstWebSettings::siteAddress()
{
    QFETCH(QString, entry);
    QFETCH(QString, address);
    QString problem;
    const QUrl url = WebSettings::siteAddress(entry, &problem);
    QCOMPARE(url.isValid() ? url.toString() : QString(), address);
    QCOMPARE(problem.isEmpty(), !address.isEmpty());
}

void TstWebSettings::garbageIsSkippedAndNamed()
{
    QStringList rejected;
    const QStringList sites = WebSettings::usableSites(
        {"www.a.de", "\x01\x02garbage", "javascript:x()", " www.b.de ", QString(100, 'z') + " z"}, &rejected);
    QCOMPARE(sites, (QStringList{"www.a.de", "www.b.de"}));
    QCOMPARE(rejected, (QStringList{"\"??garbage\" is not a web address",
                                    "\"javascript:x()\" is not a web address (http, https or file)",
                                    "\"" + QString(60, 'z') + "...\" is not a web address"}));
}

QTEST_GUILESS_MAIN(TstWebSettings)
#include "tst_websettings.moc"
