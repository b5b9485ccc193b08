#include "ui/AlternateMenu.h"
#include "ui/ColorScheme.h"
#include "ui/TBMWpanel.h"
#include "ui/TTransparentPanel.h"
#include "ui/ZarnWindow.h"

#include <QImage>
#include <QLabel>
#include <QPixmap>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using namespace zarn;

namespace {

// Every pixel tells where it is: red = x, green = y.
QPixmap positionPicture(int w, int h, int blue = 0)
{
    QImage img(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            img.setPixel(x, y, qRgb(x % 256, y % 256, blue));
    return QPixmap::fromImage(img);
}

QRgb pixelOf(QWidget* w, QPoint at)
{
    return w->grab().toImage().pixel(at);
}

QColor labelColor(const ZarnWindow& w, const char* label)
{
    return w.findChild<QLabel*>(QLatin1String(label))->palette().color(QPalette::WindowText);
}

// The window showing its picture menu.
struct Fixture {
    ZarnWindow w;
    AlternateMenu* menu;
    Fixture()
        : menu(buildAlternateMenu(w, w.page(PageAlternateMenu)))
    {
        w.roles.clFontHigh = 0x00FF00;
        w.roles.clFontLow = 0x0000FF;
        ApplyColorScheme(w);
        w.ShowPage(ZarnWindow::ShowCustomized);
    }
    TTransparentPanel* item(const char* name) const { return menu->item(QLatin1String(name)); }
};

} // namespace

class TstAlternateMenu : public QObject {
    Q_OBJECT
private slots:
    void defaultPositions_data();
    void defaultPositions();
    void focusColorsFollowTheFocus();
    void wordRunsItsMainMenuItem_data();
    void wordRunsItsMainMenuItem();
    void positionsRoundTrip();
    void draggingMovesTheWord();
    void captionsAreCopiedOnce();
    void backgroundPicture();
    void transparentPanelShowsThePictureUnderIt_data();
    void transparentPanelShowsThePictureUnderIt();
    void transparentPanelIsPlainWithoutPictureOrTransparency();
    void transparentPanelFollowsMovesAndNewPictures();
};

void TstAlternateMenu::transparentPanelShowsThePictureUnderIt_data()
{
    QTest::addColumn<QPoint>("picturePos"); // in the picture's parent
    QTest::addColumn<bool>("pictureInOwnParent");
    QTest::addColumn<QPoint>("panelPos");
    QTest::addColumn<QPoint>("expectedCorner"); // picture pixel under the panel's 0,0
    QTest::addRow("picture at the origin, same parent") << QPoint(0, 0) << false << QPoint(40, 30) << QPoint(40, 30);
    QTest::addRow("picture shifted, same parent") << QPoint(10, 5) << false << QPoint(40, 30) << QPoint(30, 25);
    QTest::addRow("picture in a container at 20,10") << QPoint(5, 5) << true << QPoint(40, 30) << QPoint(15, 15);
}

void TstAlternateMenu::transparentPanelShowsThePictureUnderIt()
{
    QFETCH(QPoint, picturePos);
    QFETCH(bool, pictureInOwnParent);
    QFETCH(QPoint, panelPos);
    QFETCH(QPoint, expectedCorner);

    QWidget page;
    page.resize(300, 200);
    QWidget* container = &page;
    if (pictureInOwnParent) {
        container = new QWidget(&page);
        container->setGeometry(20, 10, 280, 190);
    }
    auto* picture = new QLabel(container);
    picture->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    picture->setPixmap(positionPicture(250, 180));
    picture->setGeometry(QRect(picturePos, QSize(250, 180)));
    auto* panel = new TTransparentPanel("E644Panel", &page);
    panel->setGeometry(QRect(panelPos, QSize(50, 20)));
    panel->setImage(picture);
    panel->setTransparent(true);

    QCOMPARE(panel->coveredRect(), QRect(expectedCorner, QSize(50, 20)));
    const QImage shown = panel->grab().toImage();
    for (const QPoint at : {QPoint(0, 0), QPoint(49, 0), QPoint(0, 19), QPoint(49, 19), QPoint(17, 11)}) {
        const QPoint under = expectedCorner + at;
        QCOMPARE(shown.pixel(at), qRgb(under.x(), under.y(), 0));
    }
}

void TstAlternateMenu::transparentPanelIsPlainWithoutPictureOrTransparency()
{
    QWidget page;
    page.resize(300, 200);
    auto* picture = new QLabel(&page);
    picture->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    picture->setGeometry(0, 0, 300, 200);
    picture->setPixmap(positionPicture(300, 200));
    auto* panel = new TTransparentPanel("E646Panel", &page);
    panel->setGeometry(40, 30, 50, 20);
    QPalette pal = panel->palette();
    pal.setColor(QPalette::Window, QColor(0x12, 0x34, 0x56));
    panel->setPalette(pal);
    const QRgb plain = qRgb(0x12, 0x34, 0x56);

    panel->setImage(picture); // not transparent yet
    QCOMPARE(pixelOf(panel, {5, 5}), plain);
    panel->setTransparent(true);
    QCOMPARE(pixelOf(panel, {5, 5}), qRgb(45, 35, 0));
    panel->setImage(nullptr);
    QCOMPARE(pixelOf(panel, {5, 5}), plain);

    // A picture that failed to load: the panel stays plain.
    auto* empty = new QLabel(&page);
    panel->setImage(empty);
    QCOMPARE(pixelOf(panel, {5, 5}), plain);

    // Reaching past the picture's edge: the picture where it is, the plain color beyond.
    picture->setPixmap(positionPicture(60, 40));
    panel->setImage(picture);
    QCOMPARE(pixelOf(panel, {19, 9}), qRgb(59, 39, 0));
    QCOMPARE(pixelOf(panel, {20, 9}), plain);
    QCOMPARE(pixelOf(panel, {5, 10}), plain);
}

void TstAlternateMenu::transparentPanelFollowsMovesAndNewPictures()
{
    QWidget page;
    page.resize(300, 200);
    auto* picture = new QLabel(&page);
    picture->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    picture->setGeometry(0, 0, 300, 200);
    picture->setPixmap(positionPicture(300, 200));
    auto* panel = new TTransparentPanel("E648Panel", &page);
    panel->setGeometry(10, 10, 50, 20);
    panel->setImage(picture);
    panel->setTransparent(true);
    QCOMPARE(pixelOf(panel, {0, 0}), qRgb(10, 10, 0));

    panel->move(100, 120);
    QCOMPARE(pixelOf(panel, {0, 0}), qRgb(100, 120, 0));
    QCOMPARE(panel->coveredRect(), QRect(100, 120, 50, 20));
    panel->resize(70, 30);
    QCOMPARE(pixelOf(panel, {69, 29}), qRgb(169, 149, 0));

    picture->setPixmap(positionPicture(300, 200, 77));
    QCOMPARE(pixelOf(panel, {0, 0}), qRgb(100, 120, 77));
}

void TstAlternateMenu::defaultPositions_data()
{
    QTest::addColumn<QString>("item");
    QTest::addColumn<QPoint>("place"); // left, top
    QTest::addRow("settings") << "E649Panel" << QPoint(0, 0);
    QTest::addRow("music") << "E644Panel" << QPoint(0, 50);
    QTest::addRow("I-Bus explorer") << "E644Panel1" << QPoint(0, 100);
    QTest::addRow("system status") << "E644Panel2" << QPoint(0, 150);
    QTest::addRow("driver's log") << "E644Panel3" << QPoint(0, 200);
    QTest::addRow("movies") << "E646Panel" << QPoint(0, 250);
    QTest::addRow("exit") << "E6445Panel" << QPoint(0, 300);
    QTest::addRow("web") << "E648Panel" << QPoint(0, 350);
    QTest::addRow("radar shares its top with mail") << "E60QuilPanel" << QPoint(0, 400);
    QTest::addRow("mail") << "E600Panel" << QPoint(0, 400);
}

void TstAlternateMenu::defaultPositions()
{
    QFETCH(QString, item);
    QFETCH(QPoint, place);
    Fixture f;
    TTransparentPanel* panel = f.menu->item(item);
    QVERIFY(panel);
    QCOMPARE(panel->geometry(), QRect(place, QSize(250, 47)));
    QCOMPARE(f.menu->itemPositions().value(item), place);
    QCOMPARE(panel->focusPolicy(), Qt::StrongFocus);
    QCOMPARE(panel->Image(), f.w.findChild<QLabel*>("E64Image"));
    QVERIFY(panel->Transparent());
    auto* label = panel->findChild<QLabel*>();
    QCOMPARE(label->x(), 4);
    QCOMPARE(label->font().family(), QString("Arial Narrow"));
    QCOMPARE(label->font().pixelSize(), 40);
    QVERIFY(label->font().bold());
}

void TstAlternateMenu::focusColorsFollowTheFocus()
{
    Fixture f;
    f.w.show();
    QVERIFY(QTest::qWaitForWindowActive(&f.w));
    const QColor high(Qt::green), low(Qt::red);

    f.item("E644Panel")->setFocus();
    QCOMPARE(labelColor(f.w, "E644Label"), high);
    QCOMPARE(labelColor(f.w, "E646Label"), low);
    f.item("E646Panel")->setFocus();
    QCOMPARE(labelColor(f.w, "E644Label"), low);
    QCOMPARE(labelColor(f.w, "E646Label"), high);

    // A new unselected color recolors the words at once; the focused word stays selected.
    f.w.roles.clFontLow = 0x00FFFF;
    ApplyColorScheme(f.w);
    QCOMPARE(labelColor(f.w, "E644Label"), QColor(Qt::yellow));
    QCOMPARE(labelColor(f.w, "E646Label"), high);
}

void TstAlternateMenu::wordRunsItsMainMenuItem_data()
{
    QTest::addColumn<QString>("item");
    QTest::addColumn<QString>("standsFor");
    for (const AlternateMenu::Item& i : AlternateMenu::items())
        QTest::addRow("%s", i.panel) << QString::fromLatin1(i.panel) << QString::fromLatin1(i.standsFor);
}

void TstAlternateMenu::wordRunsItsMainMenuItem()
{
    QFETCH(QString, item);
    QFETCH(QString, standsFor);
    Fixture f;
    auto* target = f.w.findChild<TBMWpanel*>(standsFor);
    QVERIFY(target);
    QSignalSpy clicked(target, &TBMWpanel::clicked);
    TTransparentPanel* panel = f.menu->item(item);

    QTest::mouseClick(panel, Qt::LeftButton, {}, QPoint(200, 20));
    QCOMPARE(clicked.size(), 1);
    // On the word itself.
    QTest::mouseClick(panel->findChild<QLabel*>(), Qt::LeftButton, {}, QPoint(10, 20));
    QCOMPARE(clicked.size(), 2);
    // The knob press runs the item's click slot.
    QVERIFY(QMetaObject::invokeMethod(panel, "click"));
    QCOMPARE(clicked.size(), 3);
}

void TstAlternateMenu::positionsRoundTrip()
{
    Fixture f;
    QMap<QString, QPoint> saved;
    int n = 0;
    for (const AlternateMenu::Item& i : AlternateMenu::items()) {
        saved.insert(QString::fromLatin1(i.panel), QPoint(10 * n, 480 - 40 * n));
        ++n;
    }
    f.menu->setItemPositions(saved);
    QCOMPARE(f.menu->itemPositions(), saved);

    // Names not given keep their place; unknown names are ignored.
    f.menu->setItemPositions({{"E600Panel", QPoint(300, 7)}, {"NoSuchPanel", QPoint(1, 1)}});
    saved["E600Panel"] = QPoint(300, 7);
    QCOMPARE(f.menu->itemPositions(), saved);
}

void TstAlternateMenu::draggingMovesTheWord()
{
    Fixture f;
    TTransparentPanel* panel = f.item("E648Panel");
    auto* target = f.w.findChild<TBMWpanel*>("BMWpanel7");
    QSignalSpy clicked(target, &TBMWpanel::clicked);
    const QPoint start = panel->pos();

    QTest::mousePress(panel, Qt::LeftButton, {}, QPoint(10, 10));
    QTest::mouseMove(panel, QPoint(60, 40));
    QCOMPARE(panel->pos(), start + QPoint(50, 30));
    QTest::mouseMove(panel, QPoint(110, 50)); // the item has moved under the mouse
    QCOMPARE(panel->pos(), start + QPoint(150, 70));
    QTest::mouseRelease(panel, Qt::LeftButton, {}, QPoint(10, 10));
    QCOMPARE(panel->pos(), start + QPoint(150, 70));
    QCOMPARE(clicked.size(), 0);
    QCOMPARE(f.menu->itemPositions().value("E648Panel"), start + QPoint(150, 70));

    // Moving without a held button does nothing.
    QTest::mouseMove(panel, QPoint(30, 30));
    QCOMPARE(panel->pos(), start + QPoint(150, 70));

    // A shaky click is still a click.
    QTest::mousePress(panel, Qt::LeftButton, {}, QPoint(10, 10));
    QTest::mouseMove(panel, QPoint(12, 11));
    QTest::mouseRelease(panel, Qt::LeftButton, {}, QPoint(12, 11));
    QCOMPARE(panel->pos(), start + QPoint(150, 70));
    QCOMPARE(clicked.size(), 1);

    // The word cannot be dragged off the page.
    QWidget* page = f.w.page(PageAlternateMenu);
    QTest::mousePress(panel, Qt::LeftButton, {}, QPoint(10, 10));
    QTest::mouseMove(panel, QPoint(-3000, 5000));
    QTest::mouseRelease(panel, Qt::LeftButton, {}, QPoint(10, 10));
    QCOMPARE(panel->pos(), QPoint(0, page->height() - panel->height()));
}

void TstAlternateMenu::captionsAreCopiedOnce()
{
    Fixture f;
    f.menu->copyCaptions();
    QCOMPARE(f.w.findChild<QLabel*>("E646Label")->text(), QString("MPG, DivX & DVD"));
    QCOMPARE(f.w.findChild<QLabel*>("E644Label")->text(),
             f.w.findChild<TBMWpanel*>("BMWpanel1")->BMW_supercaption());
    f.w.findChild<TBMWpanel*>("BMWpanel1")->setBMW_supercaption("Tunes");
    QCOMPARE(f.w.findChild<QLabel*>("E644Label")->text(), QString("MP3 Player"));
    f.menu->copyCaptions();
    QCOMPARE(f.w.findChild<QLabel*>("E644Label")->text(), QString("Tunes"));
}

void TstAlternateMenu::backgroundPicture()
{
    Fixture f;
    TTransparentPanel* panel = f.item("E6445Panel"); // at 0, 300
    const QRgb grey = qRgb(0x80, 0x80, 0x80);
    QVERIFY(!f.menu->loadBackground("/no/such/E64Image.bmp"));
    QVERIFY(f.menu->background().isNull());
    QCOMPARE(pixelOf(panel, {5, 5}), grey);

    QTemporaryDir dir;
    const QString file = dir.filePath("E64Image.bmp");
    QVERIFY(positionPicture(400, 450).toImage().save(file));
    QVERIFY(f.menu->loadBackground(file));
    QCOMPARE(f.w.alternateBackgroundSize(), QSize(400, 450));
    QCOMPARE(pixelOf(panel, {5, 5}), qRgb(5, (305) % 256, 0));

    // A new picture: every word shows the piece of the new one under it.
    f.menu->setBackground(positionPicture(400, 450, 200));
    QCOMPARE(pixelOf(panel, {5, 5}), qRgb(5, 305 % 256, 200));
    QCOMPARE(pixelOf(f.item("E649Panel"), {7, 3}), qRgb(7, 3, 200));

    // A broken file leaves the picture.
    const QString broken = dir.filePath("broken.bmp");
    QFile out(broken);
    QVERIFY(out.open(QIODevice::WriteOnly));
    out.write("BM no picture");
    out.close();
    QVERIFY(!f.menu->loadBackground(broken));
    QCOMPARE(pixelOf(panel, {5, 5}), qRgb(5, 305 % 256, 200));
}

QTEST_MAIN(TstAlternateMenu)
#include "tst_alternatemenu.moc"
