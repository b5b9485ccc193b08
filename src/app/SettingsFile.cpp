#include "app/SettingsFile.h"

#include "app/SettingsKeys.h"
#include "core/IniFile.h"
#include "core/IniValues.h"
#include "core/StatusLog.h"

#include <QFileInfo>
#include <QtGlobal>

namespace zarn {

namespace {

QString siteKey(int n)
{
    return QStringLiteral("Site") + QString::number(n);
}

// A value the program cannot use stops nothing: it is named, and the default used.
void reportBadValue(StatusLog& log, const QString& section, const QString& key, const QString& text,
                    const QString& problem, const QString& outcome)
{
    const QString line = QStringLiteral("Zarn.ini [%1] %2=%3 %4 - %5")
                             .arg(section, key, text, problem, outcome);
    log.addWarning(line);
}

class Loader {
public:
    Loader(const IniFile& ini, Settings& settings, StatusLog& log)
        : ini_(ini), s_(settings), log_(log)
    {
    }

    void step(LoadStep step)
    {
        for (const SettingsKey& key : settingsKeys())
            if (key.step == step)
                read(key);
    }

    QStringList webSites() const
    {
        const QString section = QLatin1String(WebsitesSection);
        const QString unused = QLatin1String(SiteValueUnused);
        QStringList sites;
        for (int n = 0; n <= LastSiteKey; ++n) {
            const QString site = ini_.readString(section, siteKey(n), unused);
            if (site != unused && !site.isEmpty())
                sites << site;
        }
        return sites.isEmpty() ? Settings::defaultWebSites() : sites;
    }

private:
    void read(const SettingsKey& key)
    {
        const QString section = QLatin1String(key.section);
        const QString name = QLatin1String(key.key);
        const QString def = defaultText(key, s_);
        const QString text = key.type == KeyType::ShortString ? ini_.readShortString(section, name, def)
                                                              : ini_.readString(section, name, def);
        if (assignFromText(key, s_, text, ini_.locale()))
            return;
        assignFromText(key, s_, def, QLocale::c());
        if (key.type == KeyType::Color)
            reportBadValue(log_, section, name, text, QStringLiteral("is not a color"),
                           QStringLiteral("default ") + def + QStringLiteral(" used"));
        else if (key.type == KeyType::IntegerText)
            reportBadValue(log_, section, name, text, QStringLiteral("is not a whole number"),
                           QStringLiteral("default ") + def + QStringLiteral(" used"));
    }

    const IniFile& ini_;
    Settings& s_;
    StatusLog& log_;
};

void writeKey(IniFile& ini, const SettingsKey& key, const QString& spelling, Settings& s)
{
    const QString section = QLatin1String(key.section);
    std::visit(
        [&](auto field) {
            using F = decltype(field);
            if constexpr (std::is_same_v<F, StringField>)
                ini.writeString(section, spelling, field(s));
            else if constexpr (std::is_same_v<F, IntField>)
                ini.writeInteger(section, spelling, field(s));
            else if constexpr (std::is_same_v<F, BoolField>)
                ini.writeBool(section, spelling, field(s));
            else if constexpr (std::is_same_v<F, FloatField>)
                ini.writeFloat(section, spelling, field(s));
            else if constexpr (std::is_same_v<F, ColorField>)
                ini.writeColor(section, spelling, field(s));
            else
                ini.writeString(section, spelling, field(s));
        },
        key.field);
}

void writeWebSites(IniFile& ini, const QStringList& sites)
{
    const QString section = QLatin1String(WebsitesSection);
    for (int i = 0; i < sites.size(); ++i)
        ini.writeString(section, siteKey(i), sites[i]);
    // Emptied rather than left, or a deleted site would come back at the next start.
    for (int n = int(sites.size()); n <= LastSiteKey; ++n)
        if (ini.contains(section, siteKey(n)))
            ini.writeString(section, siteKey(n), QString());
}

} // namespace

Settings LoadSettings(const IniFile& ini, StatusLog& log, const SettingsLoadHooks& hooks)
{
    Settings s;
    // A first start would otherwise run on sample values without a word, and write them.
    if (!QFileInfo::exists(ini.path()))
        log.addWarning(QStringLiteral("Zarn.ini not found - starting with the defaults; a new one is written to ")
                       + ini.path());
    Loader load(ini, s, log);
    const auto splash = [&](int progress, const char* line) {
        if (hooks.splash)
            hooks.splash(progress, QLatin1String(line));
    };

    splash(28, " Processing zarn.ini...websites");
    s.webSites = load.webSites();
    splash(32, " Processing zarn.ini...custom captions");
    load.step(LoadStep::Captions);
    splash(38, " Processing zarn.ini...BMW Ibus codes");
    if (hooks.loadCodes)
        hooks.loadCodes();
    load.step(LoadStep::HeaderFont);
    load.step(LoadStep::Shutdown);

    splash(42, " Processing zarn.ini...COM port details");
    load.step(LoadStep::ComPort);
    if (hooks.comPort)
        hooks.comPort(s);

    splash(46, " Processing zarn.ini...drivers log settings");
    load.step(LoadStep::DriversLog);
    splash(48, " Processing zarn.ini...colors");
    load.step(LoadStep::Colors);
    splash(52, " Processing zarn.ini...screen position");
    load.step(LoadStep::ScreenPosition);

    splash(56, " Processing zarn.ini...radar details");
    if (s.warningThresholdKm == 0)
        s.warningThresholdKm = 1;
    load.step(LoadStep::RadarDetails);
    log.AddStatusLine(s.radarWarningCaption());

    splash(60, " Processing zarn.ini...randomizer settings");
    load.step(LoadStep::Randomizer);
    splash(64, " Processing zarn.ini...shutdown settings");
    load.step(LoadStep::ShutdownSettings);
    splash(68, " Processing zarn.ini...CD emulation details");
    load.step(LoadStep::CdEmulation);
    if (s.radarScaleKm == 0)
        s.radarScaleKm = 3;
    splash(72, " Processing zarn.ini...email details");
    load.step(LoadStep::Email);
    splash(76, " Processing zarn.ini...bitmaps");
    load.step(LoadStep::Bitmaps);
    splash(80, " Processing zarn.ini...pathes");
    splash(84, " Initializing MP3 selection list");
    splash(88, " Initializing Movie selection list");
    load.step(LoadStep::Pathes);

    s.clampToFields();
    return s;
}

bool SaveSettings(IniFile& ini, const Settings& settings, QString* error)
{
    Settings s = settings;
    s.clampToFields();
    const bool ownBatch = !ini.inBatch();
    if (ownBatch && !ini.beginBatch()) {
        if (error)
            *error = ini.errorString();
        return false;
    }
    for (const SavedKey& saved : saveOrder()) {
        if (!saved.key) {
            writeWebSites(ini, s.webSites);
            continue;
        }
        const SettingsKey* key = findSettingsKey(QLatin1String(saved.section), QLatin1String(saved.key));
        Q_ASSERT(key && key->saved);
        if (key)
            writeKey(ini, *key, QLatin1String(saved.key), s);
    }
    if (ownBatch && !ini.commitBatch()) {
        if (error)
            *error = ini.errorString();
        return false;
    }
    return true;
}

int LoadMileage(const IniFile& ini, StatusLog& log)
{
    const QString section = QStringLiteral("mileage");
    const QString key = QStringLiteral("lastknownmilage");
    const QString text = ini.readString(section, key, QStringLiteral("4711"));
    if (const auto mileage = ini::parseDecimal(text))
        return *mileage;
    reportBadValue(log, section, key, text, QStringLiteral("is not a whole number"),
                   QStringLiteral("last known mileage stays 0"));
    return 0;
}

bool SaveMileage(IniFile& ini, const QString& mileageCaption, QString* error)
{
    const bool ok = ini.writeString(QStringLiteral("mileage"), QStringLiteral("lastknownmilage"), mileageCaption);
    if (!ok && error)
        *error = ini.errorString();
    return ok;
}

bool SaveLastMp3Played(IniFile& ini, const QString& fileName)
{
    return ini.writeString(QStringLiteral("MP3Player"), QStringLiteral("LastMP3played"), fileName);
}

bool SaveEqGain(IniFile& ini, int band, double gain)
{
    if (band < 1 || band > 6)
        return false;
    return ini.writeFloat(QStringLiteral("EQ"), QStringLiteral("EQ%1_Gain").arg(band), gain);
}

} // namespace zarn
