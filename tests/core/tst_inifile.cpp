#include "core/IniFile.h"
#include "core/IniValues.h"
#include "ReadOnlyDir.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include "TestSupport.h"

using namespace zarn;

namespace {

using test::readAll;
using test::writeAll;

} // namespace

class TestIniFile : public QObject {
    Q_OBJECT
    QTemporaryDir dir_;
    QString path() const { return dir_.filePath(QStringLiteral("Zarn.ini")); }

private slots:
    void init() { QFile::remove(path()); }

    void reads_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QString>("reader");
        QTest::addColumn<QString>("key"); // in section [S]
        QTest::addColumn<QString>("def");
        QTest::addColumn<QString>("expected");

        const QByteArray longValue = "[S]\nK=" + QByteArray(3000, 'a') + "\n";
        QTest::addRow("no file") << QByteArray() << "string" << "K" << "d" << "d";
        QTest::addRow("no section") << QByteArray("[T]\nK=v\n") << "string" << "K" << "d" << "d";
        QTest::addRow("no key") << QByteArray("[S]\nL=v\n") << "string" << "K" << "d" << "d";
        QTest::addRow("key of a later section") << QByteArray("[S]\n[T]\nK=v\n") << "string" << "K" << "d" << "d";
        QTest::addRow("names ignore case") << QByteArray("[s]\nHeaderPanel.font.Size=40\n")
                                           << "string" << "headerpanel.FONT.size" << "d" << "40";
        QTest::addRow("blanks around name and value") << QByteArray(" [ S ] \n  K  =  v w  \n")
                                                      << "string" << "K" << "d" << "v w";
        QTest::addRow("enclosing quotes dropped") << QByteArray("[S]\nK=\"v\"\n") << "string" << "K" << "d" << "v";
        QTest::addRow("first key wins") << QByteArray("[S]\nK=1\nk=2\n") << "string" << "K" << "d" << "1";
        QTest::addRow("first section wins") << QByteArray("[S]\nK=1\n[S]\nK=2\n") << "string" << "K" << "d" << "1";
        QTest::addRow("comment is no key") << QByteArray("[S]\n;K=1\n") << "string" << "K" << "d" << "d";
        QTest::addRow("empty value is a value") << QByteArray("[S]\nK=\n") << "string" << "K" << "d" << "";
        QTest::addRow("CRLF file") << QByteArray("[S]\r\nK=v\r\n") << "string" << "K" << "d" << "v";
        QTest::addRow("no final line end") << QByteArray("[S]\nK=v") << "string" << "K" << "d" << "v";
        QTest::addRow("long string cut at 2047") << longValue << "string" << "K" << "" << QString(2047, 'a');
        QTest::addRow("short string cut at 255") << longValue << "short" << "K" << "" << QString(255, 'a');
        QTest::addRow("Latin-1 file") << QByteArray("[S]\nK=Stra\xdf" "e\n") << "string" << "K" << "" << "Straße";
        QTest::addRow("UTF-8 file") << QByteArray("[S]\nK=Stra\xc3\x9f" "e\n") << "string" << "K" << "" << "Straße";

        QTest::addRow("decimal") << QByteArray("[S]\nK=31\n") << "integer" << "K" << "7" << "31";
        QTest::addRow("negative") << QByteArray("[S]\nK=-5\n") << "integer" << "K" << "7" << "-5";
        QTest::addRow("hex $") << QByteArray("[S]\nK=$1F\n") << "integer" << "K" << "7" << "31";
        QTest::addRow("hex 0x") << QByteArray("[S]\nK=0x1F\n") << "integer" << "K" << "7" << "31";
        QTest::addRow("hex without prefix") << QByteArray("[S]\nK=1F\n") << "integer" << "K" << "7" << "7";
        QTest::addRow("hex wraps to 32 bits") << QByteArray("[S]\nK=$FFFFFFFF\n") << "integer" << "K" << "7" << "-1";
        QTest::addRow("decimal too large") << QByteArray("[S]\nK=2147483648\n") << "integer" << "K" << "7" << "7";
        QTest::addRow("words") << QByteArray("[S]\nK=abc\n") << "integer" << "K" << "7" << "7";
        QTest::addRow("empty integer") << QByteArray("[S]\nK=\n") << "integer" << "K" << "7" << "7";

        QTest::addRow("bool 1") << QByteArray("[S]\nK=1\n") << "bool" << "K" << "0" << "1";
        QTest::addRow("bool 0") << QByteArray("[S]\nK=0\n") << "bool" << "K" << "1" << "0";
        QTest::addRow("bool any non-zero") << QByteArray("[S]\nK=-2\n") << "bool" << "K" << "0" << "1";
        QTest::addRow("bool word keeps default") << QByteArray("[S]\nK=true\n") << "bool" << "K" << "0" << "0";
    }
    void reads()
    {
        QFETCH(QByteArray, file);
        QFETCH(QString, reader);
        QFETCH(QString, key);
        QFETCH(QString, def);
        QFETCH(QString, expected);
        if (!file.isEmpty())
            writeAll(path(), file);
        IniFile ini(path());
        const QString S = QStringLiteral("S");
        QString got;
        if (reader == u"string")
            got = ini.readString(S, key, def);
        else if (reader == u"short")
            got = ini.readShortString(S, key, def);
        else if (reader == u"integer")
            got = QString::number(ini.readInteger(S, key, def.toInt()));
        else
            got = ini.readBool(S, key, def == u"1") ? QStringLiteral("1") : QStringLiteral("0");
        QCOMPARE(got, expected);
    }

    void changeOnDiskIsSeen()
    {
        writeAll(path(), "[S]\nK=1\n");
        IniFile ini(path());
        QCOMPARE(ini.readInteger("S", "K", 0), 1);
        writeAll(path(), "[S]\nK=2\n"); // same size, likely the same time stamp
        QCOMPARE(ini.readInteger("S", "K", 0), 2);
        QFile::remove(path());
        QCOMPARE(ini.readInteger("S", "K", 0), 0);
    }

    void writes_data()
    {
        QTest::addColumn<QByteArray>("before");
        QTest::addColumn<QString>("section");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QByteArray>("after");

        QTest::addRow("new file") << QByteArray() << "S" << "K" << "v" << QByteArray("[S]\nK=v\n");
        QTest::addRow("file's spelling kept")
            << QByteArray("[MainMenueLayout]\nnew=0\n") << "mainmenuelayout" << "New" << "1"
            << QByteArray("[MainMenueLayout]\nnew=1\n");
        QTest::addRow("other lines kept")
            << QByteArray("; my car\n\n[S]\nA=1\n;note\nK = old\nZ=9\n\n[T]\nB=2\n") << "S" << "K" << "new"
            << QByteArray("; my car\n\n[S]\nA=1\n;note\nK=new\nZ=9\n\n[T]\nB=2\n");
        QTest::addRow("key added after the section's last key")
            << QByteArray("[S]\nA=1\n\n[T]\nB=2\n") << "S" << "K" << "v"
            << QByteArray("[S]\nA=1\nK=v\n\n[T]\nB=2\n");
        QTest::addRow("key added to an empty section")
            << QByteArray("[S]\n\n[T]\n") << "S" << "K" << "v" << QByteArray("[S]\nK=v\n\n[T]\n");
        QTest::addRow("section added at the end")
            << QByteArray("[T]\nB=2\n") << "S" << "K" << "v" << QByteArray("[T]\nB=2\n[S]\nK=v\n");
        QTest::addRow("only the first of two keys changes")
            << QByteArray("[S]\nK=1\nK=2\n") << "S" << "K" << "3" << QByteArray("[S]\nK=3\nK=2\n");
        QTest::addRow("CRLF stays CRLF")
            << QByteArray("[S]\r\nK=1\r\n") << "S" << "L" << "2" << QByteArray("[S]\r\nK=1\r\nL=2\r\n");
        QTest::addRow("line break in value cannot add a key")
            << QByteArray("[S]\n") << "S" << "K" << "a\nEvil=1" << QByteArray("[S]\nK=a Evil=1\n");
        QTest::addRow("value in quotes of its own")
            << QByteArray() << "Pathes" << "Application1" << "\"/opt/my app\" \"a b\""
            << QByteArray("[Pathes]\nApplication1=\"\"/opt/my app\" \"a b\"\"\n");
        QTest::addRow("Latin-1 file written back as UTF-8")
            << QByteArray("[S]\nC=K\xf6ln\n") << "S" << "K" << "v" << QByteArray("[S]\nC=K\xc3\xb6ln\nK=v\n");
    }
    void writes()
    {
        QFETCH(QByteArray, before);
        QFETCH(QString, section);
        QFETCH(QString, key);
        QFETCH(QString, value);
        QFETCH(QByteArray, after);
        if (!before.isEmpty())
            writeAll(path(), before);
        IniFile ini(path());
        QVERIFY(ini.writeString(section, key, value));
        QCOMPARE(readAll(path()), after);
        if (!value.contains(QLatin1Char('\n')))
            QCOMPARE(ini.readString(section, key, QString()), value);
    }

    void floats_data()
    {
        QTest::addColumn<QLocale>("locale");
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("expected"); // default 7

        const QLocale de(QLocale::German, QLocale::Germany);
        const QLocale en(QLocale::English, QLocale::UnitedStates);
        QTest::addRow("comma in German") << de << "1,5" << 1.5;
        QTest::addRow("point in German is no number") << de << "1.5" << 7.0;
        QTest::addRow("German group separator is no number") << de << "1.000,5" << 7.0;
        QTest::addRow("point in English") << en << "1.5" << 1.5;
        QTest::addRow("comma in English is no number") << en << "1,5" << 7.0;
        QTest::addRow("exponent") << en << "1e3" << 1000.0;
        QTest::addRow("negative") << de << "-0,25" << -0.25;
        QTest::addRow("empty") << en << "" << 7.0;
        QTest::addRow("not finite") << en << "inf" << 7.0;
    }
    void floats()
    {
        QFETCH(QLocale, locale);
        QFETCH(QString, text);
        QFETCH(double, expected);
        writeAll(path(), "[S]\nK=" + text.toUtf8() + "\n");
        IniFile ini(path());
        ini.setLocale(locale);
        QCOMPARE(ini.readFloat("S", "K", 7.0), expected);
    }

    void floatWritten_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("german");
        QTest::addColumn<QString>("english");
        QTest::addRow("fraction") << 1.1 << "1,1" << "1.1";
        QTest::addRow("whole") << 1000000.0 << "1000000" << "1000000";
        QTest::addRow("15 significant digits") << 0.1 + 0.2 << "0,3" << "0.3";
        QTest::addRow("large") << 1e20 << "1e+20" << "1e+20";
    }
    void floatWritten()
    {
        QFETCH(double, value);
        QFETCH(QString, german);
        QFETCH(QString, english);
        IniFile ini(path());
        ini.setLocale(QLocale(QLocale::German));
        QVERIFY(ini.writeFloat("S", "K", value));
        QCOMPARE(ini.readString("S", "K", {}), german);
        QCOMPARE(ini.readFloat("S", "K", 7.0), QString::number(value, 'g', 15).toDouble());
        ini.setLocale(QLocale::c());
        QVERIFY(ini.writeFloat("S", "K", value));
        QCOMPARE(ini.readString("S", "K", {}), english);
    }

    void commaFileOnPointMachineGivesDefault()
    {
        IniFile ini(path());
        ini.setLocale(QLocale(QLocale::German));
        QVERIFY(ini.writeFloat("Radarwarning", "RadarSensitivitylabel", 0.8));
        QCOMPARE(ini.readFloat("Radarwarning", "RadarSensitivitylabel", 1.1), 0.8);
        ini.setLocale(QLocale(QLocale::English));
        QCOMPARE(ini.readFloat("Radarwarning", "RadarSensitivitylabel", 1.1), 1.1);
    }

    void colors_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("valid");
        QTest::addColumn<quint32>("color");
        QTest::addRow("name") << "clNavy" << true << quint32(0x800000);
        QTest::addRow("name in any case") << "CLWHITE" << true << quint32(0xFFFFFF);
        QTest::addRow("hex BBGGRR") << "$00400000" << true << quint32(0x400000);
        QTest::addRow("decimal") << "255" << true << quint32(0x0000FF);
        QTest::addRow("system color name") << "clBtnFace" << true << quint32(0xF0F0F0);
        QTest::addRow("system color index") << "$80000005" << true << quint32(0xFFFFFF);
        QTest::addRow("unknown name") << "clNoColor" << false << quint32(0);
        QTest::addRow("empty") << "" << false << quint32(0);
        QTest::addRow("high byte set") << "$1FFFFFFF" << false << quint32(0);
    }
    void colors()
    {
        QFETCH(QString, text);
        QFETCH(bool, valid);
        QFETCH(quint32, color);
        writeAll(path(), "[Colors]\nC=" + text.toUtf8() + "\n");
        IniFile ini(path());
        bool ok = false;
        QCOMPARE(ini.readColor("Colors", "C", 0x123456, &ok), valid ? color : quint32(0x123456));
        QCOMPARE(ok, valid);
    }

    void colorsWrittenByName()
    {
        IniFile ini(path());
        QVERIFY(ini.writeColor("Colors", "a", 0x0000FF));
        QVERIFY(ini.writeColor("Colors", "b", 0x400000));
        QVERIFY(ini.writeColor("Colors", "c", 0xA4A0A0));
        QCOMPARE(readAll(path()), QByteArray("[Colors]\na=clRed\nb=$00400000\nc=clMedGray\n"));
        QCOMPARE(ini::colorToString(0xE78A7A), QStringLiteral("$00E78A7A"));
    }

    void integersAndBooleansWritten()
    {
        IniFile ini(path());
        QVERIFY(ini.writeInteger("S", "I", -31));
        QVERIFY(ini.writeBool("S", "T", true));
        QVERIFY(ini.writeBool("S", "F", false));
        QCOMPARE(readAll(path()), QByteArray("[S]\nI=-31\nT=1\nF=0\n"));
    }

    void batchWritesOnceAndSeesItsOwnWrites()
    {
        writeAll(path(), "[S]\nA=1\n");
        IniFile ini(path());
        QVERIFY(ini.beginBatch());
        QVERIFY(ini.writeString("S", "A", "2"));
        QVERIFY(ini.writeString("T", "B", "3"));
        QCOMPARE(ini.readString("S", "A", {}), QStringLiteral("2"));
        QCOMPARE(readAll(path()), QByteArray("[S]\nA=1\n")); // nothing on disk yet
        QVERIFY(ini.commitBatch());
        QVERIFY(!ini.inBatch());
        QCOMPARE(readAll(path()), QByteArray("[S]\nA=2\n[T]\nB=3\n"));
    }

    void cancelledBatchWritesNothing()
    {
        writeAll(path(), "[S]\nA=1\n");
        IniFile ini(path());
        QVERIFY(ini.beginBatch());
        ini.writeString("S", "A", "2");
        ini.cancelBatch();
        QCOMPARE(readAll(path()), QByteArray("[S]\nA=1\n"));
        QCOMPARE(ini.readString("S", "A", {}), QStringLiteral("1"));
    }

    void failedWriteIsReportedAndOldFileKept()
    {
        writeAll(path(), "[S]\nA=1\n");
        IniFile ini(path());
        test::ReadOnlyDir readOnly(dir_.path());
        if (!readOnly.ok())
            QSKIP("cannot make a directory read-only here");
        QVERIFY(!ini.writeString("S", "A", "2"));
        QCOMPARE(ini.errorString(), QStringLiteral("Unable to write to ") + path());
        QVERIFY(!ini.errorDetail().isEmpty());
        QVERIFY(ini.beginBatch());
        ini.writeString("S", "A", "3");
        QVERIFY(!ini.commitBatch());
        QCOMPARE(ini.errorString(), QStringLiteral("Unable to write to ") + path());
        QCOMPARE(readAll(path()), QByteArray("[S]\nA=1\n"));
    }

    void unreadableFileIsNotOverwritten()
    {
        QVERIFY(QDir().mkpath(path())); // a directory where the file should be
        IniFile ini(path());
        QCOMPARE(ini.readString("S", "A", "d"), QStringLiteral("d"));
        QVERIFY(!ini.writeString("S", "A", "2"));
        QVERIFY(QFileInfo(path()).isDir());
        QDir(path()).removeRecursively();
    }
};

QTEST_GUILESS_MAIN(TestIniFile)
#include "tst_inifile.moc"
