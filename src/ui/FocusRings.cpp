#include "ui/FocusRings.h"

#include "ui/PageIndex.h"

#include <QHash>

namespace zarn::FocusRings {

namespace {

const ExplicitMove Moves[] = {
    // from                  clockwise        counter-clockwise  marker
    {"BMWpanel20",        "BMWpanel67",    nullptr,          nullptr}, // " Darker"
    {"BMWpanel67",        "BMWpanel78",    "BMWpanel20",     nullptr}, // "Restart Zarn"
    {"BMWpanel78",        "BMWpanel79",    "BMWpanel67",     nullptr}, // "Select classic look"
    {"BMWpanel79",        "BMWpanel80",    nullptr,          nullptr}, // "Select customized look"
    {"BMWpanel80",        "BMWpanel77",    nullptr,          nullptr}, // "Color scheme CUSTOM 1"
    {"BMWpanel77",        "BMWpanel81",    nullptr,          nullptr}, // "Color scheme CUSTOM 2"
    {"BMWpanel81",        "BMWpanel82",    nullptr,          nullptr}, // "Color scheme E39 default"
    {"BMWpanel82",        "BMWpanel21",    nullptr,          nullptr}, // "Refresh Zarn from MP3 dir..."
    {"BMWpanel21",        nullptr,         "BMWpanel82",     nullptr}, // "Lighter"
    {"BMWpanel71",        "BMWpanel11",    nullptr,          nullptr}, // "Make Random List"
    {"BMWpanel11",        "BMWpanel12",    "BMWpanel71",     nullptr}, // music page back item
    {"BMWpanel12",        "BMWListbox1",   "BMWpanel11",     nullptr}, // music page " B" item
    {"BitBtnWithColor10", "BMWpanel71",    nullptr,          "BMWpanel70"}, // key "a"
    {"Panel82",           nullptr,         "BMWpanel12",     "BMWpanel70"}, // key "<"
    {"BMWpanel1",         "BMWpanel2",     nullptr,          nullptr}, // "MP3 Player"
};

QStringList names(const char* prefix, int first, int last)
{
    QStringList out;
    for (int i = first; i <= last; ++i)
        out << QString::fromLatin1(prefix) + QString::number(i);
    return out;
}

struct RingRow {
    int page;
    QStringList forward;
};

const QHash<int, QStringList>& rings()
{
    static const QHash<int, QStringList> table = [] {
        const RingRow rows[] = {
            {PageMain, {"BMWpanel1", "BMWpanel3", "BMWpanel4", "BMWpanel89", "BMWpanel76", "BMWpanel5", "BMWpanel9",
                 "BMWpanel123", "BMWpanel8", "BMWpanel7", "BMWpanel6", "BMWpanel2"}},
            // The "Schemes" sub-page; the other sub-pages bring their own tab order.
            {PageOptions, {"BMWpanel20", "BMWpanel31", "BMWpanel10", "BMWpanel21", "BMWpanel67", "BMWpanel82", "BMWpanel81",
                 "BMWpanel77", "BMWpanel80", "BMWpanel79", "BMWpanel78"}},
            {PageWeb, {"BitBtnWithColor94", "BMWpanel44", "BMWpanel45", "BMWpanel46", "BMWpanel47", "ListBox1"}},
            {PageMovies, {"BMWpanel14", "BMWpanel13", "FileListBox2"}},
            {PageMusic, characterKeys() + QStringList{"BMWListbox1", "BMWpanel11", "BMWpanel12", "BMWpanel71"}},
            // Only while MP3OptionsPanel is shown.
            {PageNowPlaying, {"BMWpanel53", "BMWpanel54", "BMWpanel56", "BMWpanel57", "BMWpanel58", "BMWpanel86", "BMWpanel87",
                 "BMWpanel62", "BMWpanel61", "BMWpanel60", "BMWpanel59", "BMWpanel55"}},
            {PageMailHeaders, {"lvHeaders", "BMWpanel42", "BMWpanel43"}},
            {PageMail, {"BitBtnWithColor82", "BitBtnWithColor83", "MailBody"}},
            {PageAlternateMenu, {"E644Panel", "E646Panel", "E644Panel3", "E60QuilPanel", "E6445Panel", "E649Panel", "E600Panel",
                 "E648Panel", "E644Panel2", "E644Panel1"}},
            {PageScale, {"BMWpanel32", "BMWpanel34", "BMWpanel36", "BMWpanel38", "BMWpanel40", "BMWpanel41", "BMWpanel39",
                 "BMWpanel37", "BMWpanel35"}},
            {PageDriversLog, {"BMWpanel22", "BMWpanel15", "BMWpanel25", "BMWpanel68", "BMWPanel69", "BMWpanel24", "BMWpanel63",
                  "BMWpanel23"}},
            {PageSystem, {"BMWpanel16", "BMWpanel17"}},
            {PageIbus, {"BMWpanel19", "BMWpanel18", "BMWpanel30", "BMWpanel29", "BMWpanel28", "BMWpanel27", "BMWpanel26"}},
            {PageRadar, {"BMWpanel91", "BMWpanel90", "BMWpanel94", "BMWpanel122", "BMWPanel96", "BMWpanel97", "BMWpanel93",
                  "BMWpanel92", "BMWpanel105", "BMWpanel108"}},
            {PageSoundFx, {"BMWpanel137", "BMWpanel136", "BMWpanel124", "BMWpanel125", "BMWpanel127", "BMWpanel128",
                  "BMWpanel129", "BMWpanel130", "BMWpanel131", "BMWpanel134", "BMWpanel133", "BMWpanel132",
                  "BMWpanel135"}},
            {PageQuestion, {"BMWpanel75", "BMWpanel74"}},
            {FullScreenMovie, {"BMWpanel88", "BMWpanel50", "BMWpanel48", "BMWpanel49", "BMWpanel52", "BMWpanel51"}},
        };
        QHash<int, QStringList> t;
        for (const RingRow& r : rows)
            t.insert(r.page, r.forward);
        return t;
    }();
    return table;
}

} // namespace

QStringList characterKeys()
{
    return names("BitBtnWithColor", 10, 35)   // "a" to "z"
           + names("BitBtnWithColor", 36, 39) // "1" to "4"
           + names("BitBtnWithColor", 41, 46) // "5" to "9", "0"
           + names("BitBtnWithColor", 47, 54) // "!" "§" "$" "(" ")" "-" "." "_"
           + QStringList{"BitBtnWithColor55", "Panel82"}; // "| |", "<"
}

QStringList forwardOrder(int page)
{
    return rings().value(page);
}

std::span<const ExplicitMove> explicitMoves()
{
    return Moves;
}

const ExplicitMove* explicitMove(const QString& from)
{
    for (const ExplicitMove& m : Moves)
        if (from == QLatin1String(m.from))
            return &m;
    return nullptr;
}

} // namespace zarn::FocusRings
