#pragma once

#include <QWidget>

class QPlainTextEdit;
class QProgressBar;

namespace zarn {

// The start-up window: a black list of progress lines over a progress bar. Every change
// is painted at once, because the main thread is busy starting up meanwhile.
// Main thread only.
class SplashScreen : public QWidget {
    Q_OBJECT
public:
    explicit SplashScreen(QWidget* parent = nullptr);

    void addLine(const QString& text);
    void setProgress(int percent);

    QStringList lines() const;
    int progress() const;

private:
    void paintNow();

    QPlainTextEdit* list_;
    QProgressBar* bar_;
};

} // namespace zarn
