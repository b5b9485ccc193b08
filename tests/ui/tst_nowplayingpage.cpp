// The now-playing page: what a view shows, the overlay's items and hiding timer on
// virtual time, the knob's seek and press, the cover's fallbacks, and that a progress
// tick repaints only the time and the slider.
#include "InputFixture.h"

#include "core/StatusLog.h"
#include "ui/FocusNavigator.h"
#include "ui/SelectActions.h"
#include "ui/CoverImage.h"
#include "ui/FormatIcon.h"
#include "ui/PlainPanel.h"
#include "ui/TBMWpanel.h"
#include "ui/TextScroller.h"
#include "ui/pages/NowPlayingPage.h"

#include "TestSupport.h"

#include <QBuffer>
#include <QImage>
#include <QSet>
#include <QSignalSpy>
#include <QSlider>
#include <QTemporaryDir>
#include <QTest>

using namespace zarn;

Q_DECLARE_METATYPE(zarn::NowPlayingView::Format)

namespace {

NowPlayingView playing()
{
    NowPlayingView v;
    v.coverPath.clear();
    v.playMark = QStringLiteral(">");
    v.timeText = QStringLiteral("3:07 / 4:05");
    v.bitrateText = QStringLiteral("192");
    v.sampleRateText = QStringLiteral("44100");
    v.format = NowPlayingView::Format::Mp3;
    v.progressMax = 245;
    v.progressValue = 187;
    v.scrollerText = QStringLiteral("/music/Die Ärzte/Geräusch/03 - Schrei nach Liebe.mp3");
    v.scrolling = true;
    v.title = QStringLiteral("Schrei nach Liebe & mehr");
    v.artist = QStringLiteral("Die Ärzte");
    v.album = QStringLiteral("Die Bestie in Menschengestalt");
    v.year = QStringLiteral("1993");
    v.genre = QStringLiteral("Punk");
    v.pauseCaption = QStringLiteral("(1) Resume");
    v.randomizeCaption = QStringLiteral(" Randomize (4) ");
    v.randomCaption = QStringLiteral("Random is ON");
    v.randomStatus = QStringLiteral("Playing 0 of 12");
    return v;
}

QImage filled(QColor c, QSize size = QSize(40, 40))
{
    QImage img(size, QImage::Format_RGB32);
    img.fill(c);
    return img;
}

// Counts the paint events of every control of a page, by name.
struct PaintLog : QObject {
    QStringList painted;
    bool eventFilter(QObject* o, QEvent* e) override
    {
        if (e->type() == QEvent::Paint)
            painted << o->objectName();
        return false;
    }
};

// A shown page on virtual time, with the trace on.
struct Bench {
    test::VirtualTime time;
    StatusLog log;
    NowPlayingPage page;
    Bench()
    {
        log.setTimerTraceEnabled(true);
        page.setStatusLog(&log);
        page.resize(800, 535);
        page.show();
    }
    template <class T = QWidget>
    T* find(const char* name) const
    {
        return page.findChild<T*>(QLatin1String(name));
    }
    QString caption(const char* name) const { return find<PlainPanel>(name)->caption(); }
    TBMWpanel* item(const char* name) const { return find<TBMWpanel>(name); }
    bool overlayShown() const { return page.MP3OptionsPanel()->isVisible(); }
    QStringList traces() const { return test::texts(log).filter(QStringLiteral("$$$ Timer")); }
};

} // namespace

class TestNowPlayingPage : public QObject {
    Q_OBJECT
private slots:
    void setViewShowsEveryValue();
    void formatIcons_data();
    void formatIcons();
    void sliderKeepsMaximumBelowItsIncrement();
    void sliderReleaseSeeks();
    void overlayItems_data();
    void overlayItems();
    void overlayHidesOnVirtualTime();
    void reopeningRestartsTheHidingTime();
    void knobSeek_data();
    void knobSeek();
    void pressShowsTheOverlay();
    void knobOnTheWindow();
    void tickRepaintsOnlyTimeAndSlider();
    void scrollerMovesOnlyWhileScrolling();
    void cover_data();
    void cover();
    void coverFillsTheRightPart();
};

void TestNowPlayingPage::setViewShowsEveryValue()
{
    Bench b;
    const NowPlayingView v = playing();
    b.page.setView(v);

    const QList<std::pair<const char*, QString>> texts{
        {"paused_label", v.playMark}, {"TimeOfPiece", v.timeText}, {"Panel64", v.bitrateText},
        {"Panel67", v.sampleRateText}, {"edTitle", v.title},       {"edArtist", v.artist},
        {"edAlbum", v.album},          {"edYear", v.year},         {"edGenre", v.genre},
    };
    for (const auto& [name, text] : texts)
        QCOMPARE(b.caption(name), text);
    // Tag texts are drawn as they are: "&" is not a mnemonic.
    QVERIFY(b.find<PlainPanel>("edTitle")->literalText());
    QVERIFY(b.find<PlainPanel>("edTitle")->wordWrap());
    QCOMPARE(b.find<PlainPanel>("edTitle")->height(), 77);

    auto* progress = b.find<QSlider>("Progress");
    QCOMPARE(progress->minimum(), 0);
    QCOMPARE(progress->maximum(), 245);
    QCOMPARE(progress->value(), 187);
    QCOMPARE(progress->width(), 401);
    QCOMPARE(b.find<FormatIcon>("playbmp")->format(), NowPlayingView::Format::Mp3);
    QCOMPARE(b.find<QWidget>("PaintFrame")->size(), QSize(393, 124));
    auto* scroller = b.find<TextScroller>("MP3_scroller");
    QCOMPARE(scroller->text(), v.scrollerText);
    QVERIFY(scroller->scrolling());

    QCOMPARE(b.item("BMWpanel54")->BMW_supercaption(), v.pauseCaption);
    QCOMPARE(b.item("BMWpanel59")->BMW_supercaption(), v.randomizeCaption);
    QCOMPARE(b.item("BMWpanel58")->BMW_supercaption(), v.randomCaption);
    QCOMPARE(b.item("BMWpanel72")->BMW_supercaption(), v.randomStatus);
    QCOMPARE(b.page.view(), v);

    NowPlayingView noSeek = v;
    noSeek.seekEnabled = false;
    b.page.setView(noSeek);
    QVERIFY(!b.item("BMWpanel57")->isEnabled());
    QVERIFY(!b.item("BMWpanel61")->isEnabled());
    QVERIFY(b.item("BMWpanel60")->isEnabled());
    b.page.setView(v);
    QVERIFY(b.item("BMWpanel57")->isEnabled());
    QVERIFY(b.item("BMWpanel61")->isEnabled());
}

void TestNowPlayingPage::formatIcons_data()
{
    QTest::addColumn<NowPlayingView::Format>("format");
    QTest::addColumn<bool>("drawn");
    QTest::addRow("MP3") << NowPlayingView::Format::Mp3 << true;
    QTest::addRow("WMA") << NowPlayingView::Format::Wma << true;
    QTest::addRow("OGG") << NowPlayingView::Format::Ogg << true;
    QTest::addRow("other extension: empty") << NowPlayingView::Format::None << false;
}

// Each format has its own picture; the icon on the page draws the view's one.
void TestNowPlayingPage::formatIcons()
{
    QFETCH(NowPlayingView::Format, format);
    QFETCH(bool, drawn);
    Bench b;
    NowPlayingView v = playing();
    v.format = format;
    b.page.setView(v);
    auto* icon = b.find<FormatIcon>("playbmp");
    QCOMPARE(icon->format(), format);
    QCOMPARE(icon->size(), QSize(32, 32));

    QImage shown(icon->size(), QImage::Format_ARGB32_Premultiplied);
    shown.fill(Qt::transparent);
    icon->render(&shown, QPoint(), QRegion(), QWidget::DrawChildren);
    const QImage expected = FormatIcon::picture(format);
    QCOMPARE(expected.isNull(), !drawn);
    QCOMPARE(shown, drawn ? expected.convertToFormat(shown.format()) : shown);
    if (!drawn)
        QCOMPARE(shown.pixel(16, 16), qRgba(0, 0, 0, 0));

    const QList<NowPlayingView::Format> others{NowPlayingView::Format::Mp3, NowPlayingView::Format::Wma,
                                               NowPlayingView::Format::Ogg};
    for (NowPlayingView::Format other : others)
        if (drawn && other != format)
            QVERIFY(FormatIcon::picture(other) != expected);
}

// A track shorter than the slider's increment leaves the maximum as it was.
void TestNowPlayingPage::sliderKeepsMaximumBelowItsIncrement()
{
    Bench b;
    auto* progress = b.find<QSlider>("Progress");
    QCOMPARE(progress->maximum(), 100);
    NowPlayingView v = playing();
    v.progressMax = 1;
    v.progressValue = 0;
    b.page.setView(v);
    QCOMPARE(progress->maximum(), 100);
    v.progressMax = 2;
    b.page.setView(v);
    QCOMPARE(progress->maximum(), 2);
    // Values are clamped into the range.
    v.progressValue = 7;
    b.page.setView(v);
    QCOMPARE(progress->value(), 2);
}

void TestNowPlayingPage::sliderReleaseSeeks()
{
    Bench b;
    b.page.setView(playing());
    auto* progress = b.find<QSlider>("Progress");
    QSignalSpy seek(&b.page, &NowPlayingPage::seekRequested);

    progress->setSliderDown(true);
    progress->setSliderPosition(60);
    // A progress tick during the drag leaves the handle where the user holds it.
    NowPlayingView tick = playing();
    tick.progressValue = 188;
    tick.timeText = QStringLiteral("3:08 / 4:05");
    b.page.setView(tick);
    QCOMPARE(progress->value(), 60);
    QCOMPARE(seek.count(), 0);

    progress->setSliderDown(false);
    QCOMPARE(seek.count(), 1);
    QCOMPARE(seek.first().first().toInt(), 60);

    // The drag with the mouse ends the same way.
    const QRect groove = progress->rect();
    const QPoint handle(groove.left() + groove.width() * 60 / 245, groove.center().y());
    QTest::mousePress(progress, Qt::LeftButton, {}, handle);
    QTest::mouseMove(progress, QPoint(groove.right() - 2, groove.center().y()));
    QTest::mouseRelease(progress, Qt::LeftButton, {}, QPoint(groove.right() - 2, groove.center().y()));
    QCOMPARE(seek.count(), 2);
    QVERIFY2(seek.last().first().toInt() > 200, qPrintable(seek.last().first().toString()));
}

void TestNowPlayingPage::overlayItems_data()
{
    QTest::addColumn<QString>("item");
    QTest::addColumn<QByteArray>("request");
    QTest::addColumn<int>("hideMs"); // the hiding timer after the click; 0: hidden now
    QTest::addRow("back") << "BMWpanel53" << QByteArray(SIGNAL(backRequested())) << 8000;
    QTest::addRow("close") << "BMWpanel55" << QByteArray() << 0;
    QTest::addRow("pause") << "BMWpanel54" << QByteArray(SIGNAL(pauseRequested())) << 8000;
    QTest::addRow("randomize") << "BMWpanel59" << QByteArray(SIGNAL(randomizeRequested())) << 8000;
    QTest::addRow("previous") << "BMWpanel56" << QByteArray(SIGNAL(previousRequested())) << 8000;
    QTest::addRow("next") << "BMWpanel60" << QByteArray(SIGNAL(nextRequested())) << 8000;
    QTest::addRow("rewind") << "BMWpanel57" << QByteArray(SIGNAL(rewindRequested())) << 8000;
    QTest::addRow("fast forward") << "BMWpanel61" << QByteArray(SIGNAL(forwardRequested())) << 8000;
    QTest::addRow("random toggle") << "BMWpanel58" << QByteArray(SIGNAL(randomToggleRequested())) << 8000;
    QTest::addRow("random status bar") << "BMWpanel72" << QByteArray(SIGNAL(randomToggleRequested())) << 8000;
    QTest::addRow("stop") << "BMWpanel62" << QByteArray(SIGNAL(stopRequested())) << 8000;
    QTest::addRow("stop bar") << "BMWpanel73" << QByteArray(SIGNAL(stopRequested())) << 8000;
    QTest::addRow("favourites") << "BMWpanel86" << QByteArray(SIGNAL(favouriteRequested())) << 8000;
    QTest::addRow("sound FX") << "BMWpanel87" << QByteArray(SIGNAL(soundFxRequested())) << 8000;
}

// Each item makes exactly its own request; every item but close restarts the hiding
// timer with 8000 ms, close hides at once.
void TestNowPlayingPage::overlayItems()
{
    QFETCH(QString, item);
    QFETCH(QByteArray, request);
    QFETCH(int, hideMs);
    Bench b;
    b.page.setView(playing());
    const QList<QByteArray> requests{SIGNAL(backRequested()),     SIGNAL(pauseRequested()),   SIGNAL(randomizeRequested()),
                                     SIGNAL(previousRequested()), SIGNAL(nextRequested()),    SIGNAL(rewindRequested()),
                                     SIGNAL(forwardRequested()),  SIGNAL(randomToggleRequested()),
                                     SIGNAL(stopRequested()),     SIGNAL(favouriteRequested()), SIGNAL(soundFxRequested())};
    QList<std::shared_ptr<QSignalSpy>> spies;
    for (const QByteArray& r : requests)
        spies << std::make_shared<QSignalSpy>(&b.page, r.constData());

    b.page.PlayMP3ImageClick();
    b.time.advance(3000);
    QTest::mouseClick(b.item(qPrintable(item)), Qt::LeftButton);

    for (int i = 0; i < requests.size(); ++i)
        QCOMPARE(spies[i]->count(), requests[i] == request ? 1 : 0);
    if (hideMs == 0) {
        QVERIFY(!b.overlayShown());
        return;
    }
    QCOMPARE(b.page.MP3OptionsPanelDisappearTimer().interval(), hideMs);
    b.time.advance(hideMs - 1);
    QVERIFY(b.overlayShown());
    b.time.advance(1);
    QVERIFY(!b.overlayShown());
}

void TestNowPlayingPage::overlayHidesOnVirtualTime()
{
    Bench b;
    QTest::mouseClick(b.find("PlayMP3Image"), Qt::LeftButton);
    QVERIFY(b.overlayShown());
    QCOMPARE(b.page.focusWidget(), b.item("BMWpanel53"));
    Timer& timer = b.page.MP3OptionsPanelDisappearTimer();
    QCOMPARE(timer.interval(), 7000);

    b.time.advance(6999);
    QVERIFY(b.overlayShown());
    QVERIFY(b.traces().isEmpty());
    b.time.advance(1);
    QVERIFY(!b.overlayShown());
    QVERIFY(!timer.isActive());
    QCOMPARE(b.traces(), QStringList{"$$$ Timer - MP3OptionsPanelDisappearTimer"});

    // Without the trace the tick writes nothing.
    b.log.setTimerTraceEnabled(false);
    b.page.PlayMP3ImageClick();
    b.time.advance(7000);
    QVERIFY(!b.overlayShown());
    QCOMPARE(b.traces().size(), 1);
}

// Closed and opened again before the first opening's time ran out, the overlay still
// stays its full time.
void TestNowPlayingPage::reopeningRestartsTheHidingTime()
{
    Bench b;
    b.page.PlayMP3ImageClick();
    b.time.advance(5000);
    QTest::mouseClick(b.item("BMWpanel55"), Qt::LeftButton);
    QVERIFY(!b.overlayShown());
    b.time.advance(1000);
    b.page.PlayMP3ImageClick();
    b.time.advance(6999);
    QVERIFY(b.overlayShown());
    b.time.advance(1);
    QVERIFY(!b.overlayShown());
}

void TestNowPlayingPage::knobSeek_data()
{
    QTest::addColumn<bool>("overlay");
    QTest::addColumn<QString>("mark");
    QTest::addColumn<int>("value"); // of a maximum of 245
    QTest::addColumn<int>("clockwise"); // the seek of a clockwise step; 0: the window's step
    QTest::addRow("playing") << false << ">" << 187 << 3;
    QTest::addRow("playing, at the start") << false << ">" << 0 << 3;
    QTest::addRow("one second before the end") << false << ">" << 244 << 3;
    QTest::addRow("slider at its end") << false << ">" << 245 << 0;
    QTest::addRow("paused") << false << "||" << 187 << 0;
    QTest::addRow("overlay shown") << true << ">" << 187 << 0;
}

void TestNowPlayingPage::knobSeek()
{
    QFETCH(bool, overlay);
    QFETCH(QString, mark);
    QFETCH(int, value);
    QFETCH(int, clockwise);
    Bench b;
    NowPlayingView v = playing();
    v.playMark = mark;
    v.progressValue = value;
    b.page.setView(v);
    if (overlay)
        b.page.PlayMP3ImageClick();
    QSignalSpy seek(&b.page, &NowPlayingPage::seekStepRequested);

    PageInput& input = b.page;
    QCOMPARE(input.turn(Turn::Clockwise, nullptr), clockwise != 0);
    QCOMPARE(input.turn(Turn::CounterClockwise, nullptr), clockwise != 0);
    QList<int> seeks;
    for (const QList<QVariant>& s : seek)
        seeks << s.first().toInt();
    const QList<int> expected = clockwise ? QList<int>{3, -3} : QList<int>();
    QCOMPARE(seeks, expected);
}

void TestNowPlayingPage::pressShowsTheOverlay()
{
    Bench b;
    PageInput& input = b.page;
    QVERIFY(input.press(nullptr));
    QVERIFY(b.overlayShown());
    QCOMPARE(b.page.focusWidget(), b.item("BMWpanel53"));
    QCOMPARE(b.page.MP3OptionsPanelDisappearTimer().interval(), 7000);

    // Shown already: the press is the window's (it runs the focused item).
    b.time.advance(2000);
    QVERIFY(!input.press(b.item("BMWpanel53")));
    b.time.advance(5000);
    QVERIFY(!b.overlayShown());
}

// Through the window's rules: the press opens the overlay on its back item, the knob
// then walks the overlay's items; with the overlay gone it seeks again.
void TestNowPlayingPage::knobOnTheWindow()
{
    test::VirtualTime time;
    test::RealWindow w;
    FocusNavigator nav(w.access());
    SelectActions select(w.access(), nav);
    auto* page = static_cast<NowPlayingPage*>(w.window.page(PageNowPlaying));
    page->setView(playing());
    QVERIFY(w.showActive());
    w.window.ShowPage(PageNowPlaying);
    QSignalSpy seek(page, &NowPlayingPage::seekStepRequested);

    nav.TurnbottonrightClick();
    QCOMPARE(seek.count(), 1);
    QCOMPARE(seek.last().first().toInt(), 3);

    select.SelButton1Click();
    QVERIFY(page->MP3OptionsPanel()->isVisible());
    QCOMPARE(w.focusName(), "BMWpanel53");
    nav.TurnbottonleftClick();
    QCOMPARE(w.focusName(), "BMWpanel54");
    QCOMPARE(seek.count(), 1);
    // The press now runs the focused item.
    QSignalSpy pause(page, &NowPlayingPage::pauseRequested);
    select.SelButton1Click();
    QCOMPARE(pause.count(), 1);

    time.advance(NowPlayingPage::ItemHideMs);
    QVERIFY(!page->MP3OptionsPanel()->isVisible());
    nav.TurnbottonleftClick();
    QCOMPARE(seek.count(), 2);
    QCOMPARE(seek.last().first().toInt(), -3);
}

// A progress tick changes the time text and the slider value; nothing else repaints.
void TestNowPlayingPage::tickRepaintsOnlyTimeAndSlider()
{
    Bench b;
    NowPlayingView v = playing();
    v.scrolling = false; // the scroller's own steps are checked below
    b.page.setView(v);
    QVERIFY(QTest::qWaitForWindowExposed(&b.page));
    QCoreApplication::processEvents();

    PaintLog paints;
    const QList<QWidget*> controls = b.page.findChildren<QWidget*>();
    for (QWidget* w : controls)
        w->installEventFilter(&paints);
    b.page.installEventFilter(&paints);

    b.page.setView(v);
    QCoreApplication::processEvents();
    QCOMPARE(paints.painted, QStringList());

    v.timeText = QStringLiteral("3:08 / 4:05");
    v.progressValue = 188;
    b.page.setView(v);
    QCoreApplication::processEvents();
    const QSet<QString> painted(paints.painted.cbegin(), paints.painted.cend());
    QCOMPARE(painted, (QSet<QString>{"TimeOfPiece", "Progress"}));
}

void TestNowPlayingPage::scrollerMovesOnlyWhileScrolling()
{
    Bench b;
    NowPlayingView v = playing();
    b.page.setView(v);
    auto* scroller = b.find<TextScroller>("MP3_scroller");
    QVERIFY(QTest::qWaitForWindowExposed(&b.page));
    QCoreApplication::processEvents();
    PaintLog paints;
    for (QWidget* w : b.page.findChildren<QWidget*>())
        w->installEventFilter(&paints);
    b.page.installEventFilter(&paints);

    QCOMPARE(scroller->offset(), 0);
    b.time.advance(TextScroller::TickMs * 5);
    QCOMPARE(scroller->offset(), 5 * TextScroller::StepPx);
    QCoreApplication::processEvents();
    const QSet<QString> painted(paints.painted.cbegin(), paints.painted.cend());
    QCOMPARE(painted, QSet<QString>{"MP3_scroller"});

    // Paused: it stands still; a new track starts at the left edge.
    v.scrolling = false;
    b.page.setView(v);
    b.time.advance(TextScroller::TickMs * 5);
    QCOMPARE(scroller->offset(), 5 * TextScroller::StepPx);
    v.scrollerText = QStringLiteral("/music/next.mp3");
    v.scrolling = true;
    b.page.setView(v);
    QCOMPARE(scroller->offset(), 0);

    // A text that runs off the left enters again: the offset wraps.
    b.time.advance(TextScroller::TickMs * 1000);
    QVERIFY(scroller->offset() >= 0 && scroller->offset() < std::max(scroller->width(), 400) + TextScroller::GapPx);
}

void TestNowPlayingPage::cover_data()
{
    QTest::addColumn<QString>("file");   // in the test's folder; empty: no cover path
    QTest::addColumn<QByteArray>("bytes"); // written to it; empty: the file is not made
    QTest::addColumn<bool>("isDefault");
    QByteArray jpeg;
    {
        QBuffer buffer(&jpeg);
        buffer.open(QIODevice::WriteOnly);
        filled(Qt::red, QSize(60, 60)).save(&buffer, "JPEG");
    }
    QTest::addRow("a readable JPEG") << "folder.jpg" << jpeg << false;
    QTest::addRow("no cover path") << "" << QByteArray() << true;
    QTest::addRow("missing file") << "cover.jpg" << QByteArray() << true;
    QTest::addRow("not a picture") << "front.jpg" << QByteArray("ID3\x03\x00 this is a music file") << true;
    QTest::addRow("truncated JPEG") << "track.jpg" << jpeg.left(40) << true;
    QTest::addRow("empty file") << "cover.jpg" << QByteArray("") << true;
    // A header that asks for 2.7 GB of pixels and brings a few bytes.
    QByteArray bomb("BM");
    const auto le32 = [&bomb](quint32 v) {
        for (int i = 0; i < 4; ++i)
            bomb.append(char((v >> (8 * i)) & 0xFF));
    };
    const auto le16 = [&bomb](quint16 v) { bomb.append(char(v & 0xFF)).append(char(v >> 8)); };
    le32(54 + 16), le32(0), le32(54);
    le32(40), le32(30000), le32(30000), le16(1), le16(24), le32(0), le32(0), le32(2835), le32(2835), le32(0), le32(0);
    bomb.append(16, '\x7f');
    QTest::addRow("bitmap claiming 30000 by 30000") << "huge.bmp" << bomb << true;
}

// An unreadable cover shows the default picture instead of failing; a readable one is
// read once however often the view names it.
void TestNowPlayingPage::cover()
{
    QFETCH(QString, file);
    QFETCH(QByteArray, bytes);
    QFETCH(bool, isDefault);
    QTemporaryDir dir;
    const QString path = file.isEmpty() ? QString() : dir.filePath(file);
    if (!path.isEmpty() && (!bytes.isNull()))
        test::writeAll(path, bytes);
    if (QTest::currentDataTag() == QByteArray("missing file"))
        QVERIFY(!QFile::exists(path));

    Bench b;
    b.page.setDefaultCover(QPixmap::fromImage(filled(Qt::blue)));
    NowPlayingView v = playing();
    v.coverPath = path;
    b.page.setView(v);
    auto* cover = b.find<CoverImage>("PlayMP3Image");
    QCOMPARE(cover->showsDefault(), isDefault);
    QVERIFY(!cover->shown().isNull());
    const QImage shown = cover->shown().toImage();
    const QColor centre = shown.pixelColor(shown.width() / 2, shown.height() / 2);
    if (isDefault)
        QCOMPARE(centre, QColor(Qt::blue));
    else
        QVERIFY2(centre.red() > 200 && centre.blue() < 60, qPrintable(centre.name()));

    const int loads = cover->loads();
    v.timeText = QStringLiteral("0:01 / 4:05");
    b.page.setView(v);
    QCOMPARE(cover->loads(), loads);
}

// The cover takes what the left column leaves, at any window size.
void TestNowPlayingPage::coverFillsTheRightPart()
{
    Bench b;
    b.page.resize(1018, 703);
    auto* cover = b.find("PlayMP3Image");
    auto* bar = b.find("StatusBar2");
    QCOMPARE(cover->geometry(), QRect(409, 0, 1018 - 409, bar->y()));
    QCOMPARE(bar->geometry(), QRect(0, 703 - 48, 1018, 48));
    QCOMPARE(b.find("Progress")->geometry().width(), 401);
}

QTEST_MAIN(TestNowPlayingPage)
#include "tst_nowplayingpage.moc"
