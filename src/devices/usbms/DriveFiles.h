#pragma once

#include "app/FolderListing.h"
#include "app/UniqueFd.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <vector>

#include <sys/types.h>

// The files of one drive, reached only through the drive's root. A drive is a removable medium
// that anyone can write, so nothing here follows a link below the root (a link is refused where
// a folder or a file is expected, and removed itself where a file is removed), no path leaves
// the root, and every write first checks that the root is still the volume first opened there:
// an unplugged drive leaves a bare mount-point folder on the computer's own disk, and nothing is
// ever written into that. Paths are lists of names, each checked: no ".", "..", "/" or NUL.
//
// Copies are whole or absent: the data goes to a short temporary name in the destination's
// folder and takes the real name only once it is on the drive (DriveCopyBatch names many copies
// after one flush of the drive).
//
// Used by one thread at a time; owns the descriptors it opens.
class DriveFiles
{
public:
    enum Status
    {
        Ok,
        Missing, // nothing there
        Refused, // a link, a device node or a name that would leave the drive
        Gone,    // the volume is no longer mounted at the root
        Full,    // no space left on the drive
        Failed,  // any other error of the system
    };

    explicit DriveFiles(const QString& aRoot);
    DriveFiles(const DriveFiles&) = delete;
    DriveFiles& operator=(const DriveFiles&) = delete;

    const QString& root() const { return mRoot; }
    // True while the root is the volume first found there (it is opened on first use).
    bool present();
    // The outcome of the last operation that failed, and its system message.
    Status lastStatus() const { return mStatus; }
    QString lastError() const { return mError; }

    // A name list from a device path ("\Music\A\b.mp3") or a relative one ("KORDA/uniqueid");
    // false when a part is no plain name.
    static bool split(const QString& aPath, QStringList& aParts);
    static bool isPlainName(const QString& aName);

    bool isFolder(const QStringList& aPath);
    // A regular file (its size in aSize); false for a link or anything else.
    bool isFile(const QStringList& aPath, qint64* aSize = nullptr);
    // Anything at all, a dangling link included.
    bool exists(const QStringList& aPath);
    bool makeFolder(const QStringList& aPath);
    // A regular file of at most aMaxBytes; a larger one is refused, unread.
    bool readFile(const QStringList& aPath, qint64 aMaxBytes, QByteArray& aContent);
    // Whether the regular file aPath holds exactly aContent (read a block at a time).
    bool holds(const QStringList& aPath, const QByteArray& aContent);
    // Writes aContent whole, flushed, in place of what was there.
    bool writeFile(const QStringList& aPath, const QByteArray& aContent);
    bool appendToFile(const QStringList& aPath, const QByteArray& aContent);
    // Creates a new file for writing (none may be there); invalid on failure.
    UniqueFd createFile(const QStringList& aPath);
    // Removes the file or the link at aPath (never what a link points to); a missing one is Ok.
    bool removeFile(const QStringList& aPath);
    // The file at aPath holds exactly what the local file aLocal holds.
    bool sameContent(const QStringList& aPath, const QString& aLocal);
    // The names of the regular files in a folder, unsorted.
    QStringList fileNames(const QStringList& aFolder);
    // The same into a listing (left empty when the folder can't be listed).
    void listFileNames(const QStringList& aFolder, FolderListing& aListing);

    // Copies the local regular file aSource to aPath, replacing what is there, flushed and named
    // at once; aBytes receives its size.
    bool copyIn(const QString& aSource, const QStringList& aPath, qint64* aBytes = nullptr);

    // The temporary name a copy to aName is written under.
    static QString partialName(const QString& aName);

private:
    friend class DriveCopyBatch;

    bool openRoot();
    // A descriptor of the folder aFolder (made as needed when aCreate), or -1. Owned here: the
    // last folder and those above it are kept open for the next operations.
    int folder(const QStringList& aFolder, bool aCreate);
    // Opens aName in aFolder with O_CREAT and aFlags (O_EXCL: a leftover there is removed
    // first), no link followed.
    UniqueFd createIn(const QStringList& aFolder, const QByteArray& aName, int aFlags);
    void forgetFolder();
    // aPath opened to read, when it is a regular file of at most aMaxBytes (its size in aSize).
    UniqueFd openToRead(const QStringList& aPath, qint64 aMaxBytes, qint64& aSize);
    // Reads up to aLength bytes; how many (fewer at the end of the file), -1 on failure.
    qint64 readSome(int aFd, char* aData, qint64 aLength, const QStringList& aPath);
    bool fail(Status aStatus, const QString& aWhat);
    bool failErrno(const QString& aWhat);
    // Copies aSource under the temporary name of aPath (flushed when aFlush); aBytes receives its
    // size. On failure nothing is left under the temporary name.
    bool copyUnnamed(const QString& aSource, const QStringList& aPath, bool aFlush, qint64& aBytes);
    // Gives a whole copy written under aPartial its name aName in the folder aParent, the name
    // flushed when aFlushName; on failure the copy is removed.
    bool giveName(int aParent, const QByteArray& aPartial, const QByteArray& aName, const QString& aWhat,
                  bool aFlushName = true);
    // Flushes everything written to the drive.
    bool flushDrive();

    QString mRoot;
    UniqueFd mRootFd;
    dev_t mDevice = 0;
    ino_t mInode = 0;
    bool mGone = false;
    Status mStatus = Ok;
    QString mError;
    QStringList mFolderParts;         // the last folder used, and
    std::vector<UniqueFd> mFolderFds; // a descriptor for it and each folder above it
};
