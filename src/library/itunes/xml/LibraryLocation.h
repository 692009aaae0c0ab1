#pragma once

#include <QString>

// Where the iTunes library XML file is, and where the files it names are on this computer.
class LibraryLocation
{
public:
    // The global settings value "itunes-library-path" when set, else the first that exists of
    // ~/Music/iTunes/iTunes Music Library.xml, ~/Music/iTunes/iTunes Library.xml and
    // ~/Music/Library.xml; empty when there is none.
    static QString findLibraryFile();

    // A file URL of the library ("file://localhost/C:/a%20b/c.mp3", "file:///Users/u/x.m4a")
    // as a path: host dropped, percent-decoded as UTF-8, nothing normalised (macOS writes
    // decomposed Unicode, and its files have those names). Text that is no file URL is kept.
    static QString pathFromFileUrl(const QString& aUrl);

    // A track's location as a file of this computer, given with the user's path mappings
    // applied (to the location and to the music folder): the location when its file is here;
    // else, for a location under the music folder (a library made on another computer), the
    // same remainder in the folder of the music folder's name beside the XML file; else the same
    // path in the other Unicode normalisation (macOS libraries name files decomposed, Linux file
    // systems keep names as written). A path of another computer is never looked for
    // relative to the working folder. Unchanged (the same text) when nothing here matches; the
    // file system is looked at only where another path could name the file.
    static QString resolve(const QString& aLocation, const QString& aMusicFolder, const QString& aXmlFolder);
    // Whether another path could name aLocation's file (beside the library file, or the same
    // path in the other Unicode form): only then does resolve look at the file system. Text only.
    static bool needsLooking(const QString& aLocation, const QString& aMusicFolder,
                             const QString& aXmlFolder);
};
