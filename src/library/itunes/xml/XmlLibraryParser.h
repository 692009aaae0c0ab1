#pragma once

#include "library/itunes/xml/XmlLibrary.h"

#include "library/itunes/xml/PlistReader.h"

#include <QString>

class QIODevice;

// Reads an iTunes library XML file (an Apple XML property list) with a streaming reader,
// keeping only what XmlLibrary holds. Never builds a document in memory.
class XmlLibraryParser
{
public:
    // False, with the reason in aError, when the file is no library or is damaged or cut short.
    static bool parse(QIODevice& aDevice, XmlLibrary& aLibrary, QString& aError);

    // "2014-04-24T09:28:38Z" as an OLE date in local time (days since 30 December 1899); 0 when
    // the text is no such date.
    static double oleDateFromIso(QByteArrayView aText);

private:
    explicit XmlLibraryParser(QIODevice& aDevice) : mReader(aDevice) {}

    bool readLibrary(XmlLibrary& aLibrary);
    bool readTracks(XmlLibrary& aLibrary);
    bool readTrack(XmlLibrary::TrackData& aTrack);
    bool readPlaylists(XmlLibrary& aLibrary, std::vector<std::vector<int>>& aTrackIds);
    bool readPlaylist(XmlLibrary::PlaylistData& aPlaylist, std::vector<int>& aTrackIds);
    bool readPlaylistItems(std::vector<int>& aTrackIds);

    // At a <key> element: its text (valid until the next key); false when it isn't a key.
    bool readKey(QByteArrayView& aKey);
    bool readValueStart();
    QString readString();
    qint64 readInteger();
    bool readBoolean();
    void skipValue();
    bool fail(const QString& aWhy);

    PlistReader mReader;
    QByteArray mKey;
    QString mError;
};
