#pragma once

#include <QString>
#include <QStringList>

// A BlackBerry Desktop archive (.bbb, a zip file) unpacked with 7z. The archive is listed first
// and refused whole when an entry names a path that would leave the folder ("..", an absolute
// path) or is a link (7z would write later entries through it); what 7z writes is checked again
// afterwards, and no link is left in the folder.
class BbbArchive
{
public:
    // Unpacks aArchive into aFolder (made if missing). False, with aError, when 7z is missing,
    // the archive can't be listed or unpacked, or it was refused.
    static bool unpack(const QString& aArchive, const QString& aFolder, QString& aError);

    // The entries of a "7z l -slt" listing, with a flag for links; false when an entry is refused.
    static bool checkListing(const QString& aListing, QString& aError);
};
