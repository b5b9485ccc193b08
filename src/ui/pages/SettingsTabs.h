#pragma once

class QWidget;

namespace zarn {

// The plain sub-pages of the settings notebook: their fields carry the settings' values
// and are found by object name. The sub-pages with behaviour of their own are classes
// (ComTab, TabSpecial).
namespace SettingsTabs {

// "Schemes": the scheme list, the background picture field and the look's color buttons.
void buildSchemes(QWidget* tab);
// "MP3": the now-playing picture field.
void buildMp3(QWidget* tab);
// "Dir, Sound && Starts": the six path rows.
void buildDirs(QWidget* tab);
// "Web": the site list, one site per line.
void buildWeb(QWidget* tab);
// "Mail": the POP3 account and the e-mail address.
void buildMail(QWidget* tab);

} // namespace SettingsTabs

} // namespace zarn
