#pragma once

#include "core/IniDocument.h"

#include <QByteArray>
#include <QLocale>
#include <QString>

#include <memory>
#include <optional>

namespace zarn {

// One profile file (Zarn.ini). Every read looks at the file as it is on disk now;
// every write replaces the file atomically (temporary file beside it, flushed,
// renamed), so a power cut leaves the old file or the new one, never half of one.
// A batch collects many writes and replaces the file once.
// Main thread only.
class IniFile {
public:
    static constexpr qsizetype MaxValueLength = 2047;
    static constexpr qsizetype ShortValueLength = 255;

    explicit IniFile(QString path);
    ~IniFile();
    IniFile(const IniFile&) = delete;
    IniFile& operator=(const IniFile&) = delete;

    const QString& path() const { return path_; }

    // Floats use this locale's decimal separator; the system's unless set.
    void setLocale(const QLocale& locale) { locale_ = locale; }
    const QLocale& locale() const { return locale_; }

    // A missing file, section or key gives the default.
    std::optional<QString> value(const QString& section, const QString& key) const;
    bool contains(const QString& section, const QString& key) const;
    // Up to MaxValueLength characters.
    QString readString(const QString& section, const QString& key, const QString& def) const;
    // The reader with the small buffer: cuts at ShortValueLength characters.
    QString readShortString(const QString& section, const QString& key, const QString& def) const;
    // Text that is no number gives the default.
    int readInteger(const QString& section, const QString& key, int def) const;
    // Read as an integer; any non-zero value is true.
    bool readBool(const QString& section, const QString& key, bool def) const;
    // Empty or unreadable text gives the default.
    double readFloat(const QString& section, const QString& key, double def) const;
    // A value that is no color gives the default and clears *ok.
    quint32 readColor(const QString& section, const QString& key, quint32 def, bool* ok = nullptr) const;

    // Each write returns false on failure, with errorString() "Unable to write to " + path.
    bool writeString(const QString& section, const QString& key, const QString& value);
    bool writeInteger(const QString& section, const QString& key, int value);
    bool writeBool(const QString& section, const QString& key, bool value);
    bool writeFloat(const QString& section, const QString& key, double value);
    bool writeColor(const QString& section, const QString& key, quint32 color);

    // Between beginBatch and commitBatch reads and writes work on the file as it
    // was at the beginning plus the batch's writes; commitBatch writes it once.
    // beginBatch fails when an existing file cannot be read (a write would lose it).
    bool beginBatch();
    bool commitBatch();
    void cancelBatch();
    bool inBatch() const { return batch_ != nullptr; }

    const QString& errorString() const { return error_; }
    // The system's reason for the last failure.
    const QString& errorDetail() const { return errorDetail_; }

private:
    struct Snapshot {
        IniDocument doc;
        QByteArray bytes; // as read from disk
    };
    // The file now; nullopt when it exists but cannot be read.
    std::optional<Snapshot> load() const;
    IniDocument current() const;
    bool save(const Snapshot& before, const IniDocument& after);
    bool fail(const QString& detail);

    QString path_;
    QLocale locale_ = QLocale::system();
    // Parsed once per distinct file content; a change on disk is always seen.
    mutable QByteArray cachedBytes_;
    mutable IniDocument cachedDoc_;
    mutable bool cacheValid_ = false;
    std::unique_ptr<Snapshot> batch_;
    IniDocument batchDoc_;
    QString error_;
    mutable QString errorDetail_;
};

} // namespace zarn
