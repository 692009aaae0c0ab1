#pragma once

#include <QList>
#include <QPair>
#include <QString>

// Where the files of a library written on another computer are on this one: each mapping turns
// a prefix of a track's location (a drive "Z:/", a share "//nas/music/", or a folder) into a
// folder here. The longest matching prefix wins; a drive letter matches in either case. Kept in
// the settings file as a global list, so that every front end and the library read one map.
class LibraryPathMap
{
public:
    LibraryPathMap() = default;
    explicit LibraryPathMap(const QList<QPair<QString, QString>>& aMappings);

    // The map of the settings file (empty when it has none or can't be read).
    static LibraryPathMap fromSettings();
    // A mapping as the user writes it, "FROM=TO"; false when it has no "=" or no FROM.
    static bool parse(const QString& aText, QString& aFrom, QString& aTo);
    // The prefix in the form it is matched in: slashes, an upper-case drive letter, and a drive
    // letter's colon followed by a slash.
    static QString normalisedPrefix(const QString& aFrom);

    // aMappings with FROM mapped to TO, in place of a mapping of the same prefix; an empty TO
    // removes it. How the settings' list is changed (veltrane-sync's --map-path, the window).
    static QList<QPair<QString, QString>> withMapping(QList<QPair<QString, QString>> aMappings,
                                                      const QString& aFrom, const QString& aTo);

    // aLocation with its longest mapped prefix replaced; unchanged when no mapping matches.
    QString apply(const QString& aLocation) const;
    bool isEmpty() const { return mMappings.isEmpty(); }
    const QList<QPair<QString, QString>>& mappings() const { return mMappings; }

private:
    static bool startsWithPrefix(const QString& aLocation, const QString& aPrefix);

    QList<QPair<QString, QString>> mMappings; // normalised prefix -> local folder, longest first
};
