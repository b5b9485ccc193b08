#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QHash>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

namespace {

// What each layer may use directly; a layer may use whatever those use in turn.
//   app -> ui -> media, vehicle, services -> ibus -> core
// The browser module implements an interface of ui and is loaded at run time, beside app.
const QHash<QString, QStringList>& arrows()
{
    static const QHash<QString, QStringList> table = {
        {QStringLiteral("app"), {QStringLiteral("ui")}},
        {QStringLiteral("webengine"), {QStringLiteral("ui")}},
        {QStringLiteral("ui"), {QStringLiteral("media"), QStringLiteral("vehicle"), QStringLiteral("services")}},
        {QStringLiteral("media"), {QStringLiteral("ibus")}},
        {QStringLiteral("vehicle"), {QStringLiteral("ibus")}},
        {QStringLiteral("services"), {QStringLiteral("ibus")}},
        {QStringLiteral("ibus"), {QStringLiteral("core")}},
        {QStringLiteral("core"), {}},
    };
    return table;
}

bool mayUse(const QString& from, const QString& to)
{
    if (from == to)
        return true;
    for (const QString& next : arrows().value(from))
        if (mayUse(next, to))
            return true;
    return false;
}

// Every quoted include of the tree under src that crosses an arrow the wrong way or
// names no layer, as "file:line: text". Files right under src (the program entry)
// belong to app.
QStringList violations(const QString& srcRoot)
{
    static const QRegularExpression include(QStringLiteral("^\\s*#\\s*include\\s*\"([^\"]+)\""));
    const QDir root(srcRoot);
    QStringList found;
    QDirIterator it(srcRoot, {QStringLiteral("*.h"), QStringLiteral("*.cpp")}, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        const QString relative = root.relativeFilePath(path);
        const QString layer = relative.contains(QLatin1Char('/')) ? relative.section(QLatin1Char('/'), 0, 0)
                                                                   : QStringLiteral("app");
        if (!arrows().contains(layer)) {
            found << relative + QStringLiteral(": folder is no layer");
            continue;
        }
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
            found << relative + QStringLiteral(": cannot be read");
            continue;
        }
        int lineNumber = 0;
        while (!file.atEnd()) {
            const QString line = QString::fromUtf8(file.readLine());
            ++lineNumber;
            const QRegularExpressionMatch m = include.match(line);
            if (!m.hasMatch())
                continue;
            const QString target = m.captured(1);
            const QString where = QStringLiteral("%1:%2: ").arg(relative).arg(lineNumber);
            if (!target.contains(QLatin1Char('/'))) {
                found << where + target + QStringLiteral(" names no layer");
                continue;
            }
            const QString used = target.section(QLatin1Char('/'), 0, 0);
            if (!arrows().contains(used))
                found << where + target + QStringLiteral(" names no layer");
            else if (!mayUse(layer, used))
                found << where + layer + QStringLiteral(" may not use ") + used;
        }
    }
    found.sort();
    return found;
}

void writeFile(const QString& path, const QByteArray& text)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(text);
}

} // namespace

class TestLayers : public QObject {
    Q_OBJECT
private slots:
    void sourceTreeFollowsTheArrows()
    {
        const QString src = qEnvironmentVariable("ZARN_SOURCE_DIR") + QStringLiteral("/src");
        QVERIFY2(QFileInfo(src + QStringLiteral("/core")).isDir(), qPrintable(src));
        const QStringList wrong = violations(src);
        QVERIFY2(wrong.isEmpty(), qPrintable(wrong.join(QLatin1Char('\n'))));
    }

    void checkerJudgesEachInclude_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QString>("expected"); // empty: allowed

        QTest::addRow("layer uses itself") << "ibus/A.cpp" << QByteArray("#include \"ibus/A.h\"\n") << "";
        QTest::addRow("one arrow down") << "ibus/A.cpp" << QByteArray("#include \"core/Timer.h\"\n") << "";
        QTest::addRow("several arrows down") << "app/A.cpp" << QByteArray("#include \"core/Timer.h\"\n") << "";
        QTest::addRow("ui uses each middle layer") << "ui/pages/P.cpp"
            << QByteArray("#include \"media/M.h\"\n#include \"vehicle/V.h\"\n#include \"services/S.h\"\n") << "";
        QTest::addRow("program entry is app") << "main.cpp" << QByteArray("#include \"app/MainWindow.h\"\n") << "";
        QTest::addRow("system header") << "core/A.cpp" << QByteArray("#include <QString>\n") << "";
        QTest::addRow("commented out") << "core/A.cpp" << QByteArray("// #include \"ui/X.h\"\n") << "";
        QTest::addRow("upward") << "ibus/A.cpp" << QByteArray("#include \"ui/ZarnWindow.h\"\n")
                                << "ibus/A.cpp:1: ibus may not use ui";
        QTest::addRow("upward past one layer") << "core/A.h" << QByteArray("\n#  include \"ibus/X.h\"\n")
                                               << "core/A.h:2: core may not use ibus";
        QTest::addRow("sideways") << "media/A.cpp" << QByteArray("#include \"vehicle/V.h\"\n")
                                  << "media/A.cpp:1: media may not use vehicle";
        QTest::addRow("services up to media") << "services/A.cpp" << QByteArray("#include \"media/M.h\"\n")
                                              << "services/A.cpp:1: services may not use media";
        QTest::addRow("browser module uses ui") << "webengine/W.cpp" << QByteArray("#include \"ui/W.h\"\n") << "";
        QTest::addRow("app does not use the browser module") << "app/A.cpp"
            << QByteArray("#include \"webengine/W.h\"\n") << "app/A.cpp:1: app may not use webengine";
        QTest::addRow("not a layer") << "main.cpp" << QByteArray("#include \"tools/X.h\"\n")
                                                     << "main.cpp:1: tools/X.h names no layer";
        QTest::addRow("no layer named") << "ui/A.cpp" << QByteArray("#include \"B.h\"\n")
                                        << "ui/A.cpp:1: B.h names no layer";
        QTest::addRow("folder without arrows") << "net/A.cpp" << QByteArray("#include \"core/Timer.h\"\n")
                                               << "net/A.cpp: folder is no layer";
    }

    void checkerJudgesEachInclude()
    {
        QFETCH(QString, file);
        QFETCH(QByteArray, text);
        QFETCH(QString, expected);
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        writeFile(dir.filePath(file), text);
        QCOMPARE(violations(dir.path()), expected.isEmpty() ? QStringList() : QStringList{expected});
    }
};

QTEST_GUILESS_MAIN(TestLayers)
#include "tst_layers.moc"
