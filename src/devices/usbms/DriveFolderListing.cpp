#include "devices/usbms/DriveFolderListing.h"

#include <QStringEncoder>

#include <algorithm>

void DriveFolderListing::add(const char* aName, qsizetype aLength)
{
    mEntries.emplace_back(mNames.size(), aLength);
    mNames.append(aName, aLength);
}

QByteArrayView DriveFolderListing::nameAt(std::size_t aEntry) const
{
    return QByteArrayView(mNames.constData() + mEntries[aEntry].first, mEntries[aEntry].second);
}

void DriveFolderListing::seal()
{
    std::sort(mEntries.begin(), mEntries.end(), [this](const auto& aLeft, const auto& aRight) {
        return QByteArrayView(mNames.constData() + aLeft.first, aLeft.second)
                   .compare(QByteArrayView(mNames.constData() + aRight.first, aRight.second)) < 0;
    });
}

bool DriveFolderListing::contains(QStringView aName) const
{
    QStringEncoder encoder(QStringConverter::Utf8);
    mEncoded.resize(encoder.requiredSpace(aName.size()));
    mEncoded.resize(encoder.appendToBuffer(mEncoded.data(), aName) - mEncoded.constData());
    const QByteArrayView wanted(mEncoded);
    std::size_t low = 0, high = mEntries.size();
    while (low < high) {
        const std::size_t middle = low + (high - low) / 2;
        const int order = nameAt(middle).compare(wanted);
        if (order == 0)
            return true;
        if (order < 0)
            low = middle + 1;
        else
            high = middle;
    }
    return false;
}
