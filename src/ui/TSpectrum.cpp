#include "ui/TSpectrum.h"

#include <QPainter>

namespace zarn {

namespace {
QColor fromBgr(quint32 bgr)
{
    return QColor(int(bgr & 0xFF), int((bgr >> 8) & 0xFF), int((bgr >> 16) & 0xFF));
}
} // namespace

TSpectrum::TSpectrum(const QSize& size, const SpectrumSettings& settings)
    : bars_(settings)
    , buffer_(size.expandedTo(QSize(1, 1)), QImage::Format_RGB32)
{
    buffer_.fill(fromBgr(settings.backgroundColor));
}

void TSpectrum::draw(const float* magnitudes, int count, int x, int y)
{
    bars_.update(magnitudes, count);
    const SpectrumSettings& s = bars_.settings();
    const int h = buffer_.height();
    const int w = s.barWidth;
    if (s.clearEachFrame)
        buffer_.fill(fromBgr(s.backgroundColor));

    QPainter p(&buffer_);
    const QColor barColor = fromBgr(s.barColor);
    const QColor peakColor = fromBgr(s.peakColor);
    for (int i = 0; i < SpectrumBars::Count; ++i) {
        const int left = x + i * (w + 1);
        if (left >= buffer_.width())
            break; // the rest lie further right still
        if (left + w <= 0)
            continue;
        // Right and bottom edges are exclusive: a bar is w pixels wide and its height
        // in pixels high, standing on row y + h - 1.
        if (s.showPeaks)
            p.fillRect(left, y + h - bars_.peak(i), w, 1, peakColor);
        const int bar = bars_.bar(i);
        if (bar > 0)
            p.fillRect(left, y + h - bar, w, bar, barColor);
    }
}

} // namespace zarn
