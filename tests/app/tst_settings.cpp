#include "app/Settings.h"
#include "app/SettingsFile.h"
#include "app/SettingsKeys.h"
#include "core/IniFile.h"
#include "core/IniValues.h"
#include "core/StatusLog.h"
#include "ReadOnlyDir.h"
#include "TestSupport.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <functional>

using namespace zarn;

using Probe = std::function<QString(const Settings&)>;
Q_DECLARE_METATYPE(Probe)

namespace {

using test::readAll;
using test::writeAll;

// The status lines without their time stamp (hh:mm:ss once the clock has ticked).
QStringList texts(const StatusLog& log)
{
    QStringList out;
    for (const QString& line : log.lines())
        out << line.mid(9);
    return out;
}

// "[section] key" for every key line, in file order.
QStringList keyOrder(const QByteArray& file)
{
    QStringList out;
    QString section;
    for (const QString& line : QString::fromUtf8(file).split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
        if (line.startsWith(QLatin1Char('[')))
            section = line;
        else
            out << section + QLatin1Char(' ') + line.section(QLatin1Char('='), 0, 0);
    }
    return out;
}

// A model that differs from the defaults in every saved key.
Settings changedModel()
{
    Settings s;
    int i = 0;
    for (const SettingsKey& key : settingsKeys()) {
        ++i;
        if (!key.saved || key.step == LoadStep::WriteOnly)
            continue;
        QString text;
        switch (key.type) {
        case KeyType::String:
        case KeyType::ShortString: text = QStringLiteral("value %1").arg(i); break;
        case KeyType::Integer:
        case KeyType::IntegerText: text = QString::number(100 + i); break;
        case KeyType::Boolean: text = std::get<BoolField>(key.field)(key.owner(s)) ? QStringLiteral("0") : QStringLiteral("1"); break;
        case KeyType::Float: text = QString::number(i + 0.25); break;
        case KeyType::Color: text = ini::colorToString((0x010203u * i) & 0xFFFFFF); break;
        }
        if (!assignFromText(key, s, text, QLocale::c()))
            qFatal("cannot set %s", key.key);
    }
    s.driversLog.driversLogRecord = 0; // only 1 and 0 are kept
    s.web.webSites = QStringList{QStringLiteral("a.example"), QStringLiteral("b.example")};
    return s;
}

} // namespace

class TestSettings : public QObject {
    Q_OBJECT
    QTemporaryDir dir_;
    QString path() const { return dir_.filePath(QStringLiteral("Zarn.ini")); }

    Settings load(IniFile& ini, StatusLog& log)
    {
        ini.setLocale(QLocale::c());
        return LoadSettings(ini, log);
    }

private slots:
    void init() { QFile::remove(path()); }

    void keyTableIsConsistent()
    {
        Settings s;
        for (const SettingsKey& key : settingsKeys()) {
            if (key.step == LoadStep::WriteOnly)
                continue;
            QVERIFY2(assignFromText(key, s, defaultText(key, s), QLocale::c()), key.key);
        }
        for (const SavedKey& saved : saveOrder()) {
            if (!saved.key)
                continue;
            const SettingsKey* key = findSettingsKey(QLatin1String(saved.section), QLatin1String(saved.key));
            QVERIFY2(key && key->saved, saved.key);
        }
        for (const SettingsKey& key : settingsKeys()) {
            const bool inOrder = std::any_of(saveOrder().begin(), saveOrder().end(), [&](const SavedKey& k) {
                return k.key && findSettingsKey(QLatin1String(k.section), QLatin1String(k.key)) == &key;
            });
            QVERIFY2(inOrder == key.saved, key.key);
        }
    }

    void missingFileGivesTheDefaults()
    {
        test::VirtualTime time;
        StatusLog log;
        IniFile ini(path());
        const Settings s = load(ini, log);
        QCOMPARE(s, Settings());
        QCOMPARE(s.web.webSites.size(), 10);
        QCOMPARE(s.window.versiontitle, QStringLiteral("Zarn"));
        QCOMPARE(s.window.captions.BMWpanel3, QStringLiteral("MPG, DivX && DVD"));
        QCOMPARE(s.window.form1.width, 800);
        QCOMPARE(s.window.alternateMenu.E648Panel.top, 350);
        QCOMPARE(s.window.clFontHigh, quint32(0xFFFFFF));
        QCOMPARE(s.window.ClCustompanelheader, quint32(0xFF0000));
        QCOMPARE(s.window.scheme.clHellblau, quint32(0xE78A7A));
        QCOMPARE(s.radar.warningThresholdKm, 1.1);
        QCOMPARE(s.radar.radarScaleKm, 3);
        QCOMPARE(s.power.idleShutdownSeconds, 120);
        QCOMPARE(s.serial.rtoCharDelayTime, 1100);
        QVERIFY(s.driversLog.businessMode());
        QCOMPARE(s.mail.pop3Port(), 110);
        QCOMPARE(s.window.headerCaption(), QStringLiteral(" Zarn Main"));
        QCOMPARE(s.window.layoutTitleFontSize(), 13);
    }

    void loading_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<Probe>("probe");
        QTest::addColumn<QString>("expected");

        const Probe sites = [](const Settings& s) { return s.web.webSites.join(QLatin1Char(',')); };
        const QString defaultSites = WebSettings::defaultWebSites().join(QLatin1Char(','));
        QTest::addRow("Site0 x and empty Site1 give the default sites")
            << QByteArray("[Websites]\nSite0=x\nSite1=\n") << sites << defaultSites;
        QTest::addRow("sites skip x and empty keys")
            << QByteArray("[Websites]\nSite0=a\nSite1=x\nSite2=\nSite3=b\nSite100=c\n") << sites << "a,b,c";
        QTest::addRow("keys above Site100 are never read")
            << QByteArray("[Websites]\nSite101=z\n") << sites << defaultSites;

        const Probe threshold = [](const Settings& s) {
            return QString::number(s.radar.warningThresholdKm) + QLatin1Char('|') + s.radar.warningThresholdLabel();
        };
        QTest::addRow("threshold 0 becomes 1 km")
            << QByteArray("[Radarwarning]\nRadarSensitivitylabel=0\n") << threshold
            << "1| Warning Threshold is now 1000 m";
        QTest::addRow("threshold in metres, rounded")
            << QByteArray("[Radarwarning]\nRadarSensitivitylabel=0.8125\n") << threshold
            << "0.8125| Warning Threshold is now 813 m";

        const Probe scale = [](const Settings& s) { return s.radar.radarScaleCaption(); };
        QTest::addRow("map scale 0 counts as 3") << QByteArray("[Radarwarning]\nBMWpanel105.tag=0\n") << scale << "3 km";
        QTest::addRow("map scale as stored") << QByteArray("[Radarwarning]\nBMWpanel105.tag=5\n") << scale << "5 km";

        const Probe idle = [](const Settings& s) { return QString::number(s.power.idleShutdownSeconds); };
        QTest::addRow("idle seconds 10 become 60") << QByteArray("[Special]\nshutdownafterIBUSidle_seconds=10\n") << idle << "60";
        QTest::addRow("idle seconds capped") << QByteArray("[Special]\nshutdownafterIBUSidle_seconds=99999999\n") << idle << "9999999";

        const Probe port = [](const Settings& s) { return QString::number(s.serial.portIndex) + QLatin1Char('|') + s.serial.devicePath; };
        QTest::addRow("port index stays as read") << QByteArray("[COM-Port]\nCBPort.ItemIndex=12\n") << port << "12|";
        QTest::addRow("device path") << QByteArray("[COM-Port]\nDevicePath=/dev/ttyUSB0\n") << port << "0|/dev/ttyUSB0";

        const Probe mode = [](const Settings& s) {
            return QString::number(s.driversLog.driversLogRecord) + s.driversLog.driversLogMessage() + QLatin1Char('|') + s.driversLog.driversLogModeCaption();
        };
        QTest::addRow("record 1 is business mode") << QByteArray("[Driverslog]\nrecord=1\n") << mode
                                                   << "1 Business mode set|Mode is BUSINESS";
        QTest::addRow("any other record is private mode") << QByteArray("[Driverslog]\nrecord=2\n") << mode
                                                          << "0 Private mode set|Mode is PRIVATE";

        const Probe fontHigh = [](const Settings& s) { return ini::colorToString(s.window.clFontHigh); };
        QTest::addRow("clFontHigh defaults to the readable text color")
            << QByteArray("[Colors]\nclreadabletext=clYellow\n") << fontHigh << "clYellow";
        QTest::addRow("clFonthigh is the same key")
            << QByteArray("[Colors]\nclFonthigh=$00400000\n") << fontHigh << "$00400000";

        QTest::addRow("new in any spelling")
            << QByteArray("[mainmenuelayout]\nNEW=1\n")
            << Probe([](const Settings& s) { return QString::number(s.window.alternateLayout); }) << "1";
        QTest::addRow("header font size")
            << QByteArray("[HeaderPanelFonts]\nHeaderPanel.font.Size=40\n")
            << Probe([](const Settings& s) { return QStringLiteral("%1|%2").arg(s.window.headerFontSize).arg(s.window.layoutTitleFontSize()); })
            << "40|16";
        QTest::addRow("paths cut at 255, other strings not")
            << QByteArray("[Pathes]\nmp3=" + QByteArray(300, 'm') + "\n[Special]\nShutDownMessage=" + QByteArray(300, 's') + "\n")
            << Probe([](const Settings& s) { return QStringLiteral("%1|%2").arg(s.media.mp3.size()).arg(s.bus.shutDownMessage.size()); })
            << "255|300";
        QTest::addRow("radar toggles")
            << QByteArray("[Radarwarning]\nglobal_radarwarning=1\nGlobal_radarwarning_acoutsicsignal=1\n"
                          "Global_radarwarning_only_warn_if_too_fast=0\n")
            << Probe([](const Settings& s) {
                   return s.radar.radarWarningCaption() + QLatin1Char('|') + s.radar.radarSoundCaption() + QLatin1Char('|')
                       + s.radar.radarTooFastCaption();
               })
            << "Radarwarning now ON|Sound=ON|Warn regardless of speed";
        QTest::addRow("mail port as typed")
            << QByteArray("[Pop3]\nServerPort=995\n")
            << Probe([](const Settings& s) { return s.mail.pop3.serverPort + QLatin1Char('|') + QString::number(s.mail.pop3Port()); })
            << "995|995";
        QTest::addRow("launch item shown with a program")
            << QByteArray("[Pathes]\nLaunchButtonExe=/usr/bin/xterm\n")
            << Probe([](const Settings& s) { return QString::number(s.launcher.launchItemVisible()); }) << "1";
    }
    void loading()
    {
        QFETCH(QByteArray, file);
        QFETCH(Probe, probe);
        QFETCH(QString, expected);
        writeAll(path(), file);
        test::VirtualTime time;
        StatusLog log;
        IniFile ini(path());
        QCOMPARE(probe(load(ini, log)), expected);
    }

    void firstStartSaysWhereZarnIniWillBe_data()
    {
        QTest::addColumn<bool>("exists");
        QTest::addRow("no file") << false;
        QTest::addRow("empty file") << true; // present: its defaults are the user's choice
    }

    void firstStartSaysWhereZarnIniWillBe()
    {
        QFETCH(bool, exists);
        if (exists)
            writeAll(path(), {});
        test::VirtualTime time;
        StatusLog log;
        log.setClockTicked();
        QStringList alerts;
        log.setAlertSink([&](const QString& line) { alerts << line; });
        IniFile ini(path());
        load(ini, log);
        const QString line = QStringLiteral("Zarn.ini not found - starting with the defaults; a new one is written to ") + path();
        QCOMPARE(texts(log).contains(line), !exists);
        QCOMPARE(alerts, exists ? QStringList() : QStringList{QStringLiteral("12:00:00 ") + line});
        QCOMPARE(texts(log).first() == line, !exists); // before anything read from the file
    }

    void splashLinesCodesHookAndStatusLines()
    {
        writeAll(path(), "[SerialPortNG1]\nRTOCharDelayTime=900\n[codes]\nBMW_Poll_CD_Player=68\n");
        test::VirtualTime time;
        StatusLog log;
        log.setClockTicked();
        IniFile ini(path());
        QStringList seen;
        SettingsLoadHooks hooks;
        hooks.splash = [&](int progress, const QString& line) { seen << QStringLiteral("%1%2").arg(progress).arg(line); };
        hooks.loadCodes = [&] {
            seen << QStringLiteral("codes");
            log.AddStatusLine(ini.readString(QStringLiteral("codes"), QStringLiteral("BMW_Poll_CD_Player"), {}));
        };
        hooks.comPort = [&](const Settings& s) { seen << QStringLiteral("port %1").arg(s.serial.rtoCharDelayTime); };
        LoadSettings(ini, log, hooks);
        QCOMPARE(seen, (QStringList{
                           "28 Processing zarn.ini...websites",
                           "32 Processing zarn.ini...custom captions",
                           "38 Processing zarn.ini...BMW Ibus codes",
                           "codes",
                           "42 Processing zarn.ini...COM port details",
                           "port 900",
                           "46 Processing zarn.ini...drivers log settings",
                           "48 Processing zarn.ini...colors",
                           "52 Processing zarn.ini...screen position",
                           "56 Processing zarn.ini...radar details",
                           "60 Processing zarn.ini...randomizer settings",
                           "64 Processing zarn.ini...shutdown settings",
                           "68 Processing zarn.ini...CD emulation details",
                           "72 Processing zarn.ini...email details",
                           "76 Processing zarn.ini...bitmaps",
                           "80 Processing zarn.ini...pathes",
                           "84 Initializing MP3 selection list",
                           "88 Initializing Movie selection list",
                       }));
        QCOMPARE(texts(log), (QStringList{
                                 "68",
                                 "Radarwarning now OFF",
                             }));
    }

    void badValuesAreReportedAndReadingGoesOn_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<Probe>("probe");
        QTest::addColumn<QString>("expected");
        QTest::addColumn<QString>("report");

        QTest::addRow("width abc")
            << QByteArray("[Scale]\nform1.width=abc\nform1.height=480\n")
            << Probe([](const Settings& s) { return QStringLiteral("%1x%2").arg(s.window.form1.width).arg(s.window.form1.height); })
            << "800x480" << "Zarn.ini [Scale] form1.width=abc is not a whole number - default 800 used";
        QTest::addRow("empty item position")
            << QByteArray("[AlternateMenueItemPositions]\nE648Panel.Top=\n")
            << Probe([](const Settings& s) { return QString::number(s.window.alternateMenu.E648Panel.top); })
            << "350" << "Zarn.ini [AlternateMenueItemPositions] E648Panel.Top= is not a whole number - default 350 used";
        QTest::addRow("no color name")
            << QByteArray("[Colors]\nclschwarz=clNoColor\nclOrange=clLime\n")
            << Probe([](const Settings& s) { return ini::colorToString(s.window.scheme.clschwarz) + QLatin1Char('|') + ini::colorToString(s.window.scheme.clOrange); })
            << "$00400000|clLime" << "Zarn.ini [Colors] clschwarz=clNoColor is not a color - default $00400000 used";
        QTest::addRow("bad clFontHigh takes the readable text color")
            << QByteArray("[Colors]\nclreadabletext=clYellow\nclFontHigh=yellowish\n")
            << Probe([](const Settings& s) { return ini::colorToString(s.window.clFontHigh); })
            << "clYellow" << "Zarn.ini [Colors] clFontHigh=yellowish is not a color - default clYellow used";
        QTest::addRow("mail port abc")
            << QByteArray("[Pop3]\nServerPort=abc\nServerUser=me\n")
            << Probe([](const Settings& s) { return s.mail.pop3.serverPort + QLatin1Char('|') + s.mail.pop3.serverUser; })
            << "110|me" << "Zarn.ini [Pop3] ServerPort=abc is not a whole number - default 110 used";
    }
    void badValuesAreReportedAndReadingGoesOn()
    {
        QFETCH(QByteArray, file);
        QFETCH(Probe, probe);
        QFETCH(QString, expected);
        QFETCH(QString, report);
        writeAll(path(), file + "[Pathes]\nLaunchButtonExe=last key\n");
        test::VirtualTime time;
        StatusLog log;
        log.setClockTicked();
        IniFile ini(path());
        QStringList alerts; // what reaches stderr
        log.setAlertSink([&](const QString& line) { alerts << line; });
        const Settings s = load(ini, log);
        QCOMPARE(probe(s), expected);
        QVERIFY2(texts(log).contains(report), qPrintable(texts(log).join(QLatin1Char('\n'))));
        QCOMPARE(alerts, QStringList{QStringLiteral("12:00:00 ") + report});
        QCOMPARE(s.launcher.launchButtonExe, QStringLiteral("last key")); // reading went on to the end
    }

    void defaultsRoundTrip()
    {
        test::VirtualTime time;
        StatusLog log;
        IniFile ini(path());
        ini.setLocale(QLocale::c());
        QString error;
        QVERIFY2(SaveSettings(ini, Settings(), &error), qPrintable(error));
        QCOMPARE(load(ini, log), Settings());
    }

    void changedModelRoundTrip_data()
    {
        QTest::addColumn<QLocale>("locale");
        QTest::addRow("point") << QLocale::c();
        QTest::addRow("comma") << QLocale(QLocale::German, QLocale::Germany);
    }
    void changedModelRoundTrip()
    {
        QFETCH(QLocale, locale);
        test::VirtualTime time;
        StatusLog log;
        IniFile ini(path());
        ini.setLocale(locale);
        const Settings changed = changedModel();
        QVERIFY(!(changed == Settings()));
        QVERIFY(SaveSettings(ini, changed));
        QCOMPARE(LoadSettings(ini, log), changed);
    }

    void floatsFollowTheLocale()
    {
        writeAll(path(), "[Radarwarning]\nRadarSensitivitylabel=0,8\n[EQ]\nEQ3_Gain=-2,5\n");
        test::VirtualTime time;
        StatusLog log;
        IniFile ini(path());
        ini.setLocale(QLocale(QLocale::German));
        Settings s = LoadSettings(ini, log);
        QCOMPARE(s.radar.warningThresholdKm, 0.8);
        QCOMPARE(s.media.eqGain[2], -2.5);
        s.radar.warningThresholdKm = 1.2;
        QVERIFY(SaveSettings(ini, s));
        QVERIFY(readAll(path()).contains("RadarSensitivitylabel=1,2\n"));
        ini.setLocale(QLocale::c()); // a point machine does not read the comma
        QCOMPARE(LoadSettings(ini, log).radar.warningThresholdKm, 1.1);
    }

    void savedSitesDeletedStayDeleted_data()
    {
        QTest::addColumn<QList<int>>("deleted"); // of ten sites s0 .. s9
        QTest::addRow("delete one") << QList<int>{4};
        QTest::addRow("delete two") << QList<int>{0, 9};
        QTest::addRow("delete all but one") << QList<int>{1, 2, 3, 4, 5, 6, 7, 8, 9};
    }
    void savedSitesDeletedStayDeleted()
    {
        QFETCH(QList<int>, deleted);
        QByteArray file = "[Websites]\n";
        QStringList remaining;
        for (int i = 0; i < 10; ++i) {
            file += "Site" + QByteArray::number(i) + "=s" + QByteArray::number(i) + "\n";
            if (!deleted.contains(i))
                remaining << QStringLiteral("s%1").arg(i);
        }
        file += "Site57=x\n"; // unused, but present
        writeAll(path(), file);
        test::VirtualTime time;
        StatusLog log;
        IniFile ini(path());
        Settings s = load(ini, log);
        QCOMPARE(s.web.webSites.size(), 10);
        s.web.webSites = remaining;
        QVERIFY(SaveSettings(ini, s));
        QCOMPARE(load(ini, log).web.webSites, remaining);
        QVERIFY(readAll(path()).contains("Site57=\n"));
    }

    void freshFileHasTheKeyOrder()
    {
        IniFile ini(path());
        ini.setLocale(QLocale::c());
        QVERIFY(SaveSettings(ini, Settings()));
        QStringList expected;
        const auto add = [&](const char* section, const QStringList& keys) {
            for (const QString& key : keys)
                expected << QStringLiteral("[%1] %2").arg(QLatin1String(section), key);
        };
        add("Pop3", {"ServerName", "ServerPort", "ServerUser", "ServerPassword", "Security", "CheckCertificate", "CAFile"});
        add("COMPORT", {"SerialPortNG1.ParityTyp"});
        add("Speech", {"Global_speech_engine"});
        add("Scale", {"form1.width", "form1.top", "form1.height", "form1.left"});
        add("HeaderPanelFonts", {"HeaderPanel.font.Name", "HeaderPanel.font.Size"});
        add("Special", {"shutdownafterIBUSidle_seconds", "RadioGroup1.ItemIndex", "ShutDownMessage",
                        "ExplorerShellCommand", "disablemp3filenamedisplay", "autoreplay_after_restart", "shutdownafterIBUSidle",
                        "ShutDownMessage_active", "Shutdown_with_checkcontrol"});
        add("COM-Port", {"CBPort.ItemIndex", "DevicePath"});
        add("Websites", {"Site0", "Site1", "Site2", "Site3", "Site4", "Site5", "Site6", "Site7", "Site8", "Site9"});
        add("Colors", {"clFontLow", "clFonthigh", "ClCustompanelheader", "clreadabletext", "clschwarz",
                       "cldunkelblau", "clHellblau", "clOrange", "clUnassigned", "cust1_clschwarz",
                       "cust1_cldunkelblau", "cust1_clHellblau", "cust1_clOrange", "cust1_clUnassigned",
                       "cust2_clschwarz", "cust2_cldunkelblau", "cust2_clHellblau", "cust2_clOrange",
                       "cust2_clUnassigned"});
        add("MainMenueLayout", {"New"});
        add("Randomizer", {"startwithrandom"});
        add("CD_Emulation", {"CD_CheckBox"});
        add("NOSEND", {"NOSEND_CheckBox"});
        add("nonmetricworld", {"Miles_checkbox"});
        add("Driverslog", {"Global_driverslog_private", "record"});
        add("Radarwarning", {"global_radarwarning", "Global_radarwarning_acoutsicsignal",
                             "Global_radarwarning_only_warn_if_too_fast", "BMWpanel105.tag",
                             "RadarSensitivitylabel"});
        add("SerialPortNG1", {"RTOExtraDelayTime", "RTOCharDelayTime"});
        add("MainPanelCaptions", {"Versiontitle", "BMWpanel89.BMW_supercaption", "BMWpanel76.BMW_supercaption",
                                  "BMWpanel123.BMW_supercaption", "BMWpanel1.BMW_supercaption",
                                  "BMWpanel2.BMW_supercaption", "BMWpanel3.BMW_supercaption",
                                  "BMWpanel6.BMW_supercaption", "BMWpanel4.BMW_supercaption",
                                  "BMWpanel7.BMW_supercaption", "BMWpanel8.BMW_supercaption",
                                  "BMWpanel5.BMW_supercaption", "BMWpanel9.BMW_supercaption"});
        add("AlternateMenueItemPositions",
            {"E649Panel.Top", "E649Panel.left", "E644Panel.Top", "E644Panel.left", "E644Panel1.Top",
             "E644Panel1.left", "E644Panel2.Top", "E644Panel2.left", "E644Panel3.Top", "E644Panel3.left",
             "E646Panel.Top", "E646Panel.left", "E6445Panel.Top", "E6445Panel.left", "E60QuilPanel.Top",
             "E60QuilPanel.left", "E600Panel.Top", "E600Panel.left", "E648Panel.Top", "E648Panel.left"});
        add("Grafix", {"AlternativeBackgroundBitmap", "MP3PlayingBackgroundBitmap"});
        add("Pathes", {"mp3", "movies", "duallog", "Application1", "LaunchButtonExe", "Radarsound"});
        const QByteArray file = readAll(path());
        QCOMPARE(keyOrder(file), expected);
        for (const char* line : {"SerialPortNG1.ParityTyp=2\n", "Global_speech_engine=\n", "New=0\n", "record=1\n",
                                 "Global_driverslog_private=0\n", "clFonthigh=clWhite\n", "clschwarz=$00400000\n",
                                 "RadarSensitivitylabel=1.1\n", "BMWpanel3.BMW_supercaption=MPG, DivX && DVD\n"})
            QVERIFY2(file.contains(line), line);
    }

    void savingKeepsTheFilesSpellingAndOtherLines()
    {
        const QByteArray before = "; car PC settings\n[MainMenueLayout]\nnew=0\n[HeaderPanelFonts]\nHeaderPanel.font.size=40\n"
                                  "[Colors]\nclFontHigh=clRed\n[MainPanelCaptions]\nBMWPanel123.BMW_supercaption=Cam\n"
                                  "[codes]\nBMW_Stop_CD=6805183801004c\n[Mine]\nkeep=me\n";
        writeAll(path(), before);
        test::VirtualTime time;
        StatusLog log;
        IniFile ini(path());
        Settings s = load(ini, log);
        s.window.alternateLayout = true;
        s.power.idleShutdownSeconds = 10;
        s.driversLog.driversLogRecord = 5;
        QVERIFY(SaveSettings(ini, s));
        const QByteArray after = readAll(path());
        for (const char* line : {"; car PC settings\n", "new=1\n", "HeaderPanel.font.size=40\n", "clFontHigh=clRed\n",
                                 "BMWPanel123.BMW_supercaption=Cam\n", "[codes]\nBMW_Stop_CD=6805183801004c\n",
                                 "[Mine]\nkeep=me\n", "shutdownafterIBUSidle_seconds=60\n", "record=0\n",
                                 "Global_driverslog_private=1\n"})
            QVERIFY2(after.contains(line), line);
        for (const char* spelling : {"New=", "HeaderPanel.font.Size=", "clFonthigh=", "BMWpanel123."})
            QVERIFY2(!after.contains(spelling), spelling);
    }

    void failedSaveIsReportedAndOldFileKept()
    {
        writeAll(path(), "[Special]\nShutDownMessage=old\n");
        IniFile ini(path());
        test::ReadOnlyDir readOnly(dir_.path());
        if (!readOnly.ok())
            QSKIP("cannot make a directory read-only here");
        QString error;
        QVERIFY(!SaveSettings(ini, Settings(), &error));
        QCOMPARE(error, QStringLiteral("Unable to write to ") + path());
        QCOMPARE(readAll(path()), QByteArray("[Special]\nShutDownMessage=old\n"));
        QVERIFY(!ini.inBatch());
    }

    void mileage_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<int>("mileage");
        QTest::addColumn<QString>("report"); // empty: none
        QTest::addRow("missing") << QByteArray() << 4711 << QString();
        QTest::addRow("stored") << QByteArray("[mileage]\nlastknownmilage=123456\n") << 123456 << QString();
        QTest::addRow("abc") << QByteArray("[mileage]\nlastknownmilage=abc\n") << 0
                             << "Zarn.ini [mileage] lastknownmilage=abc is not a whole number - last known mileage stays 0";
    }
    void mileage()
    {
        QFETCH(QByteArray, file);
        QFETCH(int, mileage);
        QFETCH(QString, report);
        if (!file.isEmpty())
            writeAll(path(), file);
        test::VirtualTime time;
        StatusLog log;
        log.setClockTicked();
        IniFile ini(path());
        QStringList alerts;
        log.setAlertSink([&](const QString& line) { alerts << line; });
        QCOMPARE(LoadMileage(ini, log), mileage);
        QCOMPARE(texts(log), report.isEmpty() ? QStringList() : QStringList{report});
        QCOMPARE(alerts, report.isEmpty() ? QStringList() : QStringList{QStringLiteral("12:00:00 ") + report});
    }

    void singleKeyWritersAreReadBack()
    {
        test::VirtualTime time;
        StatusLog log;
        IniFile ini(path());
        ini.setLocale(QLocale::c());
        QVERIFY(SaveMileage(ini, QStringLiteral("98765")));
        QVERIFY(SaveLastMp3Played(ini, QStringLiteral("/music/a.mp3")));
        QVERIFY(SaveEqGain(ini, 6, -3.5));
        QVERIFY(!SaveEqGain(ini, 7, 1));
        QCOMPARE(LoadMileage(ini, log), 98765);
        const Settings s = LoadSettings(ini, log);
        QCOMPARE(s.media.lastMp3Played, QStringLiteral("/music/a.mp3"));
        QCOMPARE(s.media.eqGain[5], -3.5);
    }
};

QTEST_GUILESS_MAIN(TestSettings)
#include "tst_settings.moc"
