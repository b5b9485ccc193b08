// "Add to favorites" on temporary trees: the cover taken, the texts, and copies that
// must not overwrite or leave half a file behind.
#include "media/Favourites.h"

#include "core/StatusLog.h"
#include "ReadOnlyDir.h"
#include "TestSupport.h"

#include <QDir>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <sys/mount.h>

using namespace zarn;

namespace {

struct Rig {
    QTemporaryDir root;
    StatusLog log;
    Favourites favourites{log};
    QSignalSpy texts{&favourites, &Favourites::statusChanged};

    QString music() const { return root.path(); }
    QString fav(const QString& name = {}) const
    {
        return Favourites::directory(music()) + (name.isEmpty() ? QString() : u'/' + name);
    }
    QString put(const QString& relative, const QByteArray& content)
    {
        const QString path = music() + u'/' + relative;
        QDir().mkpath(QFileInfo(path).absolutePath());
        test::writeAll(path, content);
        return path;
    }
    QString lastText() const { return texts.isEmpty() ? QString() : texts.last().first().toString(); }
    QStringList favFiles() const
    {
        return QDir(fav()).entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
    }
};

} // namespace

class TestFavourites : public QObject {
    Q_OBJECT

private slots:
    void coverAndText_data()
    {
        QTest::addColumn<QStringList>("pictures");
        QTest::addColumn<QString>("taken");
        QTest::addColumn<QString>("text");
        QTest::addRow("no picture") << QStringList{} << QString() << "File  copied to favourites ";
        QTest::addRow("folder.jpg") << QStringList{"folder.jpg"} << "folder.jpg" << "File and folder.jpg copied to favourites ";
        QTest::addRow("front and cover") << QStringList{"front.jpg", "cover.jpg"} << "cover.jpg"
                                         << "File and cover.jpg copied to favourites ";
        QTest::addRow("all three") << QStringList{"cover.jpg", "folder.jpg", "front.jpg"} << "cover.jpg"
                                   << "File and cover.jpg copied to favourites ";
    }
    void coverAndText()
    {
        QFETCH(QStringList, pictures);
        QFETCH(QString, taken);
        QFETCH(QString, text);
        Rig r;
        const QString track = r.put(QStringLiteral("Album/Song.mp3"), "song");
        for (const QString& p : pictures)
            r.put(QStringLiteral("Album/") + p, p.toUtf8());
        QVERIFY(r.favourites.add(track, r.music()));
        QCOMPARE(r.texts.first().first().toString(), QLatin1String(Favourites::WorkingText));
        QCOMPARE(r.lastText(), text);
        QCOMPARE(test::readAll(r.fav(QStringLiteral("Song.mp3"))), QByteArray("song"));
        QCOMPARE(test::readAll(r.fav(QStringLiteral("Song.jpg"))), taken.isEmpty() ? QByteArray("<missing>") : taken.toUtf8());
        QVERIFY(QFileInfo(r.fav()).fileName() == QStringLiteral("$  Favourites"));
    }

    void addingTwiceKeepsTheFirstPicture()
    {
        Rig r;
        const QString track = r.put(QStringLiteral("A/Song.mp3"), "song");
        const QString cover = r.put(QStringLiteral("A/cover.jpg"), "first");
        QVERIFY(r.favourites.add(track, r.music()));
        test::writeAll(cover, "second");
        QVERIFY(r.favourites.add(track, r.music()));
        QCOMPARE(r.lastText(), QStringLiteral("File and cover.jpg copied to favourites "));
        QCOMPARE(r.favFiles(), (QStringList{QStringLiteral("Song.jpg"), QStringLiteral("Song.mp3")}));
        QCOMPARE(test::readAll(r.fav(QStringLiteral("Song.jpg"))), QByteArray("first"));
    }

    void sameNameOtherContentTakesAFreeName()
    {
        Rig r;
        const QString one = r.put(QStringLiteral("A/Intro.mp3"), "one");
        const QString two = r.put(QStringLiteral("B/Intro.mp3"), "two");
        r.put(QStringLiteral("B/front.jpg"), "front b");
        QVERIFY(r.favourites.add(one, r.music()));
        QVERIFY(r.favourites.add(two, r.music()));
        QCOMPARE(test::readAll(r.fav(QStringLiteral("Intro.mp3"))), QByteArray("one"));
        QCOMPARE(test::readAll(r.fav(QStringLiteral("Intro (2).mp3"))), QByteArray("two"));
        QCOMPARE(test::readAll(r.fav(QStringLiteral("Intro (2).jpg"))), QByteArray("front b"));
        // The second one again finds its own copy.
        QVERIFY(r.favourites.add(two, r.music()));
        QCOMPARE(r.favFiles().size(), 3);
    }

    void trackFromTheFavouritesIsLeftAlone()
    {
        Rig r;
        const QString track = r.put(QStringLiteral("$  Favourites/Song.mp3"), "song");
        QVERIFY(!r.favourites.add(track, r.music() + u'/'));
        QCOMPARE(r.lastText(), QLatin1String(Favourites::OntoItselfText));
        QCOMPARE(r.texts.size(), 1);
        QCOMPARE(test::readAll(track), QByteArray("song"));
    }

    void nothingPlayedYet()
    {
        Rig r;
        QVERIFY(!r.favourites.add(QString(), r.music()));
        QCOMPARE(r.texts.size(), 0);
        QVERIFY(!QFileInfo::exists(r.fav()));
    }

    void noMusicRootIsAFailure()
    {
        Rig r;
        QVERIFY(!r.favourites.add(r.put(QStringLiteral("Song.mp3"), "s"), QString()));
        QCOMPARE(r.lastText(), QLatin1String(Favourites::FailedText));
        QVERIFY(!QFileInfo::exists(QStringLiteral("/$  Favourites")));
    }

    void failures_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addRow("read-only favourites") << "readonly";
        QTest::addRow("favourites is a file") << "file";
        QTest::addRow("source gone") << "missing";
        QTest::addRow("disk full") << "full";
    }
    void failures()
    {
        QFETCH(QString, kind);
        Rig r;
        QString music = r.music();
        QString track = r.put(QStringLiteral("A/Song.mp3"), QByteArray(200000, 's'));
        r.put(QStringLiteral("A/cover.jpg"), "cover");
        std::unique_ptr<test::ReadOnlyDir> readOnly;
        bool mounted = false;
        if (kind == QLatin1String("readonly")) {
            QDir().mkpath(r.fav());
            test::writeAll(r.fav(QStringLiteral("Other.mp3")), "kept");
            readOnly = std::make_unique<test::ReadOnlyDir>(r.fav());
            if (!readOnly->ok())
                QSKIP("no way to make a read-only directory here");
        } else if (kind == QLatin1String("file")) {
            test::writeAll(r.fav(), "a file");
        } else if (kind == QLatin1String("missing")) {
            QFile::remove(track);
        } else {
            // A music root on a file system too small for the track.
            music = r.music() + QStringLiteral("/small");
            QDir().mkpath(music);
            mounted = ::mount("tmpfs", QFile::encodeName(music).constData(), "tmpfs", 0, "size=64k") == 0;
            if (!mounted)
                QSKIP("cannot mount a small file system here");
        }
        const QString favDir = Favourites::directory(music);
        const bool ok = r.favourites.add(track, music);
        const QStringList left = QDir(favDir).entryList(QDir::Files | QDir::Hidden | QDir::System);
        if (mounted)
            ::umount2(QFile::encodeName(music).constData(), MNT_DETACH);
        QVERIFY(!ok);
        QCOMPARE(r.lastText(), QLatin1String(Favourites::FailedText));
        QVERIFY(test::texts(r.log).join(u'\n').contains(QStringLiteral("Copy to favourites failed: ")));
        // Nothing half-written, nothing of before lost.
        if (kind == QLatin1String("readonly"))
            QCOMPARE(left, QStringList{QStringLiteral("Other.mp3")});
        else if (kind == QLatin1String("file"))
            QCOMPARE(test::readAll(r.fav()), QByteArray("a file"));
        else
            QCOMPARE(left, QStringList{});
    }
};

QTEST_GUILESS_MAIN(TestFavourites)
#include "tst_favourites.moc"
