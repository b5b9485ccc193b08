#pragma once

#include <QString>

namespace zarn {

// What the window's item handlers need from the players, the exit and power actions,
// the launcher, the rear camera and the status page. The composition root implements
// it; until a feature is built its operation does nothing. Main thread only.
class MenuActions {
public:
    virtual ~MenuActions() = default;

    // The music progress timer runs (a track plays).
    virtual bool trackPlaying() const { return false; }
    // A movie is open in the player.
    virtual bool movieRunning() const { return false; }

    // The exit action and its power option.
    virtual void BMWpanel5Click() {}
    // Fills the system status page; the window sets the header before and shows page 11 after.
    virtual void BMWpanel6Click() {}
    // The web page was opened (page 2 shown): reset the scroll offset, load the address.
    virtual void BMWpanel7Click() {}
    // Starts the program of the launch field.
    virtual void BMWpanel76Click() {}
    // Shows the rear camera.
    virtual void BMWpanel123Click() {}
    // Refreshes the system status values without changing the page.
    virtual void BMWpanel17Click() {}
    // Page 5 is being shown: select the playing file in the music list. Must not throw.
    virtual void selectNowPlayingInList() {}
    // The settings page's back item hands the mail fields to the mail retrieval.
    virtual void applyMailSettings(const QString& host, int port, const QString& user, const QString& password) {}
};

} // namespace zarn
