#pragma once

#include "ui/SiteLink.h"

#include <QCoreApplication>
#include <QPixmap>
#include <QString>

// Texts and images the window and the wizard both show.
namespace SyncUiTexts {

inline QString product()
{
    return QStringLiteral("Veltrane");
}

// The warning for a device whose storage can't be reached yet.
inline QString enableUsb()
{
    return QCoreApplication::translate(
               "SyncUiTexts",
               "<p>It is necessary to enable the USB connection on your phone before synchronizing.</p>") +
           SiteLink::sentence(QCoreApplication::translate(
                                  "SyncUiTexts", "<p>Click %1here%2 for instructions on how to do this.</p>"),
                              QStringLiteral("/blog/files/enable_usb.html"), QStringLiteral("phones"));
}

// The wizard's watermark at a screen's pixel ratio (the drawing at twice the size for 150% and
// above).
inline QPixmap watermark(qreal aDevicePixelRatio)
{
    if (aDevicePixelRatio < 1.5)
        return QPixmap(QStringLiteral(":/images/wizard1.png"));
    QPixmap doubled(QStringLiteral(":/images/wizard1@2x.png"));
    doubled.setDevicePixelRatio(2.0);
    return doubled;
}

} // namespace SyncUiTexts
