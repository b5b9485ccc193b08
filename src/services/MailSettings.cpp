#include "services/MailSettings.h"

#include "core/IniValues.h"

namespace zarn {

namespace {
using enum KeyType;
using enum LoadStep;
#define FIELD(member) ZARN_SETTINGS_FIELD(MailSettings, member)

// clang-format off
const SettingsRow kKeys[] = {
    {Email, "Pop3",  "ServerName",             String,      "pop.example.com",       true,  FIELD(pop3.serverName)},
    {Email, "Pop3",  "ServerPort",             IntegerText, "110",                   true,  FIELD(pop3.serverPort)},
    {Email, "Pop3",  "ServerUser",             String,      "your_login",            true,  FIELD(pop3.serverUser)},
    {Email, "Pop3",  "ServerPassword",         String,      "enter_pw_here",         true,  FIELD(pop3.serverPassword)},
    {Email, "Smtp",  "ServerName",             String,      "smtp.example.com",      false, FIELD(smtp.serverName)},
    {Email, "Smtp",  "ServerPort",             IntegerText, "25",                    false, FIELD(smtp.serverPort)},
    {Email, "Smtp",  "ServerUser",             String,      "your_login",            false, FIELD(smtp.serverUser)},
    {Email, "Smtp",  "ServerPassword",         String,      "enter_pw_here",         false, FIELD(smtp.serverPassword)},
    {Email, "Smtp",  "SMTPAuthenticationType", Integer,     "0",                     false, FIELD(smtpAuthenticationType)},
    {Email, "Pop3",  "Security",               String,      "auto",                  true,  FIELD(pop3Security)},
    {Email, "Pop3",  "CheckCertificate",       Boolean,     "1",                     true,  FIELD(pop3CheckCertificate)},
    {Email, "Pop3",  "CAFile",                 String,      "",                      true,  FIELD(pop3CaFile)},
    {Email, "Email", "PersonalEmail",          String,      "your.name@example.com", false, FIELD(personalEmail)},
};
// clang-format on
#undef FIELD
} // namespace

MailSettings::MailSettings()
{
    applyDefaults(keys(), this);
}

std::span<const SettingsRow> MailSettings::keys()
{
    return kKeys;
}

int MailSettings::pop3Port() const
{
    return ini::parseInteger(pop3.serverPort).value_or(110);
}

} // namespace zarn
