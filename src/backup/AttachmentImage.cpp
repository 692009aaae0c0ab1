#include "backup/AttachmentImage.h"

#include <QBuffer>
#include <QImage>
#include <QImageReader>
#include <QPainter>

QByteArray AttachmentImage::scaledJpeg(const QString& aPath)
{
    QImageReader reader(aPath);
    const QSize size = reader.size();
    if (!size.isValid() || size.width() <= 0 || size.height() <= 0)
        return QByteArray();
    const int height = qMax(1, static_cast<int>(static_cast<qint64>(size.height()) * kWidth / size.width()));
    // Far taller than wide would still make a huge picture; such a file is no photo.
    if (height > 16 * kWidth)
        return QByteArray();
    reader.setScaledSize(QSize(kWidth, height));
    const QImage scaled = reader.read();
    if (scaled.isNull())
        return QByteArray();
    QImage canvas(kWidth, height, QImage::Format_RGB32);
    canvas.fill(Qt::white);
    {
        QPainter painter(&canvas);
        painter.drawImage(0, 0, scaled);
    }
    QByteArray jpeg;
    QBuffer buffer(&jpeg);
    buffer.open(QIODevice::WriteOnly);
    canvas.save(&buffer, "JPEG", 85);
    return jpeg;
}
