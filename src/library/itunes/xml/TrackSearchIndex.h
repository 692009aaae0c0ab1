#pragma once

#include <QHash>
#include <QString>

#include <vector>

struct XmlLibrary;

// Finds the tracks whose name, artist or album contains a text, ignoring case, without reading
// every track: candidates come from the rarest three-character piece of the text, and each is then
// checked in full. Built once for a parsed library; read-only afterwards, so any thread may ask.
class TrackSearchIndex
{
public:
    explicit TrackSearchIndex(const XmlLibrary& aLibrary);

    // Indexes into the library's tracks, ascending.
    std::vector<int> find(const QString& aText) const;

private:
    static quint64 trigramAt(const QString& aText, qsizetype aAt);

    std::vector<QString> mFolded; // name, artist and album, case-folded, separated by U+001F
    QHash<quint64, std::vector<int>> mTrigrams;
};
