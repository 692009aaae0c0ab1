#pragma once

#include <QString>
#include <QStringList>

// Puts a phone video (.MOV) into an MP4 container with ffmpeg, copying its streams as they are
// (nothing is re-encoded). Started with an argument list, never through a shell, and waited for.
class VideoRemuxer
{
public:
    // True when ffmpeg ended well and aTarget has content.
    static bool remux(const QString& aSource, const QString& aTarget);
    static QStringList arguments(const QString& aSource, const QString& aTarget);
    // Whether ffmpeg is there to be started.
    static bool available();
};
