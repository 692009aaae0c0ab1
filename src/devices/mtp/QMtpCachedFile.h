#pragma once

#include "devices/mtp/QMtpFile.h"

// An object's description as the folder cache keeps it (the same layout as QMtpFile).
class QMtpCachedFile : public QMtpFile
{
public:
    using QMtpFile::QMtpFile;
    explicit QMtpCachedFile(const QMtpFileInterface& aFile)
        : QMtpFile(aFile.objectId(), aFile.parentId(), aFile.storageId(), aFile.name(), aFile.size(),
                   aFile.type())
    {
    }
};
