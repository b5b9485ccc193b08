#include "core/SettingsRow.h"

#include "core/IniFile.h"
#include "core/IniValues.h"

namespace zarn {

namespace {
const SettingsRow* findRow(std::span<const SettingsRow> rows, const char* section, const char* key)
{
    for (const SettingsRow& row : rows)
        if (qstricmp(row.section, section) == 0 && qstricmp(row.key, key) == 0)
            return &row;
    return nullptr;
}
} // namespace

bool assignFromText(const SettingsRow& row, void* owner, const QString& text, const QLocale& locale)
{
    switch (row.type) {
    case KeyType::String:
    case KeyType::ShortString:
        std::get<StringField>(row.field)(owner) = text;
        return true;
    case KeyType::Integer:
        if (const auto n = ini::parseInteger(text)) {
            std::get<IntField>(row.field)(owner) = *n;
            return true;
        }
        return false;
    case KeyType::Boolean:
        if (const auto n = ini::parseInteger(text)) {
            std::get<BoolField>(row.field)(owner) = *n != 0;
            return true;
        }
        return false;
    case KeyType::Float:
        if (const auto x = ini::parseFloat(text, locale)) {
            std::get<FloatField>(row.field)(owner) = *x;
            return true;
        }
        return false;
    case KeyType::Color:
        if (const auto c = ini::parseColor(text)) {
            std::get<ColorField>(row.field)(owner) = *c;
            return true;
        }
        return false;
    case KeyType::IntegerText:
        if (const auto n = ini::parseDecimal(text)) {
            if (const auto* f = std::get_if<IntField>(&row.field))
                (*f)(owner) = *n;
            else
                std::get<StringField>(row.field)(owner) = text;
            return true;
        }
        return false;
    }
    return false;
}

void writeRow(IniFile& ini, const SettingsRow& row, const QString& spelling, const void* owner)
{
    const QString section = QLatin1String(row.section);
    // The accessors hand out references for reading and assigning alike; nothing is changed here.
    void* o = const_cast<void*>(owner);
    std::visit(
        [&](auto field) {
            using F = decltype(field);
            if constexpr (std::is_same_v<F, StringField>)
                ini.writeString(section, spelling, field(o));
            else if constexpr (std::is_same_v<F, IntField>)
                ini.writeInteger(section, spelling, field(o));
            else if constexpr (std::is_same_v<F, BoolField>)
                ini.writeBool(section, spelling, field(o));
            else if constexpr (std::is_same_v<F, FloatField>)
                ini.writeFloat(section, spelling, field(o));
            else if constexpr (std::is_same_v<F, ColorField>)
                ini.writeColor(section, spelling, field(o));
            else
                ini.writeString(section, spelling, field(owner));
        },
        row.field);
}

QString defaultText(const SettingsRow& row, std::span<const SettingsRow> rows, const void* owner)
{
    if (row.defaultText[0] != '@')
        return QString::fromUtf8(row.defaultText);
    const SettingsRow* source = findRow(rows, row.section, row.defaultText + 1);
    Q_ASSERT(source && source->type == KeyType::Color);
    return ini::colorToString(std::get<ColorField>(source->field)(const_cast<void*>(owner)));
}

void applyDefaults(std::span<const SettingsRow> rows, void* owner)
{
    for (const SettingsRow& row : rows) {
        if (row.step == LoadStep::WriteOnly)
            continue;
        const bool ok = assignFromText(row, owner, defaultText(row, rows, owner), QLocale::c());
        Q_ASSERT(ok);
        Q_UNUSED(ok);
    }
}

} // namespace zarn
