#pragma once

#include <QColor>
#include <QImage>
#include <QString>
#include <QUrl>
#include <QWidget>
#include <functional>
#include <memory>

class QTimer;
class QSoundEffect;

namespace qev {

// A button drawn from an image strip: columns are variants, rows are visual states
// (0 normal, 1 pressed or checked, 2 disabled, 3 latched down). It only ever copies one cell.
// Held with AutoClick on, it clicks at the press and then once per interval while the pointer
// stays inside; the repeat is paced by the installed clock, so a late timer never doubles a click.
class TResButton : public QWidget {
    Q_OBJECT
public:
    explicit TResButton(QWidget* parent = nullptr);
    ~TResButton() override;

    // Free values for the owner.
    int ParamA = 0;
    int ParamB = 0;
    int ParamC = 0;

    std::function<void(TResButton* sender)> OnClick;

    void SetBitmap(const QImage& strip);
    const QImage& Bitmap() const { return m_strip; }
    void SetClickSoundFile(const QString& file);
    QString ClickSoundFile() const { return m_clickSoundFile; }
    void SetClickSoundWait(bool wait);
    bool ClickSoundWait() const { return m_clickSoundWait; }
    void SetTwoState(bool on);
    bool TwoState() const { return m_twoState; }
    void SetChecked(bool on);
    bool Checked() const { return m_checked; }
    virtual void SetButtonCols(int cols);
    int ButtonCols() const { return m_cols; }
    void SetButtonDisablity(bool on);
    bool ButtonDisablity() const { return m_disablity; }
    void SetButtonCouldBeDowned(bool on);
    bool ButtonCouldBeDowned() const { return m_couldBeDowned; }
    void SetButtonIndex(int index);
    int ButtonIndex() const { return m_index; }
    void SetTransparent(bool on);
    bool Transparent() const { return m_transparent; }
    void SetTransparentColor(const QColor& color);
    QColor TransparentColor() const { return m_transparentColor; }
    void SetTransparentBase(const QImage& base);
    const QImage& TransparentBase() const { return m_transparentBase; }
    void SetTransparentBaseX(int x);
    int TransparentBaseX() const { return m_transparentBaseX; }
    void SetTransparentBaseY(int y);
    int TransparentBaseY() const { return m_transparentBaseY; }
    void SetAutoSize(bool on);
    bool AutoSize() const { return m_autoSize; }
    void SetAutoClickInterval(int ms);
    int AutoClickInterval() const { return m_autoClickInterval; }
    void SetAutoClick(bool on);
    bool AutoClick() const { return m_autoClick; }
    void SetDown(bool on);
    bool Down() const { return m_down; }

    int CellWidth() const { return m_cellWidth; }
    int CellHeight() const { return m_cellHeight; }
    int RowCount() const;
    // The strip row the button shows now.
    virtual int Row() const;
    virtual int Column() const { return m_index; }
    bool Captured() const { return m_captured; }
    bool PointerInside() const { return m_inside; }
    // The repeat timer; exists only while AutoClick is on.
    QTimer* RepeatTimer() const { return m_repeatTimer.get(); }
    bool RepeatEnabled() const { return m_repeatEnabled; }

    // Pointer handling, in widget coordinates (the mouse events call these).
    virtual void Press(QPoint pos);
    virtual void Move(QPoint pos);
    virtual void ReleaseAt(QPoint pos);
    // Ends a press without clicking: capture lost, hidden or disabled.
    void CaptureLost();
    // The click of a press released over the button.
    virtual void Click();
    // The repeat timer's handler.
    void RepeatTimerTick();

    // Where a click sound setting points: 'NAME' is the program's WAVE resource, else a file.
    static QUrl ClickSoundSource(const QString& setting);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void changeEvent(QEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    bool event(QEvent* event) override;

    virtual int StateRows() const;
    virtual bool PointCounts(QPoint pos) const { return rect().contains(pos); }
    void ApplyAutoCols();
    void RecomputeGeometry();
    void BeginCapture();
    void EndCapture();
    void SetPointerInside(bool inside);
    // Fires OnClick; returns false when the handler destroyed the button.
    bool FireClick();
    void PlayClickSound();
    virtual void PlaySound(const QUrl& source, bool wait);

private:
    void FireRepeat();
    void ScheduleRepeat(qint64 nowMs);

    QImage m_strip;
    QString m_clickSoundFile;
    bool m_clickSoundWait = false;
    bool m_twoState = false;
    bool m_checked = false;
    int m_cols = 1;
    bool m_disablity = false;
    bool m_couldBeDowned = false;
    int m_index = 0;
    bool m_transparent = false;
    QColor m_transparentColor = QColor(255, 255, 255);
    QImage m_transparentBase;
    int m_transparentBaseX = 0;
    int m_transparentBaseY = 0;
    bool m_autoSize = true;
    int m_autoClickInterval = 1000;
    bool m_autoClick = false;
    bool m_down = false;

    int m_cellWidth = 0;
    int m_cellHeight = 0;
    std::unique_ptr<QTimer> m_repeatTimer;
    bool m_repeatEnabled = false;
    qint64 m_nextRepeatMs = 0;
    bool m_captured = false;
    bool m_inside = false;
    std::unique_ptr<QSoundEffect> m_sound;
};

} // namespace qev
