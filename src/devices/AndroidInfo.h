#pragma once

#include <QtGlobal>

// What the phone application says of the phone in KORDA\android.xml.
struct AndroidInfo
{
    qint32 androidVersion = 0;
    qint32 screenPixels = 0;
    bool supportsPlaylistsFromPlaylistsVlt = false;
    bool supportsAlbumArtFromTracksXml = false;
    bool androidInfoRead = false;
};
