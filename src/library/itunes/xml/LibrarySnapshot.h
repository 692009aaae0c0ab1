#pragma once

#include "library/itunes/xml/XmlLibrary.h"

#include <QString>
#include <QtGlobal>

// The parsed library of the last library file read, kept in the KORDA folder so that a run
// whose library file has not changed since does not parse it again (a 100,000-track file takes
// half a second to parse, its snapshot a quarter of that). A snapshot serves only the file it
// was made from, as it was then: the same path, device, inode, size, modification and change
// times to the nanosecond, and the same first and last 64 KB (iTunes writes the time it saved
// the library at the top); a file iTunes rewrote, one replaced by another or touched since is
// parsed again, and so is every library after an upgrade (a snapshot names the Veltrane version
// that wrote it: a later one may read libraries differently). A file modified moments before it
// was read is not kept: a rewrite within its file system's time granularity would keep its
// times. A damaged snapshot (its checksum, its structure) is never used. Reading and writing
// never throw; a snapshot that can't be written costs the next run a parse.
class LibrarySnapshot
{
public:
    // The snapshot file "library-snapshot" in the KORDA folder.
    LibrarySnapshot();
    // aSnapshotPath, written and read by aVersion (this program's version when empty).
    explicit LibrarySnapshot(const QString& aSnapshotPath, const QString& aVersion = QString());

    // The file's identity as the snapshot keeps it; invalid when the file can't be looked at.
    struct FileIdentity
    {
        bool valid = false;
        QString path;
        quint64 device = 0;
        quint64 inode = 0;
        qint64 size = 0;
        qint64 modifiedNs = 0;
        qint64 changedNs = 0;
        quint32 headChecksum = 0; // of the first and the last 64 KB
        quint32 tailChecksum = 0;
        qint64 lookedAtNs = 0; // when the identity was taken (not part of it)
        // Last modified long enough before it was looked at for any later change to show.
        bool settled() const;
        bool operator==(const FileIdentity& aOther) const;
        bool operator!=(const FileIdentity& aOther) const { return !(*this == aOther); }
    };
    static FileIdentity identityOf(const QString& aLibraryFile);
    // The identity of an open file (what was really read), named aLibraryFile.
    static FileIdentity identityOf(int aFd, const QString& aLibraryFile);

    // aLibrary as it was parsed from the file aIdentity names, when the snapshot holds that; the
    // XML folder is not kept (it follows from the path). False for anything else.
    bool load(const FileIdentity& aIdentity, XmlLibrary& aLibrary) const;
    // Replaces the snapshot with aLibrary, parsed from the file of aIdentity (whole or not at
    // all). False when it could not be written.
    bool save(const FileIdentity& aIdentity, const XmlLibrary& aLibrary) const;

    const QString& path() const { return mPath; }

private:
    QString mPath;
    QString mVersion;
};
