// Every control that the focus rings, the explicit moves, the adjust mode table and the
// knob press's item lists name exists in the built window, except the ones whose
// subsystem has not arrived yet. A misspelt name in a table fails silently on the car
// (the step falls through, the press is ignored); this catches it.
#include "ui/AdjustMode.h"
#include "ui/FocusRings.h"
#include "ui/SelectActions.h"
#include "ui/ZarnWindow.h"

#include <QTest>

using namespace zarn;

namespace {

// Names that arrive with a later subsystem, one row per group.
struct Pending {
    const char* subsystem;
    QStringList names;
};

const QList<Pending>& pending()
{
    static const QList<Pending> rows{
    };
    return rows;
}

// Every name a table refers to, with the table it comes from.
QList<std::pair<QString, QString>> referencedNames()
{
    QList<std::pair<QString, QString>> out;
    const auto add = [&out](const QString& table, const QString& name) {
        if (!name.isEmpty())
            out.append({table, name});
    };
    for (int page = FocusRings::FullScreenMovie; page < PageCount; ++page)
        for (const QString& n : FocusRings::forwardOrder(page))
            add(QStringLiteral("ring of page %1").arg(page), n);
    for (const FocusRings::ExplicitMove& m : FocusRings::explicitMoves())
        for (const char* n : {m.from, m.clockwise, m.counterClockwise, m.lowlight})
            add(QStringLiteral("explicit moves"), QLatin1String(n));
    for (const AdjustMode::Row& r : AdjustMode::rows())
        for (const char* n : {r.name, r.indicator, r.picture})
            add(QStringLiteral("adjust mode"), QLatin1String(n));
    for (const QString& n : SelectActions::optionItems())
        add(QStringLiteral("option items"), n);
    for (const QString& n : SelectActions::alternateMenuItems())
        add(QStringLiteral("alternate menu items"), n);
    for (const QString& n : SelectActions::menuItems())
        add(QStringLiteral("menu items"), n);
    return out;
}

} // namespace

class TestControlNames : public QObject {
    Q_OBJECT
private slots:
    void everyNamedControlExists();
    void pendingNamesAreStillMissing();
};

void TestControlNames::everyNamedControlExists()
{
    ZarnWindow window;
    QStringList waiting;
    for (const Pending& p : pending())
        waiting += p.names;
    QStringList missing;
    for (const auto& [table, name] : referencedNames())
        if (!window.findChild<QWidget*>(name) && !waiting.contains(name))
            missing << QStringLiteral("%1 (%2)").arg(name, table);
    missing.removeDuplicates();
    QVERIFY2(missing.isEmpty(), qPrintable(missing.join(QStringLiteral(", "))));
}

// A name listed as pending that the window now holds belongs in the tables' check.
void TestControlNames::pendingNamesAreStillMissing()
{
    ZarnWindow window;
    QStringList arrived;
    for (const Pending& p : pending())
        for (const QString& n : p.names)
            if (window.findChild<QWidget*>(n))
                arrived << QStringLiteral("%1 (%2)").arg(n, QLatin1String(p.subsystem));
    QVERIFY2(arrived.isEmpty(), qPrintable(arrived.join(QStringLiteral(", "))));
}

QTEST_MAIN(TestControlNames)
#include "tst_controlnames.moc"
