#include "ui/SpaceGauge.h"

#include <QLinearGradient>
#include <QLocale>
#include <QPainter>

SpaceGauge::SpaceGauge(bool aWideMargin, QWidget* aParent) : QWidget(aParent), mMargin(aWideMargin ? 20 : 2)
{
}

void SpaceGauge::update(qint64 aUsedSpace, qint64 aFreeSpace)
{
    mUsed = aUsedSpace;
    mFree = aFreeSpace;
    setToolTip(text());
    setAccessibleDescription(text());
    QWidget::update();
}

QString SpaceGauge::text() const
{
    if (!mEnabled || mUsed + mFree <= 0)
        return QString();
    const QLocale locale;
    return tr("%1 used, %2 free of %3")
        .arg(locale.formattedDataSize(qMax<qint64>(mUsed, 0)), locale.formattedDataSize(mFree),
             locale.formattedDataSize(mUsed + mFree));
}

void SpaceGauge::enable()
{
    mEnabled = true;
    setToolTip(text());
    QWidget::update();
}

void SpaceGauge::disable()
{
    mEnabled = false;
    setToolTip(QString());
    QWidget::update();
}

int SpaceGauge::usedBarWidth() const
{
    const qint64 total = mUsed + mFree;
    if (total <= 0 || !mEnabled)
        return 0;
    const int inner = width() - 2 * mMargin;
    // Computed in 64 bits: phones hold more bytes than an int counts.
    const qint64 percent = qMin<qint64>(mUsed * 100 / total, 100);
    return static_cast<int>(qMax<qint64>(percent, 0) * inner / 100);
}

void SpaceGauge::paintEvent(QPaintEvent*)
{
    const QColor green(0, 255, 0);
    const QColor red(255, 0, 0);
    const QColor grey(128, 128, 128);
    QLinearGradient background(0, 0, 0, 30);
    background.setColorAt(0, Qt::white);
    background.setColorAt(1, mEnabled && (mUsed != 0 || mFree != 0) ? green : grey);
    QLinearGradient usedSpace(0, 0, 0, 30);
    usedSpace.setColorAt(0, Qt::white);
    usedSpace.setColorAt(1, red);

    QPainter painter(this);
    painter.setPen(Qt::black);
    const int inner = width() - 2 * mMargin;
    painter.setBrush(background);
    painter.drawRoundedRect(mMargin, 0, inner, 20, 3, 3);
    const int bar = usedBarWidth();
    if (bar > 0) {
        painter.setBrush(usedSpace);
        painter.drawRoundedRect(mMargin, 0, bar, 20, 3, 3);
    }
    const QString figures = text();
    if (!figures.isEmpty()) {
        QFont font = painter.font();
        font.setPointSizeF(font.pointSizeF() * 0.85);
        painter.setFont(font);
        painter.setPen(Qt::black);
        painter.drawText(QRect(mMargin, 0, inner, 20), Qt::AlignCenter, figures);
    }
}
