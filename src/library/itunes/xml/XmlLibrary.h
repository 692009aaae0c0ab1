#pragma once

#include <QHash>
#include <QString>
#include <QtGlobal>

#include <vector>

// What Veltrane keeps of an iTunes library XML file: only the values the library code asks for,
// so that a 100,000-track library stays small in memory. Immutable once parsed and shared by
// every object made from it.
struct XmlLibrary
{
    struct TrackData
    {
        int id = 0;
        QString name;
        QString artist;
        QString album;
        QString location; // local path as written (percent-decoded), empty when none
        qint64 size = 0;
        int trackNumber = 0;
        double dateAdded = 0; // OLE date, local time
        bool compilation = false;
        bool hasFile = false;
    };

    struct PlaylistData
    {
        QString name;
        int kind = 0;
        int specialKind = 0;
        bool smart = false;
        std::vector<int> tracks; // indexes into XmlLibrary::tracks, in play order
    };

    std::vector<TrackData> tracks;
    std::vector<PlaylistData> playlists;
    QString musicFolder; // the library's "Music Folder" as a local path, ending in '/'
    QString xmlFolder;   // the folder that holds the XML file
};
