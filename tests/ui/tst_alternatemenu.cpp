#include "ui/TTransparentPanel.h"

#include <QImage>
#include <QLabel>
#include <QPixmap>
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

} // namespace

class TstAlternateMenu : public QObject {
    Q_OBJECT
private slots:
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

QTEST_MAIN(TstAlternateMenu)
#include "tst_alternatemenu.moc"
