#include "carsim/DemoHome.h"

#include "carsim/DemoRadar.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>
#include <QStringList>

namespace zarn::carsim {

namespace {
QString sectionOf(const QString& line)
{
    const QString t = line.trimmed();
    if (t.startsWith(QLatin1Char('[')) && t.endsWith(QLatin1Char(']')))
        return t.mid(1, t.size() - 2).trimmed();
    return {};
}

bool isKey(const QString& line, const QString& key)
{
    const qsizetype eq = line.indexOf(QLatin1Char('='));
    return eq > 0 && line.left(eq).trimmed().compare(key, Qt::CaseInsensitive) == 0;
}
} // namespace

QString setIniValue(const QString& text, const QString& section, const QString& key, const QString& value)
{
    QStringList lines = text.split(QLatin1Char('\n'));
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    const QString entry = key + QLatin1Char('=') + value;
    qsizetype sectionStart = -1;
    qsizetype lastInSection = -1;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QString name = sectionOf(lines[i]);
        if (!name.isEmpty()) {
            if (sectionStart >= 0)
                break;
            if (name.compare(section, Qt::CaseInsensitive) == 0)
                sectionStart = lastInSection = i;
            continue;
        }
        if (sectionStart < 0)
            continue;
        if (isKey(lines[i], key)) {
            lines[i] = entry;
            return lines.join(QLatin1Char('\n')) + QLatin1Char('\n');
        }
        if (!lines[i].trimmed().isEmpty())
            lastInSection = i;
    }
    if (sectionStart >= 0)
        lines.insert(lastInSection + 1, entry);
    else
        lines << QLatin1Char('[') + section + QLatin1Char(']') << entry;
    return lines.join(QLatin1Char('\n')) + QLatin1Char('\n');
}

bool prepareDemoHome(const QString& dir, const QString& devicePath, QString* error)
{
    if (!QDir().mkpath(dir)) {
        *error = QStringLiteral("cannot create %1").arg(dir);
        return false;
    }
    const QString path = QDir(dir).filePath(QStringLiteral("Zarn.ini"));
    QString text;
    QFile existing(path);
    if (existing.exists()) {
        if (!existing.open(QIODevice::ReadOnly)) {
            *error = QStringLiteral("cannot read %1: %2").arg(path, existing.errorString());
            return false;
        }
        text = QString::fromUtf8(existing.readAll());
    }
    text = setIniValue(text, QStringLiteral("COM-Port"), QStringLiteral("DevicePath"), devicePath);
    text = setIniValue(text, QStringLiteral("CD_Emulation"), QStringLiteral("CD_CheckBox"), QStringLiteral("1"));
    if (!writeDemoRadar(dir, text, error))
        return false;
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(text.toUtf8()) < 0 || !file.commit()) {
        *error = QStringLiteral("cannot write %1: %2").arg(path, file.errorString());
        return false;
    }
    return true;
}

} // namespace zarn::carsim
