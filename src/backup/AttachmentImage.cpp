#include "backup/AttachmentImage.h"

#include <QBuffer>
#include <QImage>
#include <QImageReader>

QByteArray AttachmentImage::scaledJpeg(const QString& aPath)
{
    // Only JPEG attachments are carried: read as JPEG, so no other image plugin is loaded.
    QImageReader reader(aPath, "jpeg");
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
    // A JPEG has no transparency: its pixels are the picture on white as they are.
    QImage canvas = scaled.convertToFormat(QImage::Format_RGB32);
    QByteArray jpeg;
    QBuffer buffer(&jpeg);
    buffer.open(QIODevice::WriteOnly);
    canvas.save(&buffer, "JPEG", 85);
    return jpeg;
}
