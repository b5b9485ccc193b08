#include "ui/LayoutTab.h"

#include "ui/ColorScheme.h"
#include "ui/PlainPanel.h"
#include "ui/SchemeActions.h"
#include "ui/TBMWpanel.h"
#include "ui/ZarnWindow.h"

#include <QAction>
#include <QLineEdit>
#include <QPushButton>

namespace zarn {

namespace {

QFont pixelFont(const QString& family, int px, bool bold)
{
    QFont f(family);
    f.setPixelSize(px);
    f.setBold(bold);
    return f;
}

// The preview is the main menu at half size: a header, the menu area with its two
// columns of five fields and a bottom row, and the status bar.
constexpr int PreviewLeft = 8, PreviewTop = 8, PreviewWidth = 396;
constexpr int HeaderHeight = 32, MenuHeight = 246, StatusHeight = 24;
constexpr int RowHeight = 40, FieldHeight = 30, FieldWidth = 168;
constexpr int LeftField = 20, RightField = 202;

struct Place {
    const char* edit;
    int x;
    int row; // 0..4 the columns, 5 the bottom row
};
constexpr Place Places[] = {
    {"SpecialEdit1", LeftField, 0},   {"SpecialEdit2", LeftField, 1},  {"SpecialEdit3", LeftField, 2},
    {"SpecialEdit4", LeftField, 3},   {"SpecialEdit44", LeftField, 4}, {"SpecialEdit5", LeftField, 5},
    {"SpecialEdit6", RightField, 0},  {"SpecialEdit7", RightField, 1}, {"SpecialEdit8", RightField, 2},
    {"SpecialEdit9", RightField, 3},  {"SpecialEdit12", RightField, 4}, {"SpecialEdit10", RightField, 5},
};

int rowTop(int row)
{
    return 5 + row * RowHeight;
}

} // namespace

const LayoutTab::Field (&LayoutTab::fields())[12]
{
    static const Field table[12] = {
        {"SpecialEdit1", "BMWpanel1"}, {"SpecialEdit2", "BMWpanel3"},   {"SpecialEdit3", "BMWpanel4"},
        {"SpecialEdit4", "BMWpanel89"}, {"SpecialEdit44", "BMWpanel76"}, {"SpecialEdit5", "BMWpanel5"},
        {"SpecialEdit6", "BMWpanel2"}, {"SpecialEdit7", "BMWpanel6"},   {"SpecialEdit8", "BMWpanel7"},
        {"SpecialEdit9", "BMWpanel8"}, {"SpecialEdit10", "BMWpanel9"},  {"SpecialEdit12", "BMWpanel123"},
    };
    return table;
}

LayoutTab::LayoutTab(ZarnWindow& window, QWidget* tab)
    : QObject(tab)
    , window_(window)
{
    setObjectName(QStringLiteral("LayoutTab"));

    auto* header = new PlainPanel(QStringLiteral("Panel14"), tab);
    header->setGeometry(PreviewLeft, PreviewTop, PreviewWidth, HeaderHeight);
    auto* title = new QLineEdit(header);
    title->setObjectName(QStringLiteral("SpecialEdit11"));
    title->setFrame(false);
    title->setGeometry(6, 3, 240, HeaderHeight - 6);
    title->setFont(pixelFont(QStringLiteral("Arial"), 13, true));

    auto* menu = new PlainPanel(QStringLiteral("Panel15"), tab);
    menu->setGeometry(PreviewLeft, PreviewTop + HeaderHeight, PreviewWidth, MenuHeight);
    // Side bars of the left and the right column.
    auto* leftBar = new PlainPanel(QStringLiteral("Panel20"), menu);
    leftBar->setGeometry(4, rowTop(0), 10, rowTop(5) + FieldHeight - rowTop(0));
    auto* rightBar = new PlainPanel(QStringLiteral("Panel31"), menu);
    rightBar->setGeometry(PreviewWidth - 14, rowTop(0), 10, rowTop(5) + FieldHeight - rowTop(0));
    // The focus frame around the first item, under its field.
    auto* focused = new PlainPanel(QStringLiteral("Panel13"), menu);
    focused->setGeometry(LeftField - 4, rowTop(0) - 4, FieldWidth + 8, FieldHeight + 8);

    const QFont fieldFont = pixelFont(QStringLiteral("Arial Narrow"), 18, true);
    for (const Place& p : Places) {
        auto* field = new QLineEdit(menu);
        field->setObjectName(QString::fromLatin1(p.edit));
        field->setFrame(false);
        field->setFont(fieldFont);
        field->setGeometry(p.x, rowTop(p.row), FieldWidth, FieldHeight);
    }

    auto* status = new PlainPanel(QStringLiteral("Panel19"), tab);
    status->setGeometry(PreviewLeft, PreviewTop + HeaderHeight + MenuHeight, PreviewWidth, StatusHeight);

    const QFont buttonFont = pixelFont(QStringLiteral("Arial"), 16, true);
    const int buttonLeft = PreviewLeft + PreviewWidth + 16;
    auto* save = new QPushButton(QStringLiteral("Save Main Menue Captions"), tab);
    save->setObjectName(QStringLiteral("Button16"));
    save->setFont(buttonFont);
    save->setGeometry(buttonLeft, PreviewTop, 250, 40);
    connect(save, &QPushButton::clicked, this, &LayoutTab::Button16Click);
    auto* fontDefault = new QPushButton(QStringLiteral("Header Font default"), tab);
    fontDefault->setObjectName(QStringLiteral("Button23"));
    fontDefault->setFont(buttonFont);
    fontDefault->setGeometry(buttonLeft, PreviewTop + 52, 250, 40);
    connect(fontDefault, &QPushButton::clicked, this, &LayoutTab::Button23Click);

    const QString selectColor = QStringLiteral("Select Color");
    addMenu(menu, QStringLiteral("Select color"), &LayoutTab::pickClschwarz);
    addMenu(focused, selectColor, &LayoutTab::pickClOrange);
    addMenu(header, selectColor, &LayoutTab::pickCldunkelblau);
    addMenu(status, selectColor, &LayoutTab::pickCldunkelblau);
    addMenu(leftBar, selectColor, &LayoutTab::pickClHellblau);
    addMenu(rightBar, selectColor, &LayoutTab::pickClHellblau);
    addMenu(tab->findChild<QLineEdit*>(QStringLiteral("SpecialEdit1")),
            QStringLiteral("Select Font Color for all car readable text"), &LayoutTab::pickClreadabletext);
    addMenu(title, QStringLiteral("Select Font"), &LayoutTab::pickHeaderFont);
    copyCaptionsFromMenu();
}

LayoutTab* LayoutTab::of(const ZarnWindow& window)
{
    return window.findChild<LayoutTab*>(QStringLiteral("LayoutTab"));
}

void LayoutTab::addMenu(QWidget* control, const QString& text, void (LayoutTab::*pick)())
{
    auto* action = new QAction(text, control);
    connect(action, &QAction::triggered, this, pick);
    control->addAction(action);
    control->setContextMenuPolicy(Qt::ActionsContextMenu);
}

void LayoutTab::pickClschwarz()
{
    if (schemes_)
        schemes_->pickRoleColor(&ColorRoles::clschwarz);
}

void LayoutTab::pickClOrange()
{
    if (schemes_)
        schemes_->pickRoleColor(&ColorRoles::clOrange);
}

void LayoutTab::pickCldunkelblau()
{
    if (schemes_)
        schemes_->pickRoleColor(&ColorRoles::cldunkelblau);
}

void LayoutTab::pickClHellblau()
{
    if (schemes_)
        schemes_->pickRoleColor(&ColorRoles::clHellblau);
}

void LayoutTab::pickClreadabletext()
{
    if (schemes_)
        schemes_->pickRoleColor(&ColorRoles::clreadabletext, false);
}

void LayoutTab::pickHeaderFont()
{
    if (schemes_)
        schemes_->pickHeaderFont();
}

void LayoutTab::copyCaptionsFromMenu()
{
    for (const Field& f : fields()) {
        auto* field = window_.findChild<QLineEdit*>(QString::fromLatin1(f.edit));
        auto* item = window_.findChild<TBMWpanel*>(QString::fromLatin1(f.item));
        if (field && item)
            field->setText(item->BMW_supercaption());
    }
    if (auto* title = window_.findChild<QLineEdit*>(QStringLiteral("SpecialEdit11")))
        title->setText(window_.Versiontitle);
}

// The picture menu's words keep their old texts until the next start.
void LayoutTab::Button16Click()
{
    for (const Field& f : fields()) {
        auto* field = window_.findChild<QLineEdit*>(QString::fromLatin1(f.edit));
        auto* item = window_.findChild<TBMWpanel*>(QString::fromLatin1(f.item));
        if (field && item)
            item->setBMW_supercaption(field->text());
    }
    if (auto* title = window_.findChild<QLineEdit*>(QStringLiteral("SpecialEdit11")))
        window_.Versiontitle = title->text();
    if (schemes_ && schemes_->saveSettings)
        schemes_->saveSettings();
}

void LayoutTab::Button23Click()
{
    if (schemes_)
        schemes_->setHeaderFont(QStringLiteral("Arial"), 34);
}

LayoutTab* buildLayoutTab(ZarnWindow& window, QWidget* tab)
{
    if (auto* existing = tab->findChild<LayoutTab*>(QStringLiteral("LayoutTab"), Qt::FindDirectChildrenOnly))
        return existing;
    return new LayoutTab(window, tab);
}

} // namespace zarn
