#pragma once

// The names of the regular files of one drive folder, kept as the drive gives them.
#include <QByteArray>
#include <QString>

#include <utility>
#include <vector>

// A folder's file names in one block of bytes, sorted once and searched by halves: checking
// the tracks of a drive lists thousands of folders, and a string per name would cost an
// allocation each. Names are compared as bytes: a track's name, in UTF-8, against the name on
// the drive.
class DriveFolderListing
{
public:
    // Adds a name while the folder is listed.
    void add(const char* aName, qsizetype aLength);
    // Sorts the names; done once, after the last add.
    void seal();
    bool contains(QStringView aName) const;
    bool isEmpty() const { return mEntries.empty(); }

private:
    QByteArrayView nameAt(std::size_t aEntry) const;

    QByteArray mNames;                                     // every name, one after the other
    std::vector<std::pair<qsizetype, qsizetype>> mEntries; // each name's start and length
    mutable QByteArray mEncoded;                           // the name looked for, in UTF-8
};
