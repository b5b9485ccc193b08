#pragma once

#include "media/MusicListModel.h"

#include <QAbstractScrollArea>
#include <QPointer>

namespace zarn {


// The file list of the music and movie pages: draws the entries of a MusicListModel as
// rows between two bars, the model's highlight in the highlight color, and scrolls so
// that the highlight stays in view. Colors are 0xBBGGRR values, as the schemes write
// them. A move of the highlight repaints only the two rows it touches.
// A mouse click highlights the row under it and then emits clicked(); the focus
// arriving emits entered(). Main thread only.
class TBMWListbox : public QAbstractScrollArea {
    Q_OBJECT
    Q_PROPERTY(quint32 Clschwarz READ Clschwarz WRITE setClschwarz)
    Q_PROPERTY(quint32 ClSimpletext READ ClSimpletext WRITE setClSimpletext)
    Q_PROPERTY(quint32 Clhellblau READ Clhellblau WRITE setClhellblau)
    Q_PROPERTY(quint32 ClOrangina READ ClOrangina WRITE setClOrangina)
    Q_PROPERTY(int Barwidth READ Barwidth WRITE setBarwidth)
    Q_PROPERTY(int ItemHeight READ ItemHeight WRITE setItemHeight)
public:
    // The design values of the two lists.
    enum class Preset { Music, Movie };

    explicit TBMWListbox(const QString& objectName, Preset preset = Preset::Music, QWidget* parent = nullptr);

    // Not owned; null shows an empty list.
    void setModel(MusicListModel* model);
    MusicListModel* model() const { return model_; }

    quint32 Clschwarz() const { return background_; }
    void setClschwarz(quint32 bgr);
    quint32 ClSimpletext() const { return text_; }
    void setClSimpletext(quint32 bgr);
    quint32 Clhellblau() const { return bar_; }
    void setClhellblau(quint32 bgr);
    quint32 ClOrangina() const { return highlight_; }
    void setClOrangina(quint32 bgr);
    int Barwidth() const { return barWidth_; }
    void setBarwidth(int px);
    int ItemHeight() const { return itemHeight_; }
    void setItemHeight(int px);

    // The entry in the first visible row (0 when the list is at its start).
    int topIndex() const { return top_; }
    void setTopIndex(int index);
    // Rows that fit fully (at least one).
    int visibleRows() const;
    // The row rectangle of an entry in viewport coordinates (empty when scrolled away).
    QRect itemRect(int index) const;
    int indexAt(const QPoint& viewportPos) const;

signals:
    void clicked();
    void entered();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;

private:
    void modelChanged();
    void highlightMoved();
    void updateScrollRange();
    void ensureVisible(int index);
    void drawEntry(QPainter& p, int index, const QRect& rect, bool highlighted) const;

    QPointer<MusicListModel> model_;
    quint32 background_ = 0x000000;
    quint32 text_ = 0xFCFCFC;
    quint32 bar_ = 0xFF9F9F;
    quint32 highlight_ = 0x0000FF;
    int barWidth_ = 18;
    int itemHeight_ = 40;
    int top_ = 0;
    int painted_ = -1;  // the highlight as last drawn
    int pressed_ = -1;  // the row a mouse press highlighted
};

} // namespace zarn
