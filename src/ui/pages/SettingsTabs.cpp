#include "ui/pages/SettingsTabs.h"

#include "ui/TBMWpanel.h"
#include "ui/pages/PageBuilder.h"

#include <QFormLayout>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace zarn::SettingsTabs {

namespace {
QLabel* label(QWidget* parent, const QString& text, const QString& name = QString())
{
    auto* l = new QLabel(text, parent);
    if (!name.isEmpty())
        l->setObjectName(name);
    return l;
}

QLineEdit* field(QWidget* parent, const QString& name)
{
    auto* e = new QLineEdit(parent);
    e->setObjectName(name);
    return e;
}

QPushButton* button(QWidget* parent, const QString& name, const QString& caption)
{
    auto* b = new QPushButton(caption, parent);
    b->setObjectName(name);
    return b;
}
} // namespace

void buildSchemes(QWidget* tab)
{
    struct Row {
        const char* name;
        const char* caption;
    };
    // The scheme list from top to bottom, as the knob walks it.
    const Row rows[] = {
        {"BMWpanel67", "Restart Zarn"},
        {"BMWpanel78", "Select classic look"},
        {"BMWpanel79", "Select customized look"},
        {"BMWpanel80", "Color scheme CUSTOM 1"},
        {"BMWpanel77", "Color scheme CUSTOM 2"},
        {"BMWpanel81", "Color scheme E39 default"},
        {"BMWpanel82", "Refresh Zarn from MP3 dir..."},
    };
    const QFont font = PageBuilder::pixelFont(QStringLiteral("Arial Narrow"), 30, true);
    int top = 2;
    for (const Row& r : rows) {
        auto* item = PageBuilder::item(tab, QLatin1String(r.name), QLatin1String(r.caption), QRect(2, top, 400, 45),
                                       false, font);
        item->setBMW_llf1(4);
        item->setBMW_rectanglewidth(18);
        top += 46;
    }

    auto* side = new QWidget(tab);
    side->setObjectName(QStringLiteral("SchemesPickers"));
    side->setGeometry(412, 2, 372, 320);
    auto* grid = new QGridLayout(side);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->addWidget(label(side, QStringLiteral("Background of the customized look")), 0, 0, 1, 2);
    grid->addWidget(field(side, QStringLiteral("Edit6")), 1, 0);
    grid->addWidget(button(side, QStringLiteral("SelButton9"), QStringLiteral("Pick a file")), 1, 1);
    auto* preview = label(side, QString(), QStringLiteral("AlternativeStart"));
    preview->setFixedSize(120, 90);
    preview->setScaledContents(true);
    preview->setFrameShape(QFrame::Box);
    grid->addWidget(preview, 2, 0, 1, 2, Qt::AlignLeft);
    grid->addWidget(label(side, QStringLiteral("FontColor if selected")), 3, 0);
    grid->addWidget(button(side, QStringLiteral("Fonthighcolorbutton"), QStringLiteral("Pick a color")), 3, 1);
    grid->addWidget(label(side, QStringLiteral("unselected")), 4, 0);
    grid->addWidget(button(side, QStringLiteral("Fontlowcolorbutton"), QStringLiteral("Pick a color")), 4, 1);
    grid->addWidget(label(side, QStringLiteral("Custom header")), 5, 0);
    grid->addWidget(button(side, QStringLiteral("Custompanelheadercolorbutton"), QStringLiteral("Pick a color")), 5, 1);
    grid->addWidget(button(side, QStringLiteral("Button9"), QStringLiteral("Save Colors as Custom 1")), 6, 0, 1, 2);
    grid->addWidget(button(side, QStringLiteral("Button13"), QStringLiteral("Save Colors as Custom 2")), 7, 0, 1, 2);
    grid->setRowStretch(8, 1);
}

void buildMp3(QWidget* tab)
{
    auto* grid = new QGridLayout(tab);
    grid->addWidget(label(tab, QStringLiteral("Now playing picture")), 0, 0, 1, 2);
    grid->addWidget(field(tab, QStringLiteral("Edit1")), 1, 0);
    grid->addWidget(button(tab, QStringLiteral("SelButton2"), QStringLiteral("Pick a file")), 1, 1);
    auto* thumb = label(tab, QString(), QStringLiteral("PlayMP3Image_Thumbnail"));
    thumb->setFixedSize(160, 120);
    thumb->setScaledContents(true);
    thumb->setFrameShape(QFrame::Box);
    grid->addWidget(thumb, 2, 0, 1, 2, Qt::AlignLeft);
    grid->setRowStretch(3, 1);
}

void buildDirs(QWidget* tab)
{
    struct Row {
        const char* caption;
        const char* field;
        const char* button;
    };
    const Row rows[] = {
        {"MP3 File Path", "Edit3", "Mp3DirButton"},
        {"Movie file path", "edit4", "MovieDirButton"},
        {"Dual log Dir", "DualLogEdit", "DualLogDirButton"},
        {"Application auto-start", "Edit5", "AutoStartButton"},
        {"Radar Warning sound", "RadarSoundEdit", "RadarSoundButton"},
        {"Launch this program", "Edit11", "Button25"},
    };
    auto* grid = new QGridLayout(tab);
    int row = 0;
    for (const Row& r : rows) {
        grid->addWidget(label(tab, QLatin1String(r.caption)), row, 0);
        grid->addWidget(field(tab, QLatin1String(r.field)), row, 1);
        grid->addWidget(button(tab, QLatin1String(r.button), QStringLiteral("Pick a directory")), row, 2);
        if (QLatin1String(r.field) == QLatin1String("RadarSoundEdit"))
            grid->addWidget(button(tab, QStringLiteral("TestSoundButton"), QStringLiteral("Test sound")), row, 3);
        ++row;
    }
    grid->setColumnStretch(1, 1);
    grid->setRowStretch(row, 1);
}

void buildWeb(QWidget* tab)
{
    auto* box = new QVBoxLayout(tab);
    box->addWidget(label(tab, QStringLiteral("Websites, type in, hit enter for new line")));
    auto* sites = new QPlainTextEdit(tab);
    sites->setObjectName(QStringLiteral("WebsitesMemo"));
    sites->setLineWrapMode(QPlainTextEdit::NoWrap);
    box->addWidget(sites);
}

void buildMail(QWidget* tab)
{
    struct Row {
        const char* caption;
        const char* field;
    };
    const Row rows[] = {
        {"&Incoming Server (POP)", "Pop3ServerEdit"},
        {"&Port", "Pop3PortEdit"},
        {"&Account", "Pop3UserEdit"},
        {"&Password", "Pop3PasswordEdit"},
        {"&Your email", "PersonalEmailEdit"},
    };
    auto* form = new QFormLayout(tab);
    for (const Row& r : rows) {
        auto* edit = field(tab, QLatin1String(r.field));
        auto* l = label(tab, QLatin1String(r.caption));
        l->setBuddy(edit);
        form->addRow(l, edit);
    }
    auto* password = tab->findChild<QLineEdit*>(QStringLiteral("Pop3PasswordEdit"));
    password->setEchoMode(QLineEdit::Password);
    // The mask character is "*", as on the car PC's original settings page.
    password->setStyleSheet(QStringLiteral("lineedit-password-character: 42"));
}

} // namespace zarn::SettingsTabs
