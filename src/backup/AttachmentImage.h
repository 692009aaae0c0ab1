#pragma once

#include <QByteArray>
#include <QString>

// A message's attached picture as the phone application takes it: scaled to 400 pixels wide
// (aspect kept), drawn on white, JPEG. Made in memory, so two runs never share a temporary file.
// Empty when the file is not a readable JPEG.
class AttachmentImage
{
public:
    static constexpr int kWidth = 400;
    static QByteArray scaledJpeg(const QString& aPath);
};
