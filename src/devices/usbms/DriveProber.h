#pragma once

#include <QList>
#include <QString>

// Finds the removable USB volumes of the computer and asks a volume how big it is. A volume's
// root is its mount point, ending in a separator. Any thread may call.
class DriveProber
{
public:
    struct Volume
    {
        QString root;
        QString name; // "Unknown Device" when nothing better is known
    };

    virtual ~DriveProber() = default;
    virtual QList<Volume> removableVolumes() = 0;
    // False when the volume doesn't answer (not mounted, gone).
    virtual bool volumeSize(const QString& aRoot, qint64& aTotalBytes, qint64& aFreeBytes) = 0;
};
