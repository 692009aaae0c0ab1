#include "devices/usbms/DrivePath.h"

#include "devices/Device.h"

QString DrivePath::localPath(const QString& aRoot, const QString& aDevicePath)
{
    const QStringList parts = Device::splitDevicePath(aDevicePath);
    if (parts.isEmpty())
        return QString();
    for (const QString& part : parts) {
        if (part == QLatin1String(".") || part == QLatin1String("..") || part.contains(QLatin1Char('/')) ||
            part.contains(QChar(0)))
            return QString();
    }
    QString root = aRoot;
    if (!root.endsWith(QLatin1Char('/')))
        root += QLatin1Char('/');
    return root + parts.join(QLatin1Char('/'));
}
