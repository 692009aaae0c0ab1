#pragma once

#include <QString>

// Links to the vendor's web site in the window's texts: the site address (scheme and host) is
// one constant of the build; a link is an HTML anchor to a path of it.
namespace SiteLink {

inline QString address()
{
    return QStringLiteral(VELTRANE_SITE_ADDRESS);
}

// <a href="ADDRESS/PATH">TEXT</a>
inline QString to(const QString& aPath, const QString& aText)
{
    return QStringLiteral("<a href=\"") + address() + aPath + QStringLiteral("\">") + aText +
           QStringLiteral("</a>");
}

} // namespace SiteLink
