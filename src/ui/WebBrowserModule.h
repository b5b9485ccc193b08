#pragma once

#include "ui/WebBrowserControl.h"

#include <QString>
#include <QStringList>

class QWidget;

namespace zarn {

// Loads the browser module the first time a browser is made; the module then stays
// loaded. The engine needs no sandbox switch for a normal user; as root its sandbox
// cannot start, so it is switched off for root only. Main thread only.
class WebBrowserModule {
public:
    // Where the module is looked for, first match wins.
    explicit WebBrowserModule(QStringList candidates);

    // Null, with `error` saying why, when no module loads or it has no entry point.
    WebBrowserControl* create(QWidget* parent, WebBrowserEvents* events, QString* error);

    // The module's places for this program: next to the executable (a build tree), then
    // the installed module directory.
    static QStringList defaultCandidates();
    static constexpr const char* FileName = "zarn-webengine.so";

private:
    QStringList candidates_;
    CreateWebBrowserFunction create_ = nullptr;
};

} // namespace zarn
