#pragma once

#include <QWidget>

// A phone's used and free space as a bar: a rounded frame, green when there is something to
// show (grey otherwise), with the used part drawn red from the left, and the figures written
// across it ("2.1 GB used, 5.3 GB free of 7.4 GB"), also its tool tip and accessible text.
class SpaceGauge : public QWidget
{
    Q_OBJECT

public:
    // aWideMargin: inset 20 pixels on both sides (the wizard's gauge), else 2 (the window's).
    explicit SpaceGauge(bool aWideMargin, QWidget* aParent = nullptr);

    QSize sizeHint() const override { return QSize(200, 23); }
    QSize minimumSizeHint() const override { return QSize(100, 23); }
    qint64 used() const { return mUsed; }
    qint64 freeSpace() const { return mFree; }
    bool gaugeEnabled() const { return mEnabled; }
    // The width of the red bar for the current values and width (0 when none is drawn).
    int usedBarWidth() const;
    // The figures the gauge shows; empty while it shows none.
    QString text() const;

public slots:
    void update(qint64 aUsedSpace, qint64 aFreeSpace);
    void enable();
    void disable();

protected:
    void paintEvent(QPaintEvent* aEvent) override;

private:
    qint64 mUsed = 0;
    qint64 mFree = 0;
    int mMargin;
    bool mEnabled = true;
};
