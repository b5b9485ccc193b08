// Mail messages from their raw bytes: header decoding (encoded words, raw 8-bit, wrong
// charsets), the body of single-part and multipart messages with their transfer
// encodings, HTML as text, attachments listed, and malformed structure.
#include "services/HtmlText.h"
#include "services/MailMessage.h"

#include <QTest>

using namespace zarn;

namespace {

QByteArray crlf(QByteArray text)
{
    return text.replace("\n", "\n");
}

QByteArray multipart(const QByteArray& type, const QList<QByteArray>& parts)
{
    QByteArray m = "From: a@example.com\nSubject: parts\nMIME-Version: 1.0\nContent-Type: multipart/" + type
                   + "; boundary=\"XX\"\n\npreamble\n";
    for (const QByteArray& p : parts)
        m += "--XX\n" + p + "\n";
    return crlf(m + "--XX--\n");
}

} // namespace

class TestMailMessage : public QObject {
    Q_OBJECT
private slots:
    void headers_data();
    void headers();
    void body_data();
    void body();
    void attachmentsAreListedNotShown();
    void deepNestingIsCut();
    void garbageNeverFails_data();
    void garbageNeverFails();
    void html_data();
    void html();
};

void TestMailMessage::headers_data()
{
    QTest::addColumn<QByteArray>("raw");
    QTest::addColumn<QString>("from");
    QTest::addColumn<QString>("subject");

    QTest::addRow("plain") << crlf("From: Bob <bob@example.com>\nSubject: Hello\n\nx\n") << "Bob <bob@example.com>" << "Hello";
    QTest::addRow("encoded words Q and B")
        << crlf("From: =?ISO-8859-1?Q?J=FCrgen_M=FCller?= <jm@example.de>\nSubject: =?UTF-8?B?R3LDvMOfZSBhdXMgS8O2bG4=?=\n\nx\n")
        << QString::fromUtf8("Jürgen Müller <jm@example.de>") << QString::fromUtf8("Grüße aus Köln");
    QTest::addRow("raw 8-bit UTF-8") << crlf("From: a@example.com\nSubject: Stra\xc3\x9f" "e\n\nx\n") << "a@example.com"
                                     << QString::fromUtf8("Straße");
    QTest::addRow("raw 8-bit Latin-1") << crlf("From: a@example.com\nSubject: Gr\xfc\xdf" "e\n\nx\n") << "a@example.com"
                                       << QString::fromUtf8("Grüße");
    QTest::addRow("unknown charset in an encoded word")
        << crlf("From: a@example.com\nSubject: =?x-no-such-charset?Q?caf=C3=A9?=\n\nx\n") << "a@example.com"
        << QString::fromUtf8("café");
}

void TestMailMessage::headers()
{
    QFETCH(QByteArray, raw);
    QFETCH(QString, from);
    QFETCH(QString, subject);
    const MailMessage m = MailMessage::parse(raw);
    QCOMPARE(m.from, from);
    QCOMPARE(m.subject, subject);
}

void TestMailMessage::body_data()
{
    QTest::addColumn<QByteArray>("raw");
    QTest::addColumn<QString>("body");

    QTest::addRow("single part without MIME") << crlf("From: a@example.com\nSubject: s\n\nJust text.\nTwo lines.\n")
                                              << "Just text.\nTwo lines.\n";
    QTest::addRow("quoted-printable Latin-1")
        << crlf("Content-Type: text/plain; charset=iso-8859-1\nContent-Transfer-Encoding: quoted-printable\n\nF=FC=DFe und ein sehr=\n langer Satz\n")
        << QString::fromUtf8("Füße und ein sehr langer Satz\n");
    QTest::addRow("base64 UTF-8") << crlf("Content-Type: text/plain; charset=utf-8\nContent-Transfer-Encoding: base64\n\nS8O2bG4=\n")
                                  << QString::fromUtf8("Köln");
    QTest::addRow("invalid charset, UTF-8 bytes")
        << crlf("Content-Type: text/plain; charset=\"bogus-42\"\n\nK\xc3\xb6ln\n") << QString::fromUtf8("Köln\n");
    QTest::addRow("invalid charset, Latin-1 bytes")
        << crlf("Content-Type: text/plain; charset=\"bogus-42\"\n\nK\xf6ln\n") << QString::fromUtf8("Köln\n");
    QTest::addRow("plain then HTML: the last text part")
        << multipart("alternative", {"Content-Type: text/plain\n\nplain words",
                                     "Content-Type: text/html\n\n<html><body><p>Hello <b>HTML</b> &amp; you</p></body></html>"})
        << "Hello HTML & you";
    QTest::addRow("HTML then plain") << multipart("alternative", {"Content-Type: text/html\n\n<p>html</p>",
                                                                   "Content-Type: text/plain\n\nplain words"})
                                     << "plain words";
    QTest::addRow("unterminated boundary")
        << crlf("Content-Type: multipart/mixed; boundary=\"B\"\n\n--B\nContent-Type: text/plain\n\nbeginning and no end\n")
        << "beginning and no end\n";
}

void TestMailMessage::body()
{
    QFETCH(QByteArray, raw);
    QFETCH(QString, body);
    QCOMPARE(MailMessage::parse(raw).body, body);
}

void TestMailMessage::attachmentsAreListedNotShown()
{
    const MailMessage m = MailMessage::parse(multipart(
        "mixed", {"Content-Type: text/plain\n\nsee the file",
                  "Content-Type: text/plain\nContent-Disposition: attachment; filename=\"notes.txt\"\n\nsecret notes",
                  "Content-Type: application/pdf; name=\"a.pdf\"\nContent-Transfer-Encoding: base64\n\nJVBERi0=\n"}));
    QCOMPARE(m.body, QStringLiteral("see the file"));
    QCOMPARE(m.parts.size(), 3);
    QCOMPARE(m.attachmentList(), QStringLiteral("[Attachment: notes.txt (text/plain, 12 bytes)]\n"
                                                "[Attachment: a.pdf (application/pdf, 5 bytes)]"));
}

void TestMailMessage::deepNestingIsCut()
{
    QByteArray m = "From: a@example.com\nMIME-Version: 1.0\nContent-Type: multipart/mixed; boundary=\"b0\"\n\n";
    constexpr int Levels = 100;
    for (int i = 1; i < Levels; ++i)
        m += "--b" + QByteArray::number(i - 1) + "\nContent-Type: multipart/mixed; boundary=\"b" + QByteArray::number(i) + "\"\n\n";
    m += "--b" + QByteArray::number(Levels - 1) + "\nContent-Type: text/plain\n\ndeep inside\n";
    const MailMessage parsed = MailMessage::parse(crlf(m));
    QVERIFY(parsed.truncated);
    QVERIFY(parsed.body.isEmpty());
    QVERIFY(parsed.attachmentList().endsWith(QStringLiteral("[More parts not shown]")));
}

void TestMailMessage::garbageNeverFails_data()
{
    QTest::addColumn<QByteArray>("raw");
    QTest::addRow("empty") << QByteArray();
    QTest::addRow("binary") << QByteArray("\x00\xff\x01\r\n\r\n\x00", 8);
    QTest::addRow("header without end") << QByteArray(100000, 'A');
    QTest::addRow("boundary empty") << crlf("Content-Type: multipart/mixed; boundary=\"\"\n\n--\n--\n");
    QTest::addRow("bad base64") << crlf("Content-Transfer-Encoding: base64\n\n!!!!====@@@\n");
}

void TestMailMessage::garbageNeverFails()
{
    QFETCH(QByteArray, raw);
    const MailMessage m = MailMessage::parse(raw);
    QCOMPARE(MailMessage::parse(raw), m);
}

void TestMailMessage::html_data()
{
    QTest::addColumn<QString>("html");
    QTest::addColumn<QString>("text");
    QTest::addRow("breaks") << "a<br>b<p>c</p>d" << "a\nb\nc\nd";
    QTest::addRow("script and style dropped") << "<style>p{}</style>x<script>alert(1)</script>y" << "x y";
    QTest::addRow("references") << "&lt;&#65;&#x42;&euro;&nope;" << QString::fromUtf8("<AB€&nope;");
    QTest::addRow("blanks folded") << "  one \n\t two  " << "one two";
    QTest::addRow("unterminated tag") << "text <b" << "text";
    QTest::addRow("unterminated comment") << "x<!-- y" << "x";
}

void TestMailMessage::html()
{
    QFETCH(QString, html);
    QFETCH(QString, text);
    QCOMPARE(htmlToText(html), text);
}

QTEST_GUILESS_MAIN(TestMailMessage)
#include "tst_mailmessage.moc"
