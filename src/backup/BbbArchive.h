#pragma once

#include <QString>
#include <QStringList>

// A BlackBerry Desktop archive (.bbb, a zip file) unpacked with 7z. The archive is listed first
// and refused whole when an entry names a path that would leave the folder ("..", an absolute
// path) or is a link, when what it declares is more than a phone's backup holds or than the
// disk has free. Each file is then read from 7z's output and written by this program, stopping
// when more arrives than the archive declared.
class BbbArchive
{
public:
    static constexpr qint64 kMaxUnpackedBytes = 512LL * 1024 * 1024;

    // Unpacks aArchive into aFolder (made if missing). False, with aError, when 7z is missing,
    // the archive can't be listed or unpacked, or it was refused.
    static bool unpack(const QString& aArchive, const QString& aFolder, QString& aError);

    // The entries of a "7z l -slt" listing, with a flag for links; false when an entry is refused.
    static bool checkListing(const QString& aListing, QString& aError);
};
