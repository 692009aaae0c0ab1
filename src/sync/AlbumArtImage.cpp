#include "sync/AlbumArtImage.h"

#include "app/DiagnosticLog.h"

#include <QFile>
#include <QImage>
#include <QPainter>

bool AlbumArtImage::prepare(const QString& aSourceImage, const QString& aJpegPath)
{
    QFile::remove(aJpegPath);
    const QImage image(aSourceImage);
    if (image.isNull()) {
        logMessage("Image is null - can't proceed");
        return false;
    }
    const QImage scaled = image.scaled(300, 300, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    if (scaled.isNull()) {
        logMessage("scaledImage is null");
        return false;
    }
    QImage onWhite(scaled.size(), QImage::Format_RGB888);
    if (onWhite.isNull()) {
        logMessage("scaledImageWhiteBackground is null");
        return false;
    }
    onWhite.fill(Qt::white);
    {
        QPainter painter(&onWhite);
        painter.drawImage(0, 0, scaled);
    }
    if (!onWhite.save(aJpegPath)) {
        logValue("Error saving image to", aJpegPath);
        return false;
    }
    logValue("Image saved to", aJpegPath);
    return true;
}
