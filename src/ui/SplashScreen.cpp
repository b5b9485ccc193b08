#include "ui/SplashScreen.h"

#include "ui/pages/PageBuilder.h"

#include <QCoreApplication>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QVBoxLayout>

namespace zarn {

SplashScreen::SplashScreen(QWidget* parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint)
{
    setObjectName(QStringLiteral("SplashScreen"));
    setAutoFillBackground(true);
    QPalette black = palette();
    black.setColor(QPalette::Window, Qt::black);
    setPalette(black);
    resize(792, 573);

    list_ = new QPlainTextEdit(this);
    list_->setObjectName(QStringLiteral("SplashList"));
    list_->setReadOnly(true);
    list_->setFrameShape(QFrame::NoFrame);
    list_->setFocusPolicy(Qt::NoFocus);
    list_->setFont(PageBuilder::pixelFont(QStringLiteral("Arial Narrow"), 32));
    QPalette text = list_->palette();
    text.setColor(QPalette::Base, Qt::black);
    text.setColor(QPalette::Text, Qt::white);
    list_->setPalette(text);
    list_->setPlainText(QStringLiteral(" Starting Zarn"));

    bar_ = new QProgressBar(this);
    bar_->setObjectName(QStringLiteral("SplashProgress"));
    bar_->setRange(0, 100);
    bar_->setValue(0);
    bar_->setTextVisible(false);
    bar_->setFixedHeight(16);

    auto* box = new QVBoxLayout(this);
    box->setContentsMargins(0, 0, 0, 0);
    box->setSpacing(0);
    box->addWidget(list_, 1);
    box->addWidget(bar_);
}

void SplashScreen::addLine(const QString& text)
{
    list_->appendPlainText(text);
    paintNow();
}

void SplashScreen::setProgress(int percent)
{
    bar_->setValue(percent);
    paintNow();
}

QStringList SplashScreen::lines() const
{
    return list_->toPlainText().split(QLatin1Char('\n'));
}

int SplashScreen::progress() const
{
    return bar_->value();
}

void SplashScreen::paintNow()
{
    if (!isVisible())
        return;
    repaint();
    // The window system's expose and paint events only: no input and no timer may run in
    // the middle of the start-up sequence.
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents | QEventLoop::X11ExcludeTimers);
}

} // namespace zarn
