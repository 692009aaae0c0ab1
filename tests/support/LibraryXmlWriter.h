#pragma once

// Writes iTunes library XML files the way iTunes does, for tests and benchmarks.
#include <QByteArray>
#include <QList>
#include <QString>

class QIODevice;

struct XmlTrackEntry
{
    int id = 0;
    QString name;
    QString artist;
    QString album;
    QString location; // a file URL, written as given; empty: no Location key
    qint64 size = 1000;
    int trackNumber = 1;
    int discNumber = 0; // 0: no Disc Number key
    QString dateAdded = "2014-04-24T09:28:38Z";
    QString trackType = "File";
    bool compilation = false;
    bool isProtected = false;
};

struct XmlPlaylistEntry
{
    QString name;
    bool master = false;
    int distinguishedKind = -1; // -1: none
    bool podcasts = false;
    bool folder = false;
    bool smart = false;
    QList<int> trackIds;
};

class LibraryXmlWriter
{
public:
    QString musicFolder = "file:///Users/u/Music/iTunes/iTunes%20Media/";
    QList<XmlTrackEntry> tracks;
    QList<XmlPlaylistEntry> playlists;

    void write(QIODevice& aDevice) const;
    QByteArray toXml() const;
    bool writeTo(const QString& aPath) const;

    // A local path as iTunes writes it: file:// plus the percent-encoded path.
    static QString fileUrl(const QString& aPath);
};
