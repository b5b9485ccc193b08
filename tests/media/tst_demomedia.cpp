#include "media/TrackTags.h"

#include "TestSupport.h"

#include <QDirIterator>
#include <QFileInfo>
#include <QMap>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

using namespace zarn;

namespace {

bool makeTree(const QString& dir, QString* err)
{
    QProcess p;
    p.start(QStringLiteral("bash"), {test::sourcePath(QStringLiteral("scripts/make-demo-media.sh")), dir});
    const bool ok = p.waitForFinished(300000) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
    *err = QString::fromLocal8Bit(p.readAllStandardOutput() + p.readAllStandardError());
    return ok;
}

// Every entry below dir with its modification time.
QMap<QString, QDateTime> entries(const QString& dir)
{
    QMap<QString, QDateTime> out;
    QDirIterator it(dir, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        it.next();
        out.insert(it.filePath().mid(dir.size()), it.fileInfo().lastModified());
    }
    return out;
}

} // namespace

class TestDemoMedia : public QObject {
    Q_OBJECT

    QTemporaryDir tmp_;
    QString root_;

private slots:
    void initTestCase()
    {
        QVERIFY(tmp_.isValid());
        root_ = tmp_.filePath(QStringLiteral("music"));
        QString err;
        QVERIFY2(makeTree(root_, &err), qPrintable(err));
        QCOMPARE(err, QString()); // silent when all goes well
    }

    void tree_data()
    {
        QTest::addColumn<QString>("entry");
        QTest::addColumn<bool>("directory");
        QTest::addRow("directory that looks like a file") << "Live.mp3" << true;
        QTest::addRow("directory with a dot") << "Best.Of" << true;
        QTest::addRow("favourites") << "$  Favourites" << true;
        QTest::addRow("cover") << "Zarn Demo/folder.jpg" << false;
        QTest::addRow("favourite's own cover") << "$  Favourites/02 - Autobahn.jpg" << false;
        QTest::addRow("OGG") << "Best.Of/Evening Tone.ogg" << false;
        QTest::addRow("WMA") << "Best.Of/Night Tone.wma" << false;
    }

    void tree()
    {
        QFETCH(QString, entry);
        QFETCH(bool, directory);
        const QFileInfo info(root_ + QLatin1Char('/') + entry);
        QVERIFY2(info.exists(), qPrintable(entry));
        QCOMPARE(info.isDir(), directory);
        if (!directory)
            QVERIFY(info.size() > 1000);
    }

    void tracks_data()
    {
        QTest::addColumn<QString>("track");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("year");
        QTest::addColumn<QString>("bitrate");
        QTest::addRow("ID3v2.3, umlaut") << "Zarn Demo/01 - Morning Drive.mp3" << QStringLiteral("Morgenfahrt über Land")
                                         << "2004" << "192";
        QTest::addRow("ID3v2.4, umlaut, no TYER") << "Zarn Demo/02 - Autobahn.mp3" << QStringLiteral("Autobahn Süd") << ""
                                                  << "VBR";
        QTest::addRow("inside the directory named like a file") << "Live.mp3/Encore.mp3" << "Encore" << "" << "160";
    }

    void tracks()
    {
        QFETCH(QString, track);
        QFETCH(QString, title);
        QFETCH(QString, year);
        QFETCH(QString, bitrate);
        const QString path = root_ + QLatin1Char('/') + track;
        const std::optional<TrackTags> tags = readTrackTags(path);
        QVERIFY(tags);
        QCOMPARE(tags->title, title);
        QCOMPARE(tags->artist, QStringLiteral("Zarn Demo Band"));
        QCOMPARE(tags->year, year);
        QCOMPARE(GetBitrateText(path), bitrate);
    }

    void secondRunKeepsWhatExists()
    {
        const QMap<QString, QDateTime> before = entries(root_);
        QString err;
        QVERIFY2(makeTree(root_, &err), qPrintable(err));
        QCOMPARE(entries(root_), before);
    }
};

QTEST_GUILESS_MAIN(TestDemoMedia)
#include "tst_demomedia.moc"
