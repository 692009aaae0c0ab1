#pragma once

// The names of the regular files of one folder, kept as the system gives them.
#include "app/UniqueFd.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <utility>
#include <vector>

// A folder's file names read at once and kept in one block of bytes, sorted and searched by
// halves: checking a drive's tracks or a library's files lists thousands of folders, and a
// string per name, or a look-up in the file system per file, would cost more. Names are compared
// as bytes, as the file system compares them: a name looked for is encoded in UTF-8.
class FolderListing
{
public:
    // Lists the regular files of the open folder aFolderFd (links, folders and the rest are left
    // out); false, and nothing listed, when it can't be read. Read through a description of its
    // own: whatever was read through aFolderFd, the listing is whole.
    bool read(int aFolderFd);
    // The same through aFolder, a description just opened that nothing has read yet (no second
    // one is needed: a listing of thousands of folders saves two calls each); closed after.
    bool read(UniqueFd aFolder);
    bool contains(QStringView aName) const;
    // The names, decoded, in byte order.
    QStringList names() const;
    bool isEmpty() const { return mEntries.empty(); }

private:
    bool readFrom(int aFolderFd);
    QByteArrayView nameAt(std::size_t aEntry) const;

    QByteArray mNames;                                     // every name, one after the other
    std::vector<std::pair<qsizetype, qsizetype>> mEntries; // each name's start and length
    mutable QByteArray mEncoded;                           // the name looked for, in UTF-8
};
