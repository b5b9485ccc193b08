#include "media/Id3Reader.h"
#include "media/MpegFrames.h"
#include "media/TrackTags.h"

#include <QCryptographicHash>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

using namespace zarn;

Q_DECLARE_METATYPE(zarn::TrackTags)
Q_DECLARE_METATYPE(std::optional<zarn::TrackTags>)

namespace QTest {
template <> char* toString(const zarn::TrackTags& t)
{
    return qstrdup(QStringLiteral("{title \"%1\", artist \"%2\", album \"%3\", year \"%4\", genre \"%5\"}")
                       .arg(t.title, t.artist, t.album, t.year, t.genre).toUtf8().constData());
}
} // namespace QTest

namespace {

QByteArray be(quint32 v, int n)
{
    QByteArray out(n, '\0');
    for (int i = n - 1; i >= 0; --i, v >>= 8)
        out[i] = char(v & 0xFF);
    return out;
}

QByteArray syncsafe(quint32 v)
{
    QByteArray out(4, '\0');
    for (int i = 3; i >= 0; --i, v >>= 7)
        out[i] = char(v & 0x7F);
    return out;
}

QByteArray tag(int major, uchar flags, const QByteArray& body)
{
    return QByteArray("ID3") + char(major) + '\0' + char(flags) + syncsafe(quint32(body.size())) + body;
}

QByteArray frame2(const char* id, const QByteArray& content) { return id + be(content.size(), 3) + content; }

QByteArray frame3(const char* id, const QByteArray& content, uchar format = 0)
{
    return id + be(content.size(), 4) + '\0' + char(format) + content;
}

QByteArray frame4(const char* id, const QByteArray& content, uchar format = 0)
{
    return id + syncsafe(quint32(content.size())) + '\0' + char(format) + content;
}

// A frame with a size field as given, whatever its content.
QByteArray rawFrame(const char* id, const QByteArray& sizeField, const QByteArray& content = {})
{
    return id + sizeField + QByteArray(2, '\0') + content;
}

QByteArray latin1(const char* text) { return QByteArray(1, '\0') + text; }

QByteArray utf16(const QString& text, bool bigEndian)
{
    QByteArray out;
    for (const QChar c : text) {
        const char hi = char(c.unicode() >> 8), lo = char(c.unicode() & 0xFF);
        out += bigEndian ? hi : lo;
        out += bigEndian ? lo : hi;
    }
    return out;
}

QByteArray unsynchronised(const QByteArray& data)
{
    QByteArray out;
    for (qsizetype i = 0; i < data.size(); ++i) {
        out += data[i];
        if (uchar(data[i]) == 0xFF && (i + 1 == data.size() || (uchar(data[i + 1]) & 0xE0) == 0xE0 || data[i + 1] == 0))
            out += '\0';
    }
    return out;
}

QByteArray zlib(const QByteArray& data) { return qCompress(data).mid(4); } // without Qt's length prefix

QByteArray v1Record(const char* title, const char* artist, const char* album, const char* year, uchar genre)
{
    auto field = [](const char* text, int n) { return QByteArray(text).leftJustified(n, '\0', true); };
    return "TAG" + field(title, 30) + field(artist, 30) + field(album, 30) + field(year, 4) + field("", 30)
        + char(genre);
}

// Frames of one stream: each starts with the header and is frameLength bytes long.
QByteArray frames(const QByteArray& header, int frameLength, int count, int xingAt = -1)
{
    QByteArray out;
    for (int i = 0; i < count; ++i) {
        QByteArray f = header + QByteArray(frameLength - 4, '\0');
        if (i == 0 && xingAt >= 0)
            f.replace(xingAt, 4, "Xing");
        out += f;
    }
    return out;
}

const QByteArray Mpeg1Layer3At128 = QByteArray::fromHex("fffb9000");

const QString Umlauts = QStringLiteral("Grüße");

bool runFfmpeg(const QStringList& args)
{
    QProcess p;
    p.start(QStringLiteral("ffmpeg"),
            QStringList{QStringLiteral("-nostdin"), QStringLiteral("-v"), QStringLiteral("error"), QStringLiteral("-y"),
                        QStringLiteral("-f"), QStringLiteral("lavfi"), QStringLiteral("-i"),
                        QStringLiteral("sine=frequency=440:duration=1")}
                + args);
    if (!p.waitForFinished(120000) || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0) {
        qWarning() << "ffmpeg" << args << p.readAllStandardError();
        return false;
    }
    return true;
}

QStringList tagArgs(int version)
{
    return {QStringLiteral("-id3v2_version"), QString::number(version), QStringLiteral("-metadata"),
            QStringLiteral("title=") + Umlauts, QStringLiteral("-metadata"), QStringLiteral("artist=Zarn Band"),
            QStringLiteral("-metadata"), QStringLiteral("album=Demo"), QStringLiteral("-metadata"),
            QStringLiteral("date=1999"), QStringLiteral("-metadata"), QStringLiteral("genre=Rock")};
}

} // namespace

class TestTrackTags : public QObject {
    Q_OBJECT

    QTemporaryDir dir_;
    QString path(const QString& name) const { return dir_.filePath(name); }
    void write(const QString& name, const QByteArray& bytes)
    {
        QFile f(path(name));
        QVERIFY(f.open(QIODevice::WriteOnly));
        QCOMPARE(f.write(bytes), bytes.size());
    }

private slots:
    void initTestCase()
    {
        QVERIFY(dir_.isValid());
        const QString mp3 = QStringLiteral("libmp3lame");
        const QStringList mp3Codec{QStringLiteral("-c:a"), mp3};
        QVERIFY(runFfmpeg(mp3Codec + QStringList{"-b:a", "192k", path("cbr192.mp3")}));
        QVERIFY(runFfmpeg(mp3Codec + QStringList{"-ac", "2", "-q:a", "2", path("vbr.mp3")}));
        QVERIFY(runFfmpeg(mp3Codec + QStringList{"-b:a", "128k"} + tagArgs(3) + QStringList{path("v23.mp3")}));
        QVERIFY(runFfmpeg(mp3Codec + QStringList{"-q:a", "4"} + tagArgs(4) + QStringList{path("v24.mp3")}));
        QVERIFY(runFfmpeg({"-c:a", "libvorbis", "-metadata", "title=Ogg", path("tone.ogg")}));
        QVERIFY(runFfmpeg({"-c:a", "wmav2", "-metadata", "title=Wma", path("tone.wma")}));
        // The v2.3 title with its umlauts is written as UTF-16 with a byte order mark.
        QFile v23(path("v23.mp3"));
        QVERIFY(v23.open(QIODevice::ReadOnly));
        QVERIFY(v23.read(64).contains(QByteArray("\x01\xff\xfe", 3) + utf16(Umlauts, false)));

        QVERIFY(QDir(dir_.path()).mkdir(QStringLiteral("Live.mp3")));
        QCOMPARE(::mkfifo(QFile::encodeName(path("pipe.mp3")).constData(), 0644), 0);
        write(QStringLiteral("empty.mp3"), {});
        write(QStringLiteral("five.mp3"), QByteArray("ID3\x03\x00", 5));
        write(QStringLiteral("text.wma"), QByteArray("This is not music.\n").repeated(50));
        QByteArray beyond = tag(3, 0, frame3("TIT2", latin1("Title")));
        write(QStringLiteral("beyond.mp3"), beyond.replace(6, 4, syncsafe(1 << 27)));
    }

    void frameText_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("text");
        const QString name = QStringLiteral("Müller");
        QTest::addRow("Latin-1 stays Latin-1") << latin1("M\xfcller") << name;
        QTest::addRow("UTF-16 little-endian mark") << "\x01\xff\xfe" + utf16(name, false) + QByteArray(2, '\0') << name;
        QTest::addRow("UTF-16 big-endian mark") << "\x01\xfe\xff" + utf16(name, true) << name;
        QTest::addRow("UTF-16 without mark reads little-endian") << "\x01" + utf16(name, false) << name;
        QTest::addRow("UTF-16BE") << "\x02" + utf16(name, true) << name;
        QTest::addRow("UTF-8") << "\x03" + name.toUtf8() << name;
        QTest::addRow("first of several values") << QByteArray("\x03Rock\0Pop", 9) << QStringLiteral("Rock");
        QTest::addRow("UTF-16 ends at a zero unit")
            << "\x01\xff\xfe" + utf16(QStringLiteral("Ab"), false) + QByteArray(2, '\0') + utf16(QStringLiteral("c"), false)
            << QStringLiteral("Ab");
        QTest::addRow("odd byte after UTF-16 dropped") << QByteArray("\x01\xff\xfe" "A\0B", 6) << QStringLiteral("A");
        QTest::addRow("blanks trimmed") << latin1("  Title \t") << QStringLiteral("Title");
        QTest::addRow("encoding byte only") << latin1("") << QString();
        QTest::addRow("no content") << QByteArray() << QString();
    }

    void frameText()
    {
        QFETCH(QByteArray, content);
        QFETCH(QString, text);
        QCOMPARE(id3FrameText(content), text);
    }

    void tags_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<TrackTags>("tags");
        const QByteArray five3 = frame3("TIT2", latin1("Title")) + frame3("TPE1", latin1("Artist"))
            + frame3("TALB", latin1("Album")) + frame3("TYER", latin1("1999")) + frame3("TCON", latin1("(17)"));
        const TrackTags all{"Title", "Artist", "Album", "1999", "(17)"};
        QTest::addRow("v2.3 five frames") << tag(3, 0, five3) << all;
        QTest::addRow("v2.3 padding after the frames") << tag(3, 0, five3 + QByteArray(512, '\0')) << all;
        QTest::addRow("v2.2 identifiers")
            << tag(2, 0, frame2("TT2", latin1("Title")) + frame2("TP1", latin1("Artist")) + frame2("TAL", latin1("Album"))
                             + frame2("TYE", latin1("1999")) + frame2("TCO", latin1("(17)")))
            << all;
        QTest::addRow("v2.4 year only in TDRC stays empty")
            << tag(4, 0, frame4("TDRC", "\x03" "2001") + frame4("TIT2", "\x03" "Title"))
            << TrackTags{"Title", "", "", "", ""};
        // 200 bytes: 0xC8 in a v2.3 size, 01 48 in a v2.4 one.
        const QByteArray longBytes(199, 'x');
        const QString longTitle = QString::fromLatin1(longBytes);
        QTest::addRow("v2.3 plain frame size")
            << tag(3, 0, frame3("TIT2", latin1(longBytes)) + frame3("TPE1", latin1("Artist")))
            << TrackTags{longTitle, "Artist", "", "", ""};
        QTest::addRow("v2.4 syncsafe frame size")
            << tag(4, 0, frame4("TIT2", latin1(longBytes)) + frame4("TPE1", latin1("Artist")))
            << TrackTags{longTitle, "Artist", "", "", ""};
        QTest::addRow("v2.3 extended header")
            << tag(3, 0x40, be(6, 4) + QByteArray(6, '\0') + frame3("TIT2", latin1("Title")))
            << TrackTags{"Title", "", "", "", ""};
        QTest::addRow("v2.4 extended header")
            << tag(4, 0x40, syncsafe(6) + QByteArray("\x01\x00", 2) + frame4("TIT2", latin1("Title")))
            << TrackTags{"Title", "", "", "", ""};
        QTest::addRow("v2.4 footer")
            << tag(4, 0x10, frame4("TIT2", latin1("Title"))) + "3DI\x04\x00\x10" + syncsafe(16)
            << TrackTags{"Title", "", "", "", ""};
        // Sizes count the restored bytes; FF E0 in the title is stored as FF 00 E0.
        const QByteArray sync = latin1("a\xff\xe0" "b");
        QTest::addRow("v2.3 unsynchronised tag")
            << tag(3, 0x80, unsynchronised(frame3("TIT2", sync) + frame3("TPE1", latin1("Artist"))))
            << TrackTags{QString::fromLatin1("a\xff\xe0" "b"), "Artist", "", "", ""};
        QTest::addRow("v2.4 unsynchronised frame with length indicator")
            << tag(4, 0, frame4("TIT2", syncsafe(sync.size()) + unsynchronised(sync), 0x03) + frame4("TPE1", latin1("Artist")))
            << TrackTags{QString::fromLatin1("a\xff\xe0" "b"), "Artist", "", "", ""};
        const QByteArray title = "\x03" + Umlauts.toUtf8();
        QTest::addRow("v2.3 compressed frame")
            << tag(3, 0, frame3("TIT2", be(title.size(), 4) + zlib(title), 0x80) + frame3("TPE1", latin1("Artist")))
            << TrackTags{Umlauts, "Artist", "", "", ""};
        QTest::addRow("v2.4 compressed frame")
            << tag(4, 0, frame4("TIT2", syncsafe(title.size()) + zlib(title), 0x09) + frame4("TPE1", latin1("Artist")))
            << TrackTags{Umlauts, "Artist", "", "", ""};
        QTest::addRow("v2.3 grouped frame") << tag(3, 0, frame3("TIT2", "\x07" + latin1("Title"), 0x20))
                                            << TrackTags{"Title", "", "", "", ""};
        QTest::addRow("encrypted frame gives an empty line")
            << tag(3, 0, frame3("TIT2", "\x80" + latin1("????"), 0x40) + frame3("TPE1", latin1("Artist")))
            << TrackTags{"", "Artist", "", "", ""};
        QTest::addRow("an ID3v2 tag hides an ID3v1 record")
            << tag(3, 0, frame3("TIT2", latin1("Two"))) + QByteArray(100, 'a') + v1Record("One", "Band", "", "", 17)
            << TrackTags{"Two", "", "", "", ""};
    }

    void tags()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(TrackTags, tags);
        QString problem = QStringLiteral("stale");
        QCOMPARE(readId3Tags(bytes, &problem), tags);
        QCOMPARE(problem, QString());
    }

    void hostile_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<TrackTags>("tags");
        QTest::addColumn<QString>("problem"); // a part of the text
        const QByteArray title = frame3("TIT2", latin1("Title"));
        const TrackTags titleOnly{"Title", "", "", "", ""};
        QByteArray beyond = tag(3, 0, title + frame3("TPE1", latin1("Artist")));
        beyond.replace(6, 4, syncsafe(1 << 20));
        QTest::addRow("tag beyond the file") << beyond << TrackTags{"Title", "Artist", "", "", ""} << "claims 1048576 bytes";
        QTest::addRow("frame beyond the tag")
            << tag(3, 0, title + rawFrame("TPE1", be(1000, 4), latin1("Artist"))) << titleOnly << "beyond the end of the tag";
        QTest::addRow("frame beyond the file")
            << tag(3, 0, title + frame3("TPE1", latin1("Artist"))).chopped(3) << titleOnly << "the file holds";
        QTest::addRow("compression bomb")
            << tag(3, 0, title + frame3("TALB", be(100, 4) + zlib(QByteArray(20 << 20, 'a')), 0x80)) << titleOnly
            << "inflates beyond 16777216 bytes";
        QTest::addRow("inflated size claimed beyond the bound")
            << tag(4, 0, frame4("TIT2", latin1("Title")) + frame4("TALB", syncsafe(200 << 20) + zlib("\0Album"), 0x09))
            << titleOnly << "claims to inflate";
        QTest::addRow("damaged compressed data")
            << tag(3, 0, title + frame3("TALB", be(10, 4) + "not zlib at all", 0x80)) << titleOnly << "damaged";
        QTest::addRow("cut compressed data")
            << tag(3, 0, title + frame3("TALB", be(6, 4) + zlib(latin1("Album")).chopped(4), 0x80)) << titleOnly << "damaged";
        QByteArray empties;
        for (int i = 0; i < 1000; ++i)
            empties += rawFrame("TPE1", be(0, 4));
        QTest::addRow("chain of empty frames") << tag(3, 0, title + empties) << titleOnly << "size 0";
        QByteArray chain;
        for (int i = 0; i < 5000; ++i)
            chain += frame3("PRIV", "x");
        QTest::addRow("endless chain of frames") << tag(3, 0, title + chain + frame3("TPE1", latin1("Artist"))) << titleOnly
                                                 << "more than 4096 frames";
        QTest::addRow("garbage instead of a frame")
            << tag(3, 0, title + QByteArray::fromHex("fffb9000") + QByteArray(20, 'x')) << titleOnly << "no frame identifier";
        QTest::addRow("v2.4 frame size not in 7-bit form")
            << tag(4, 0, frame4("TIT2", latin1("Title")) + rawFrame("TPE1", be(0x80, 4), latin1("Artist"))) << titleOnly
            << "not in 7-bit form";
        QTest::addRow("extended header beyond the tag") << tag(3, 0x40, be(1000, 4) + title) << TrackTags{} << "extended header";
        QByteArray badSize = tag(3, 0, title);
        badSize[9] = char(0x80);
        QTest::addRow("tag size not in 7-bit form") << badSize << TrackTags{} << "7-bit";
        QTest::addRow("compressed v2.2 tag") << tag(2, 0x40, frame2("TT2", latin1("Title"))) << TrackTags{} << "compressed";
        QTest::addRow("tag header cut short") << QByteArray("ID3\x03\x00", 5) << TrackTags{} << "cut short";
    }

    void hostile()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(TrackTags, tags);
        QFETCH(QString, problem);
        QString said;
        QCOMPARE(readId3Tags(bytes, &said), tags);
        QVERIFY2(said.contains(problem), qPrintable(said));
    }

    void id3v1_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<TrackTags>("tags");
        const QByteArray audio(300, 'a');
        QTest::addRow("genre 17") << audio + v1Record("Title", "Artist", "Album", "1987", 17)
                                  << TrackTags{"Title", "Artist", "Album", "1987", "(17) Rock"};
        QTest::addRow("first genre") << audio + v1Record("", "", "", "", 0) << TrackTags{"", "", "", "", "(0) Blues"};
        QTest::addRow("last genre") << audio + v1Record("", "", "", "", 79) << TrackTags{"", "", "", "", "(79) Hard Rock"};
        QTest::addRow("genre 80") << audio + v1Record("", "", "", "", 80) << TrackTags{};
        QTest::addRow("genre 255") << audio + v1Record("Title", "", "", "", 255) << TrackTags{"Title", "", "", "", ""};
        QTest::addRow("blank-padded fields") << audio + v1Record("  Title   ", "Artist                        ", "", "", 255)
                                             << TrackTags{"Title", "Artist", "", "", ""};
        QTest::addRow("record alone") << v1Record("T\xfctle", "", "", "", 255)
                                      << TrackTags{QString::fromLatin1("T\xfctle"), "", "", "", ""};
        QTest::addRow("ID3 of an unknown version is no ID3v2 tag")
            << "ID3\x05" + audio + v1Record("Title", "", "", "", 255) << TrackTags{"Title", "", "", "", ""};
        QTest::addRow("no record") << audio + QByteArray(128, 'x') << TrackTags{};
        QTest::addRow("shorter than a record") << QByteArray("TAG") + QByteArray(100, 'x') << TrackTags{};
    }

    void id3v1()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(TrackTags, tags);
        QString problem;
        QCOMPARE(readId3Tags(bytes, &problem), tags);
        QCOMPARE(problem, QString());
    }

    void bitrate_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("bitrate");
        const QByteArray m = Mpeg1Layer3At128;
        QTest::addRow("MPEG-1 layer III") << frames(m, 417, 3) << 128;
        QTest::addRow("MPEG-1 layer III padded") << frames(QByteArray::fromHex("fffb9200"), 418, 3) << 128;
        QTest::addRow("MPEG-1 layer II") << frames(QByteArray::fromHex("fffde400"), 1152, 3) << 384;
        QTest::addRow("MPEG-1 layer I") << frames(QByteArray::fromHex("ffffe400"), 448, 3) << 448;
        QTest::addRow("MPEG-2 layer I") << frames(QByteArray::fromHex("fff7e400"), 512, 3) << 256;
        QTest::addRow("MPEG-2 layer II") << frames(QByteArray::fromHex("fff5e800"), 1440, 3) << 160;
        QTest::addRow("MPEG-2 layer III") << frames(QByteArray::fromHex("fff38000"), 208, 3) << 64;
        QTest::addRow("MPEG-2.5 layer III") << frames(QByteArray::fromHex("ffe31800"), 72, 3) << 8;
        QTest::addRow("Xing, MPEG-1 stereo") << frames(m, 417, 3, 36) << -1;
        QTest::addRow("Xing, MPEG-1 mono") << frames(QByteArray::fromHex("fffb90c0"), 417, 3, 21) << -1;
        QTest::addRow("Xing, MPEG-2 stereo") << frames(QByteArray::fromHex("fff38000"), 208, 3, 21) << -1;
        QTest::addRow("Xing, MPEG-2 mono") << frames(QByteArray::fromHex("fff380c0"), 208, 3, 13) << -1;
        QTest::addRow("Xing at the stereo offset of a mono frame") << frames(QByteArray::fromHex("fffb90c0"), 417, 3, 36) << 128;
        QTest::addRow("one frame only") << frames(m, 417, 1) << 0;
        QTest::addRow("free format") << frames(QByteArray::fromHex("fffb0000"), 417, 3) << 0;
        QTest::addRow("bit-rate index 15") << frames(QByteArray::fromHex("fffbf000"), 417, 3) << 0;
        QTest::addRow("reserved sample rate") << frames(QByteArray::fromHex("fffb9c00"), 417, 3) << 0;
        QTest::addRow("reserved version") << frames(QByteArray::fromHex("ffeb9000"), 417, 3) << 0;
        QTest::addRow("reserved layer") << frames(QByteArray::fromHex("fff99000"), 417, 3) << 0;
        QTest::addRow("next header of another stream") << frames(m, 417, 1) + frames(QByteArray::fromHex("fff38000"), 208, 1) << 0;
        QTest::addRow("false sync before the frames")
            << QByteArray(1000, 'x') + QByteArray::fromHex("fffbb000") + QByteArray(99, 'x') + frames(m, 417, 2) << 128;
        QTest::addRow("frame pair inside the ID3v2 tag")
            << tag(3, 0, frames(QByteArray::fromHex("fffbb000"), 626, 3)) + frames(m, 417, 2) << 128;
        QTest::addRow("ID3v2 tag beyond the file is scanned over")
            << tag(3, 0, frames(m, 417, 2)).replace(6, 4, syncsafe(1 << 20)) << 128;
        for (const int at : {65535, 65536 + 4096 - 1, 4 * 1024 * 1024 - 1})
            QTest::addRow("frames at %d", at) << QByteArray(at, 'x') + frames(m, 417, 2) << 128;
        QTest::addRow("frames past the scan bound") << QByteArray(4 * 1024 * 1024, 'x') + frames(m, 417, 2) << 0;
        QTest::addRow("scan bound counts from the tag's end")
            << tag(3, 0, QByteArray(100000, '\0')) + QByteArray(4 * 1024 * 1024 - 1, 'x') + frames(m, 417, 2) << 128;
        QTest::addRow("five bytes") << frames(m, 417, 2).left(5) << 0;
        QTest::addRow("empty") << QByteArray() << 0;
    }

    void bitrate()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(int, bitrate);
        QCOMPARE(scanMpegBitrate(bytes), std::optional<int>(bitrate));
    }

    void encodedFiles_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<TrackTags>("tags");
        QTest::addColumn<QString>("bitrate");
        QTest::addRow("constant 192 kbit/s") << "cbr192.mp3" << TrackTags{} << "192";
        QTest::addRow("variable, Xing header") << "vbr.mp3" << TrackTags{} << "VBR";
        QTest::addRow("ID3v2.3, UTF-16 title")
            << "v23.mp3" << TrackTags{Umlauts, "Zarn Band", "Demo", "1999", "Rock"} << "128";
        QTest::addRow("ID3v2.4, UTF-8 title, no TYER") << "v24.mp3" << TrackTags{Umlauts, "Zarn Band", "Demo", "", "Rock"} << "VBR";
        QTest::addRow("OGG") << "tone.ogg" << TrackTags{} << "0";
        QTest::addRow("WMA") << "tone.wma" << TrackTags{} << "0";
    }

    void encodedFiles()
    {
        QFETCH(QString, name);
        QFETCH(TrackTags, tags);
        QFETCH(QString, bitrate);
        QString problem;
        const std::optional<TrackTags> read = readTrackTags(path(name), &problem);
        QVERIFY(read);
        QCOMPARE(*read, tags);
        QCOMPARE(problem, QString());
        QCOMPARE(GetBitrateText(path(name)), bitrate);
    }

    void files_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<std::optional<TrackTags>>("tags");
        QTest::addColumn<bool>("problem");
        QTest::addColumn<QString>("bitrate");
        QTest::addRow("missing file") << "missing.mp3" << std::optional<TrackTags>() << false << "";
        QTest::addRow("directory named like a track") << "Live.mp3" << std::optional<TrackTags>() << false << "";
        QTest::addRow("named pipe") << "pipe.mp3" << std::optional<TrackTags>() << false << "";
        QTest::addRow("empty file") << "empty.mp3" << std::optional<TrackTags>(TrackTags{}) << false << "0";
        QTest::addRow("five bytes") << "five.mp3" << std::optional<TrackTags>(TrackTags{}) << true << "0";
        QTest::addRow("text file named .wma") << "text.wma" << std::optional<TrackTags>(TrackTags{}) << false << "0";
        QTest::addRow("tag claiming more than the file")
            << "beyond.mp3" << std::optional<TrackTags>(TrackTags{"Title", "", "", "", ""}) << true << "0";
    }

    void files()
    {
        QFETCH(QString, name);
        QFETCH(std::optional<TrackTags>, tags);
        QFETCH(bool, problem);
        QFETCH(QString, bitrate);
        QString said = QStringLiteral("stale");
        QCOMPARE(readTrackTags(path(name), &said), tags);
        QCOMPARE(!said.isEmpty(), problem);
        QCOMPARE(GetBitrateText(path(name)), bitrate);
    }

    void readingChangesNothing()
    {
        const QString file = path(QStringLiteral("untouched.mp3"));
        QVERIFY(QFile::copy(path(QStringLiteral("v23.mp3")), file));
        QFile f(file);
        QVERIFY(f.open(QIODevice::ReadWrite));
        const QDateTime past = QDateTime::fromSecsSinceEpoch(978307200, Qt::UTC);
        QVERIFY(f.setFileTime(past, QFileDevice::FileModificationTime));
        QVERIFY(f.setFileTime(past, QFileDevice::FileAccessTime));
        f.close();
        // A track on a read-only medium reads like any other.
        QVERIFY(QFile::setPermissions(file, QFileDevice::ReadOwner | QFileDevice::ReadGroup | QFileDevice::ReadOther));
        QVERIFY(f.open(QIODevice::ReadOnly));
        const QByteArray before = QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha256);
        f.close();

        const std::optional<TrackTags> tags = readTrackTags(file);
        QVERIFY(tags);
        QCOMPARE(tags->title, Umlauts);
        QCOMPARE(GetBitrateText(file), QStringLiteral("128"));

        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha256), before);
        QCOMPARE(QFileInfo(file).lastModified().toUTC(), past);
        QCOMPARE(QFileInfo(file).permissions() & QFileDevice::WriteOwner, QFileDevice::Permissions());
    }
};

QTEST_GUILESS_MAIN(TestTrackTags)
#include "tst_tracktags.moc"
