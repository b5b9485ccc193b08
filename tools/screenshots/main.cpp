// zarn-screenshots OUTDIR: renders every page of the window at 800 by 600, the settings
// sub-pages, the window-level panels and the splash screen into OUTDIR/*.png.
#include "core/StatusLog.h"
#include "media/MusicListModel.h"
#include "services/SystemStatus.h"
#include "ui/ClockDisplay.h"
#include "ui/ColorScheme.h"
#include "ui/PlainPanel.h"
#include "ui/SplashScreen.h"
#include "ui/TBMWpanel.h"
#include "ui/ZarnWindow.h"
#include "ui/pages/DriversLogPage.h"
#include "ui/pages/MailHeadersPage.h"
#include "ui/pages/MailPage.h"
#include "ui/pages/MusicPage.h"
#include "ui/pages/NowPlayingPage.h"
#include "ui/pages/SystemPage.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLinearGradient>
#include <QPainter>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTextStream>

#include <cmath>
#include <cstdio>

using namespace zarn;

namespace {
const char* const PageNames[ZarnWindow::PageCount] = {
    "00-main",    "01-options", "02-web",   "03-movies", "04-music", "05-nowplaying", "06-mailheaders", "07-mail",
    "08-alternate", "09-scale", "10-driverslog", "11-system", "12-ibus", "13-radar", "14-soundfx", "15-question",
};
// The header caption each page is shown with (after " Zarn ").
const char* const PageCaptions[ZarnWindow::PageCount] = {
    "Main", "Settings", "Web", "MPG, DivX && DVD", "MP3 Player", "MP3 Player", "eMail", "eMail",
    "Main", "Settings", "Driver's log", "System Status", "I-Bus Explorer", "Radar", "MP3 Player", "Driver's log",
};

// A cover picture of its own: a gradient square with a title, as a JPEG.
QString writeSampleCover(const QTemporaryDir& tmp)
{
    QImage cover(500, 500, QImage::Format_RGB32);
    QPainter p(&cover);
    QLinearGradient g(0, 0, 500, 500);
    g.setColorAt(0, QColor(0x1B, 0x3A, 0x6B));
    g.setColorAt(1, QColor(0xC8, 0x5A, 0x19));
    p.fillRect(cover.rect(), g);
    p.setPen(Qt::white);
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QPoint(250, 230), 150, 150);
    p.drawEllipse(QPoint(250, 230), 20, 20);
    QFont f(QStringLiteral("Liberation Sans"));
    f.setPixelSize(44);
    f.setBold(true);
    p.setFont(f);
    p.drawText(QRect(0, 400, 500, 80), Qt::AlignCenter, QStringLiteral("Nachtfahrt"));
    p.end();
    const QString path = tmp.filePath(QStringLiteral("folder.jpg"));
    cover.save(path, "JPEG", 90);
    return path;
}

// A track playing at 3:07 of 4:05.
NowPlayingView sampleView(const QString& cover)
{
    NowPlayingView v;
    v.coverPath = cover;
    v.playMark = QStringLiteral(">");
    v.timeText = QStringLiteral("3:07 / 4:05");
    v.bitrateText = QStringLiteral("192");
    v.sampleRateText = QStringLiteral("44100");
    v.format = NowPlayingView::Format::Mp3;
    v.progressMax = 245;
    v.progressValue = 187;
    v.scrollerText = QStringLiteral("/media/music/Die Ärzte/Nachtfahrt über München/07 - Straßenbahn & Regen.mp3");
    v.scrolling = true;
    v.title = QStringLiteral("Straßenbahn & Regen (Live im Überlandwerk)");
    v.artist = QStringLiteral("Die Ärzte");
    v.album = QStringLiteral("Nachtfahrt über München");
    v.year = QStringLiteral("1998");
    v.genre = QStringLiteral("Rock");
    v.randomStatus = QStringLiteral("Playing 12 of 340");
    return v;
}

bool save(QWidget& w, const QDir& dir, const QString& name)
{
    QApplication::processEvents(); // pending layouts (a list's scroll bar)
    const QString path = dir.filePath(name + QStringLiteral(".png"));
    if (!w.grab().save(path)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        return false;
    }
    std::printf("%s\n", qPrintable(path));
    return true;
}
} // namespace

// Music-like magnitudes: strong in the bass, falling with the bin, with some ripple. A
// louder frame and then a quieter one, so the peaks stand above the falling bars.
void drawSampleSpectrum(NowPlayingPage& page)
{
    page.newSpectrum();
    for (const double level : {1.0, 0.8}) {
        float m[512];
        for (int k = 0; k < 512; ++k)
            m[k] = float(level * (0.05 + 0.17 * std::exp(-k / 14.0)) * (0.75 + 0.25 * std::sin(k * 1.7)));
        page.drawSpectrum(m, 512);
    }
}

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: zarn-screenshots OUTDIR\n");
        return 2;
    }
    QDir dir(QString::fromLocal8Bit(argv[1]));
    if (!dir.mkpath(QStringLiteral("."))) {
        std::fprintf(stderr, "cannot create %s\n", argv[1]);
        return 1;
    }

    StatusLog log;
    for (const char* line : {" 2.9.0 Build 1005 (no voice) starting up...", "Parity set to 2 (even)",
                             "Serial COM Port set to COM1", "Last known mileage read - number is 4711"})
        log.AddStatusLine(QString::fromLatin1(line));

    ZarnWindow w;
    w.attachStatusLog(log);
    ApplyColorScheme(w);
    w.setBounds(0, 0, 800, 600);
    w.show();
    w.activateWindow();
    QApplication::processEvents();
    bool ok = save(w, dir, QStringLiteral("offpanel"));
    w.findChild<PlainPanel*>(QStringLiteral("offpanel"))->hide();

    // The music page browses a small tree of its own.
    QTemporaryDir music;
    for (const char* name : {"ABBA/", "Best.Of/", "Deep Purple/", "x.mp3/", "Africa.mp3", "Bohemian Rhapsody.ogg",
                             "Child in Time.mp3", "Smoke on the Water.wma", "README", "cover.jpg"}) {
        const QString path = music.filePath(QString::fromLatin1(name));
        if (path.endsWith(QLatin1Char('/')))
            QDir().mkpath(path);
        else
            QFile(path).open(QIODevice::WriteOnly);
    }
    MusicListModel musicList;
    auto* musicPage = static_cast<MusicPage*>(w.page(PageMusic));
    musicPage->setModel(&musicList);
    musicPage->setMusicRoot(music.path());
    musicList.setMask(QString::fromLatin1(MusicListModel::MusicMask));
    musicList.GoToPath(music.path());
    musicPage->RelistMusicFolder(QString());
    musicList.setHighlighted(2);
    QTemporaryDir tmp;
    auto* nowPlaying = static_cast<NowPlayingPage*>(w.page(PageNowPlaying));
    nowPlaying->setView(sampleView(writeSampleCover(tmp)));
    drawSampleSpectrum(*nowPlaying);

    // The clock at a fixed moment; the status page as this machine fills it.
    ClockDisplay::show(w, QDateTime(QDate(2026, 12, 24), QTime(18, 30)));
    SystemStatus status(log);
    status.start();
    SystemPage::Texts texts;
    texts.version = QStringLiteral("Zarn Version is 2.9.0 Build 1005 (no voice) ");
    texts.path = QStringLiteral("Zarn path is /home/car/zarn/");
    texts.processor = status.processorText();
    texts.speed = status.speedText() + QStringLiteral(",  CPU busy = 07.5%");
    texts.memory = status.memoryText();
    texts.network = QStringLiteral("IP is 192.168.0.10");
    texts.power = status.powerText();
    static_cast<SystemPage*>(w.page(PageSystem))->setTexts(texts);

    // A business trip through Schwabing.
    auto* driversLog = static_cast<DriversLogPage*>(w.page(PageDriversLog));
    driversLog->showPlace(QStringLiteral("München-Schwabing"), QStringLiteral("Leopoldstraße"), QStringLiteral("212968"));
    driversLog->setModeCaption(QStringLiteral("Mode is BUSINESS"));
    for (const char* place : {"MüNCHEN-MAXVORSTADT,BRIENNER STRAßE", "MüNCHEN-MAXVORSTADT,TüRKENSTRAßE",
                              "MüNCHEN-SCHWABING,TüRKENSTRAßE", "MüNCHEN-SCHWABING,GEORGENSTRAßE",
                              "MüNCHEN-SCHWABING,LEOPOLDSTRAßE"})
        driversLog->addLogLine(QStringLiteral("Thursday,24.12.2026,18:30:05,212968,") + QString::fromUtf8(place));
    driversLog->showMessage(QStringLiteral(" Log entry: München-Schwabing, Leopoldstraße"));

    // A mailbox of a few messages, the second one opened.
    auto* headers = static_cast<MailHeadersPage*>(w.page(PageMailHeaders));
    headers->setDownloadEnabled(true);
    headers->addRow(QStringLiteral("Werkstatt Huber <service@huber-kfz.de>"), QStringLiteral("Ihr Termin zur Inspektion"),
                    QStringLiteral("09.12.26"));
    headers->addRow(QStringLiteral("Jürgen Müller <jm@example.de>"), QStringLiteral("Grüße aus Köln"), QStringLiteral("10.12.26"));
    headers->addRow(QStringLiteral("ADAC <info@adac.example>"), QStringLiteral("Staumeldung A9 München - Nürnberg"),
                    QStringLiteral("11.12.26"));
    headers->setStatus(QStringLiteral(" Download completed"));
    static_cast<MailPage*>(w.page(PageMail))
        ->setFields({QStringLiteral("Jürgen Müller <jm@example.de>"), QStringLiteral("car@example.de, Anna <anna@example.de>"),
                     QStringLiteral("bob@example.com"), QStringLiteral("10 Dec 2026 18:42:07"), QStringLiteral("Grüße aus Köln"),
                     QString(),
                     QStringLiteral("Hallo,\n\nwir sind gut angekommen. Der Dom ist wie immer eingerüstet, das Wetter "
                                    "hält.\n\nBis Sonntag!\nJürgen\n\n[Attachment: dom.jpg (image/jpeg, 48213 bytes)]")});

    w.setRadarItemVisible(true);
    w.setLaunchPath(QStringLiteral("/usr/bin/true"));
    for (int i = 0; i < ZarnWindow::PageCount; ++i) {
        w.ShowPage(i);
        w.setFeatureCaption(QString::fromLatin1(PageCaptions[i]));
        ok = save(w, dir, QString::fromLatin1(PageNames[i])) && ok;
    }
    w.ShowPage(ZarnWindow::ShowClassic);

    // The settings sub-pages.
    w.ShowPage(PageOptions);
    w.setFeatureCaption(QString::fromLatin1(PageCaptions[PageOptions]));
    auto* notebook = w.findChild<QTabWidget*>(QStringLiteral("TabbedNotebook1"));
    for (int t = 0; t < notebook->count(); ++t) {
        notebook->setCurrentIndex(t);
        ok = save(w, dir, QStringLiteral("01-options-tab%1").arg(t)) && ok;
    }
    notebook->setCurrentIndex(0);

    // The action bands.
    w.ShowPage(PageIbus);
    w.setFeatureCaption(QString::fromLatin1(PageCaptions[PageIbus]));
    w.findChild<TBMWpanel*>(QStringLiteral("BMWpanel18"))->click();
    ok = save(w, dir, QStringLiteral("12-ibus-actions")) && ok;
    w.ShowPage(PageNowPlaying);
    w.setFeatureCaption(QString::fromLatin1(PageCaptions[PageNowPlaying]));
    nowPlaying->PlayMP3ImageClick();
    ok = save(w, dir, QStringLiteral("05-nowplaying-options")) && ok;

    w.ShowPage(PageDriversLog);
    w.setFeatureCaption(QString::fromLatin1(PageCaptions[PageDriversLog]));
    driversLog->BMWpanel22Click();
    ok = save(w, dir, QStringLiteral("10-driverslog-actions")) && ok;
    driversLog->BMWpanel25Click();

    w.ShowMainMenu();
    w.findChild<QWidget*>(QStringLiteral("Sicherheit"))->show();
    ok = save(w, dir, QStringLiteral("sicherheit")) && ok;

    SplashScreen splash;
    splash.show();
    splash.addLine(QStringLiteral(" Initializing Sound Subsystem BASS"));
    splash.setProgress(40);
    ok = save(splash, dir, QStringLiteral("splash")) && ok;
    return ok ? 0 : 1;
}
