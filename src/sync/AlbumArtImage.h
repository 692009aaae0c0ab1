#pragma once

#include <QString>

// Album art as the phone shows it: fitted into 300 x 300 pixels, smoothly scaled, transparency
// on white, saved as JPEG.
class AlbumArtImage
{
public:
    // False (logged) when the image can't be read or saved.
    static bool prepare(const QString& aSourceImage, const QString& aJpegPath);
};
