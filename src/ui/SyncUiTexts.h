#pragma once

#include "ui/SiteLink.h"

#include <QObject>
#include <QString>

// Texts the window and the wizard both show.
namespace SyncUiTexts {

inline QString product()
{
    return QStringLiteral("Veltrane");
}

// The warning for a device whose storage can't be reached yet.
inline QString enableUsb()
{
    return QObject::tr(
               "<p>It is necessary to enable the USB connection on your phone before synchronizing.</p>") +
           SiteLink::sentence(QObject::tr("<p>Click %1here%2 for instructions on how to do this.</p>"),
                              QStringLiteral("/blog/files/enable_usb.html"), QStringLiteral("phones"));
}

} // namespace SyncUiTexts
