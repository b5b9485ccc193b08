#include "core/IniFile.h"

#include "core/IniValues.h"

#include <QFile>
#include <QSaveFile>

namespace zarn {

IniFile::IniFile(QString path)
    : path_(std::move(path))
{
}

IniFile::~IniFile() = default;

std::optional<IniFile::Snapshot> IniFile::load() const
{
    QFile file(path_);
    if (!file.exists())
        return Snapshot{};
    if (!file.open(QIODevice::ReadOnly)) {
        errorDetail_ = file.errorString();
        return std::nullopt;
    }
    Snapshot snap;
    snap.bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        errorDetail_ = file.errorString();
        return std::nullopt;
    }
    if (!cacheValid_ || snap.bytes != cachedBytes_) {
        cachedDoc_ = IniDocument::fromBytes(snap.bytes);
        cachedBytes_ = snap.bytes;
        cacheValid_ = true;
    }
    snap.doc = cachedDoc_;
    return snap;
}

IniDocument IniFile::current() const
{
    if (batch_)
        return batchDoc_;
    auto snap = load();
    return snap ? std::move(snap->doc) : IniDocument();
}

std::optional<QString> IniFile::value(const QString& section, const QString& key) const
{
    return current().value(section, key);
}

bool IniFile::contains(const QString& section, const QString& key) const
{
    return current().contains(section, key);
}

QString IniFile::readString(const QString& section, const QString& key, const QString& def) const
{
    return value(section, key).value_or(def).left(MaxValueLength);
}

QString IniFile::readShortString(const QString& section, const QString& key, const QString& def) const
{
    return value(section, key).value_or(def).left(ShortValueLength);
}

int IniFile::readInteger(const QString& section, const QString& key, int def) const
{
    const auto text = value(section, key);
    return text ? ini::parseInteger(*text).value_or(def) : def;
}

bool IniFile::readBool(const QString& section, const QString& key, bool def) const
{
    return readInteger(section, key, def ? 1 : 0) != 0;
}

double IniFile::readFloat(const QString& section, const QString& key, double def) const
{
    const auto text = value(section, key);
    return text ? ini::parseFloat(*text, locale_).value_or(def) : def;
}

quint32 IniFile::readColor(const QString& section, const QString& key, quint32 def, bool* ok) const
{
    if (ok)
        *ok = true;
    const auto text = value(section, key);
    if (!text)
        return def;
    const auto color = ini::parseColor(*text);
    if (ok)
        *ok = color.has_value();
    return color.value_or(def);
}

bool IniFile::writeString(const QString& section, const QString& key, const QString& value)
{
    if (batch_) {
        batchDoc_.setValue(section, key, value);
        return true;
    }
    const auto before = load();
    if (!before)
        return fail(errorDetail_);
    IniDocument after = before->doc;
    after.setValue(section, key, value);
    return save(*before, after);
}

bool IniFile::writeInteger(const QString& section, const QString& key, int value)
{
    return writeString(section, key, QString::number(value));
}

bool IniFile::writeBool(const QString& section, const QString& key, bool value)
{
    return writeString(section, key, value ? QStringLiteral("1") : QStringLiteral("0"));
}

bool IniFile::writeFloat(const QString& section, const QString& key, double value)
{
    return writeString(section, key, ini::formatFloat(value, locale_));
}

bool IniFile::writeColor(const QString& section, const QString& key, quint32 color)
{
    return writeString(section, key, ini::colorToString(color));
}

bool IniFile::beginBatch()
{
    auto snap = load();
    if (!snap)
        return fail(errorDetail_);
    batch_ = std::make_unique<Snapshot>(std::move(*snap));
    batchDoc_ = batch_->doc;
    return true;
}

bool IniFile::commitBatch()
{
    if (!batch_)
        return true;
    const auto batch = std::move(batch_);
    return save(*batch, batchDoc_);
}

void IniFile::cancelBatch()
{
    batch_.reset();
}

bool IniFile::save(const Snapshot& before, const IniDocument& after)
{
    const QByteArray bytes = after.toBytes();
    // Rewriting the same bytes only wears the car PC's flash.
    if (bytes == before.bytes && QFile::exists(path_))
        return true;
    QSaveFile file(path_);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        const QString detail = file.errorString();
        file.cancelWriting();
        return fail(detail);
    }
    return true;
}

bool IniFile::fail(const QString& detail)
{
    error_ = QStringLiteral("Unable to write to ") + path_;
    errorDetail_ = detail;
    return false;
}

} // namespace zarn
