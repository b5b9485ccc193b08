#include "ui/WebBrowserModule.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLibrary>

#include <unistd.h>

namespace zarn {

WebBrowserModule::WebBrowserModule(QStringList candidates)
    : candidates_(std::move(candidates))
{
}

QStringList WebBrowserModule::defaultCandidates()
{
    const QDir bin(QCoreApplication::applicationDirPath());
    return {bin.filePath(QLatin1String(FileName)),
            QDir::cleanPath(bin.filePath(QStringLiteral(ZARN_MODULE_FROM_BINDIR "/") + QLatin1String(FileName)))};
}

WebBrowserControl* WebBrowserModule::create(QWidget* parent, WebBrowserEvents* events, QString* error)
{
    if (!create_) {
        QStringList problems;
        for (const QString& path : candidates_) {
            if (!QFileInfo::exists(path)) {
                problems << path + QStringLiteral(": not found");
                continue;
            }
            QLibrary module(path);
            // Its Qt symbols are the program's own; nothing of it is unloaded again.
            module.setLoadHints(QLibrary::PreventUnloadHint);
            create_ = reinterpret_cast<CreateWebBrowserFunction>(module.resolve(CreateWebBrowserSymbol));
            if (create_)
                break;
            problems << module.errorString();
        }
        if (!create_) {
            if (error)
                *error = problems.join(QStringLiteral("; "));
            return nullptr;
        }
    }
    if (::geteuid() == 0 && !qEnvironmentVariableIsSet("QTWEBENGINE_DISABLE_SANDBOX"))
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    return create_(parent, events);
}

} // namespace zarn
