#pragma once

#include "services/MailController.h"

#include <QObject>

namespace zarn {

class StatusLog;
class ZarnWindow;

// The mail pages and the mail controller, joined: " Get Mail" and a chosen header go
// to the controller, its texts, rows and message come back to the pages, and the
// settings page's mail fields reach the account in use. Main thread only.
class MailWiring : public QObject {
    Q_OBJECT
public:
    MailWiring(ZarnWindow& window, StatusLog& log, QObject* parent = nullptr);

    // The [Pop3] values just read from Zarn.ini.
    void applySettings(const MailSettings& settings) { controller_.applySettings(settings); }
    MailController& controller() { return controller_; }

private:
    ZarnWindow& window_;
    MailController controller_;
};

} // namespace zarn
