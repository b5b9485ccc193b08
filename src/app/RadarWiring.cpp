#include "app/RadarWiring.h"

#include "app/MainController.h"
#include "ui/AlertSign.h"
#include "ui/PlainPanel.h"
#include "ui/TBMWpanel.h"
#include "ui/ZarnWindow.h"
#include "ui/pages/MainMenuPage.h"
#include "ui/pages/RadarPage.h"

#include <QFileInfo>
#include <QLineEdit>
#include <QPushButton>

namespace zarn {

void wireRadar(ZarnWindow& window, MainController& core, std::function<bool()> save,
               std::function<void(const char* name, bool raised)> setIndicator)
{
    SpeedCameraWarning& radar = core.radar();
    WavePlayer& cues = core.wavePlayer();
    ZarnWindow* w = &window;

    QObject::connect(&radar, &SpeedCameraWarning::camerasLoaded, w, [w](bool available) {
        w->setRadarItemVisible(available);
        if (auto* indicator = w->findChild<PlainPanel*>(QStringLiteral("RadarIndicator")))
            indicator->setVisible(available);
    });
    AlertSign* alert = window.alertPanel();
    QObject::connect(&radar, &SpeedCameraWarning::alertShown, alert, &AlertSign::showWarning);
    QObject::connect(&radar, &SpeedCameraWarning::alertHidden, alert, &QWidget::hide);
    // The warning only asks for files that exist; a device that fails is reported there.
    QObject::connect(&radar, &SpeedCameraWarning::soundRequested, w, [&cues](const QString& path) { cues.play(path); });

    // "Test sound": the file in the radar sound field, without waiting, if it exists.
    auto* testSound = window.findChild<QPushButton*>(QStringLiteral("TestSoundButton"));
    auto* soundField = window.findChild<QLineEdit*>(QStringLiteral("RadarSoundEdit"));
    if (testSound && soundField)
        QObject::connect(testSound, &QPushButton::clicked, w, [&cues, soundField] {
            const QString path = soundField->text().trimmed();
            if (!path.isEmpty() && QFileInfo(path).isFile())
                cues.play(path);
        });

    auto* page = qobject_cast<RadarPage*>(window.page(PageRadar));
    if (!page)
        return;
    QObject::connect(&radar, &SpeedCameraWarning::checked, page, [page](const RadarCheckResult& r) {
        page->showCheck(r.limitText, r.distanceText, r.secondText, r.showAmpel());
        page->showRelativeBearing(r.relativeBearing);
    });
    page->setMapPicture(&radar.map().image());
    QObject::connect(&radar, &SpeedCameraWarning::mapDrawn, page, &RadarPage::mapDrawn);
    QObject::connect(page, &RadarPage::mapResized, &radar, &SpeedCameraWarning::setMapSize);
    QObject::connect(page, &RadarPage::mapColorsChanged, &radar, &SpeedCameraWarning::setMapColors);
    radar.setMapSize(page->mapSize());

    QObject::connect(&radar, &SpeedCameraWarning::settingsChanged, page,
                     [page, save, setIndicator, last = radar.settings().radarWarning](const RadarSettings& s, bool store) mutable {
                         page->showSettings(s);
                         if (s.radarWarning != last) {
                             last = s.radarWarning;
                             setIndicator("RadarIndicator", s.radarWarning);
                         }
                         if (store)
                             save();
                     });
    page->showSettings(radar.settings());
    QObject::connect(page, &RadarPage::warningToggleRequested, &radar, [w, &radar] {
        const TBMWpanel* item = w->mainMenu() ? w->mainMenu()->menuItem(QStringLiteral("BMWpanel89")) : nullptr;
        radar.BMWpanel92Click(item ? item->BMW_supercaption() : QStringLiteral("Radar"));
    });
    QObject::connect(page, &RadarPage::tooFastToggleRequested, &radar, &SpeedCameraWarning::BMWpanel93Click);
    QObject::connect(page, &RadarPage::thresholdStepRequested, &radar, [&radar](int sign) {
        sign > 0 ? radar.BMWpanel97Click() : radar.BMWPanel96Click();
    });
    QObject::connect(page, &RadarPage::soundToggleRequested, &radar, &SpeedCameraWarning::BMWpanel108Click);
    QObject::connect(page, &RadarPage::scaleStepRequested, &radar, [&radar](int sign) {
        sign > 0 ? radar.BMWpanel105Click() : radar.MapScaleDown();
    });
    QObject::connect(page, &RadarPage::doneRequested, &radar, [&radar] { radar.RadarCheck(false); });
}

} // namespace zarn
