#include "library/itunes/xml/TrackSearchIndex.h"

#include "library/itunes/xml/XmlLibrary.h"

quint64 TrackSearchIndex::trigramAt(const QString& aText, qsizetype aAt)
{
    return (quint64(aText.at(aAt).unicode()) << 32) | (quint64(aText.at(aAt + 1).unicode()) << 16) |
           quint64(aText.at(aAt + 2).unicode());
}

TrackSearchIndex::TrackSearchIndex(const XmlLibrary& aLibrary)
{
    mFolded.reserve(aLibrary.tracks.size());
    for (std::size_t i = 0; i < aLibrary.tracks.size(); ++i) {
        const XmlLibrary::TrackData& track = aLibrary.tracks[i];
        // The separator keeps a match from spanning two fields.
        const QString folded =
            (track.name + QChar(0x1F) + track.artist + QChar(0x1F) + track.album).toCaseFolded();
        for (qsizetype at = 0; at + 3 <= folded.size(); ++at) {
            std::vector<int>& tracks = mTrigrams[trigramAt(folded, at)];
            if (tracks.empty() || tracks.back() != static_cast<int>(i))
                tracks.push_back(static_cast<int>(i));
        }
        mFolded.push_back(folded);
    }
}

std::vector<int> TrackSearchIndex::find(const QString& aText) const
{
    const QString needle = aText.toCaseFolded();
    std::vector<int> found;
    if (needle.size() < 3) {
        for (std::size_t i = 0; i < mFolded.size(); ++i) {
            if (mFolded[i].contains(needle))
                found.push_back(static_cast<int>(i));
        }
        return found;
    }
    const std::vector<int>* rarest = nullptr;
    for (qsizetype at = 0; at + 3 <= needle.size(); ++at) {
        const auto postings = mTrigrams.constFind(trigramAt(needle, at));
        if (postings == mTrigrams.constEnd())
            return found; // a piece no track has
        if (!rarest || postings->size() < rarest->size())
            rarest = &postings.value();
    }
    for (int candidate : *rarest) {
        if (mFolded[static_cast<std::size_t>(candidate)].contains(needle))
            found.push_back(candidate);
    }
    return found;
}
