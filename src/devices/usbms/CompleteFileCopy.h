#pragma once

#include <QString>

// Copies a file so that the destination either doesn't exist or is whole: the data goes to a
// temporary file in the destination's folder, which is renamed into place only when every byte
// is written. A failed copy (drive pulled, disk full) leaves no file behind. An existing
// destination is replaced.
class CompleteFileCopy
{
public:
    // aBytes, when given, receives the size of the copy.
    static bool copy(const QString& aSource, const QString& aDestination, QString* aError = nullptr,
                     qint64* aBytes = nullptr);
    // The temporary name used for aDestination while it is written.
    static QString partialName(const QString& aDestination);
};
