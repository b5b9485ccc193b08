#include "media/MusicListModel.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace zarn;

namespace {

const QString D = QString::fromUtf8(MusicListModel::DirectoryMark);

// A tree of empty files and directories; names ending in "/" are directories.
struct Tree {
    QTemporaryDir tmp;
    explicit Tree(const QStringList& paths)
    {
        for (const QString& p : paths) {
            if (p.endsWith(QLatin1Char('/'))) {
                QDir().mkpath(path(p));
            } else {
                QDir().mkpath(QFileInfo(path(p)).path());
                QFile f(path(p));
                f.open(QIODevice::WriteOnly);
            }
        }
    }
    QString root() const { return tmp.path(); }
    QString path(const QString& rel) const { return rel.isEmpty() ? tmp.path() : tmp.path() + QLatin1Char('/') + rel; }
};

QStringList texts(const MusicListModel& m)
{
    QStringList out;
    for (const MusicListModel::Entry& e : m.entries())
        out << e.text;
    return out;
}

QString highlightedText(const MusicListModel& m)
{
    return m.highlighted() < 0 ? QString() : m.entries()[m.highlighted()].text;
}

} // namespace

class TestMusicListModel : public QObject {
    Q_OBJECT
private slots:
    void listsDirectoriesAndMusicFilesSorted()
    {
        Tree t({"b.MP3", "A.ogg", "c.wma", "notes.txt", "README", "Best.Of/", "x.mp3/", "rock/", "Jazz/", ".hidden.mp3",
                ".config/", "cover.jpg"});
        MusicListModel m;
        m.setMask(QString::fromLatin1(MusicListModel::MusicMask));
        m.setDirectory(t.root());
        // Best.Of and .config have an extension: "*." does not list them; x.mp3 comes
        // through "*.mp3" as a directory; README has no extension and is a file entry.
        QCOMPARE(texts(m), (QStringList{D + "Jazz", D + "rock", D + "x.mp3", ".hidden.mp3", "A.ogg", "b.MP3", "c.wma", "README"}));
        QVERIFY(m.isDirectory(2));
        QVERIFY(!m.isDirectory(7));
        QCOMPARE(m.entryPath(2), t.path("x.mp3"));
        QCOMPARE(m.entryPath(7), t.path("README"));
        QCOMPARE(m.highlighted(), -1);
        QCOMPARE(m.selectedFilePath(), QString());
    }

    void patterns_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("pattern");
        QTest::addColumn<bool>("matches");
        QTest::addRow("no extension") << "README" << "*." << true;
        QTest::addRow("extension vs *.") << "Best.Of" << "*." << false;
        QTest::addRow("hidden name has an extension") << ".config" << "*." << false;
        QTest::addRow("case ignored") << "Song.MP3" << "*.mp3" << true;
        QTest::addRow("extension must end the name") << "song.mp3.txt" << "*.mp3" << false;
        QTest::addRow("prefix") << "Abba" << "ab*." << true;
        QTest::addRow("prefix with extension") << "abba.ogg" << "AB*.ogg" << true;
        QTest::addRow("other prefix") << "ba.ogg" << "ab*.ogg" << false;
        QTest::addRow("question mark") << "a1.mp3" << "a?.mp3" << true;
        QTest::addRow("question mark needs one") << "a.mp3" << "a?.mp3" << false;
        QTest::addRow("exact name") << "Track 01.mp3" << "track 01.mp3" << true;
        QTest::addRow("brackets are plain") << "[live].mp3" << "[live]*" << true;
        QTest::addRow("umlaut case") << QString::fromUtf8("Übung.ogg") << QString::fromUtf8("ü*.ogg") << true;
    }
    void patterns()
    {
        QFETCH(QString, name);
        QFETCH(QString, pattern);
        QFETCH(bool, matches);
        QCOMPARE(MusicListModel::matchesPattern(name, pattern), matches);
    }

    void filterMaskListsPrefixOnly()
    {
        Tree t({"abc.mp3", "ABX.ogg", "Abyss/", "ba.mp3", "a.mp3", "xab.mp3"});
        MusicListModel m;
        m.setDirectory(t.root());
        m.setMask(QStringLiteral("ab*.;ab*.mp3;ab*.wma;ab*.ogg"));
        QCOMPARE(texts(m), (QStringList{D + "Abyss", "abc.mp3", "ABX.ogg"}));
    }

    void goToPath_data()
    {
        QTest::addColumn<QString>("path"); // relative to the tree; "~" is the tree itself
        QTest::addColumn<QString>("directory");
        QTest::addColumn<QString>("mask");
        QTest::addColumn<QString>("highlighted");
        const QString music = QString::fromLatin1(MusicListModel::MusicMask);
        QTest::addRow("a directory") << "~/pop" << "~/pop" << music << "";
        QTest::addRow("a directory with a trailing slash") << "~/pop/" << "~/pop" << music << "";
        QTest::addRow("a file") << "~/pop/b.mp3" << "~/pop" << music << "b.mp3";
        QTest::addRow("dot dot") << "~/pop/deep/.." << "~/pop" << music << "";
        QTest::addRow("a wildcard") << "~/pop/*.ogg" << "~/pop" << "*.ogg" << "";
        QTest::addRow("a file the mask hides") << "~/pop/notes.txt" << "~/pop" << "notes.txt" << "notes.txt";
        QTest::addRow("a directory named like a file") << "~/x.mp3" << "~/x.mp3" << music << "";
        QTest::addRow("missing") << "~/gone" << "~/gone" << music << "";
    }
    void goToPath()
    {
        QFETCH(QString, path);
        QFETCH(QString, directory);
        QFETCH(QString, mask);
        QFETCH(QString, highlighted);
        Tree t({"pop/a.mp3", "pop/b.mp3", "pop/c.ogg", "pop/notes.txt", "pop/deep/", "x.mp3/"});
        const auto abs = [&](QString p) { return p.replace(QLatin1Char('~'), t.root()); };
        MusicListModel m;
        m.setMask(QString::fromLatin1(MusicListModel::MusicMask));
        m.setDirectory(t.root());
        m.GoToPath(abs(path));
        QCOMPARE(m.directory(), abs(directory));
        QCOMPARE(m.mask(), mask);
        QCOMPARE(highlightedText(m), highlighted);
        if (directory == "~/gone")
            QCOMPARE(m.count(), 0);
    }

    void goToPathRelativeAndRoot()
    {
        Tree t({"pop/a.mp3", "top.mp3"});
        MusicListModel m;
        m.setMask(QString::fromLatin1(MusicListModel::MusicMask));
        m.setDirectory(t.path("pop"));
        const QString cwd = QDir::currentPath();
        m.GoToPath(QStringLiteral("../top.mp3"));
        QCOMPARE(m.directory(), t.root());
        QCOMPARE(highlightedText(m), QStringLiteral("top.mp3"));
        QCOMPARE(QDir::currentPath(), cwd); // resolved, never changed into
        m.GoToPath(QStringLiteral("/"));
        QCOMPARE(m.directory(), QStringLiteral("/"));
        m.GoToPath(QStringLiteral("/.."));
        QCOMPARE(m.directory(), QStringLiteral("/"));
        QVERIFY(m.count() > 0);
        QVERIFY(m.entryPath(0).startsWith(QLatin1Char('/')) && !m.entryPath(0).startsWith(QStringLiteral("//")));
    }

    void highlightByName()
    {
        Tree t({"Song.mp3", "song.mp3", "other.mp3"});
        MusicListModel m;
        m.setMask(QStringLiteral("*.mp3"));
        m.setDirectory(t.root());
        QSignalSpy spy(&m, &MusicListModel::highlightChanged);
        m.highlightName(QStringLiteral("song.mp3"));
        QCOMPARE(highlightedText(m), QStringLiteral("song.mp3")); // the exact one of two
        m.highlightName(QStringLiteral("OTHER.MP3"));
        QCOMPARE(highlightedText(m), QStringLiteral("other.mp3"));
        m.highlightName(QStringLiteral("absent.mp3"));
        QCOMPARE(highlightedText(m), QStringLiteral("other.mp3"));
        QCOMPARE(spy.count(), 2);
        QVERIFY(!m.setHighlighted(3));
        QVERIFY(!m.setHighlighted(-1));
        QCOMPARE(m.selectedFilePath(), t.path("other.mp3"));
    }

    void relistReadsOnceAndClearsHighlight()
    {
        Tree t({"a.mp3"});
        MusicListModel m;
        m.setMask(QStringLiteral("*.mp3"));
        m.setDirectory(t.root());
        m.setHighlighted(0);
        QSignalSpy changed(&m, &MusicListModel::changed);
        m.setMask(QStringLiteral("*.mp3")); // same mask: nothing read
        m.setDirectory(t.root() + QStringLiteral("/"));
        QCOMPARE(changed.count(), 0);
        QFile(t.path("b.mp3")).open(QIODevice::WriteOnly);
        m.setDirectoryAndMask(t.root(), QStringLiteral("*.;*.mp3"));
        QCOMPARE(changed.count(), 1);
        QCOMPARE(texts(m), (QStringList{"a.mp3", "b.mp3"}));
        QCOMPARE(m.highlighted(), -1);
    }

    void badInput()
    {
        Tree t({"ok.mp3", "file.mp3"});
        MusicListModel m;
        m.setMask(QString::fromLatin1(MusicListModel::MusicMask));
        // A name that is not UTF-8, a pipe and a dangling link.
        const QByteArray dir = QFile::encodeName(t.root());
        const int fd = ::open((dir + "/bad\xff\xfe.mp3").constData(), O_CREAT | O_WRONLY, 0644);
        QVERIFY(fd >= 0);
        ::close(fd);
        QCOMPARE(::mkfifo((dir + "/pipe.mp3").constData(), 0644), 0);
        QCOMPARE(::symlink("/nonexistent/x.mp3", (dir + "/dangling.mp3").constData()), 0);
        m.setDirectory(t.root());
        QCOMPARE(m.count(), 3);
        QVERIFY(texts(m).contains(QStringLiteral("ok.mp3")));
        QVERIFY(!texts(m).contains(QStringLiteral("pipe.mp3")));

        // A root that does not exist, and a file given as a directory.
        m.setDirectory(t.path("missing"));
        QCOMPARE(m.count(), 0);
        QCOMPARE(m.directory(), t.path("missing"));
        m.setDirectory(t.path("file.mp3"));
        QCOMPARE(m.count(), 0);

        // An unreadable directory (root reads it all the same).
        QDir().mkdir(t.path("locked"));
        QFile(t.path("locked/in.mp3")).open(QIODevice::WriteOnly);
        ::chmod(QFile::encodeName(t.path("locked")).constData(), 0);
        m.setDirectory(t.path("locked"));
        QCOMPARE(m.count(), ::geteuid() == 0 ? 1 : 0);
        ::chmod(QFile::encodeName(t.path("locked")).constData(), 0755);
        ::unlink((dir + "/bad\xff\xfe.mp3").constData()); // QTemporaryDir cannot name it
    }

    void manyEntries()
    {
        QTemporaryDir tmp;
        const QByteArray dir = QFile::encodeName(tmp.path());
        for (int i = 0; i < 100000; ++i) {
            const int fd = ::open((dir + "/t" + QByteArray::number(i) + ".mp3").constData(), O_CREAT | O_WRONLY, 0644);
            QVERIFY(fd >= 0);
            ::close(fd);
        }
        MusicListModel m;
        m.setMask(QString::fromLatin1(MusicListModel::MusicMask));
        m.setDirectory(tmp.path());
        QCOMPARE(m.count(), 100000);
        QCOMPARE(m.entries().first().text, QStringLiteral("t0.mp3"));
        QCOMPARE(m.entries().last().text, QStringLiteral("t99999.mp3"));
    }
};

QTEST_GUILESS_MAIN(TestMusicListModel)
#include "tst_musiclistmodel.moc"
