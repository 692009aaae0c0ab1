#pragma once

#include <QString>

// Where the window's "click here" links and its Help button lead. A build that names the
// vendor's site (one constant of the build) links to the site's pages; a Linux build names none
// (distributions deliver updates) and links to the sections of the user's guide installed with
// the program, in the user's language where it is written. A link that can't lead anywhere is
// not shown.
namespace SiteLink {

// The site's scheme and host; empty for a build without one.
QString address();
// The user's guide as installed beside the program ("guide/<language>/index.html" here, or
// "../share/veltrane/guide/..." from the program's folder); empty when there is none.
QString guideFile();
// Where a topic is explained: the site's page aSitePath, else the guide's section aSection
// (its anchor); empty when neither is there.
QString topic(const QString& aSitePath, const QString& aSection);
// aSentence ("Click %1here%2 for ...") with %1 and %2 around the link to the topic; empty when
// there is nowhere to go, so that the sentence is left out.
QString sentence(const QString& aSentence, const QString& aSitePath, const QString& aSection);
// The Help button's address: the site's help page, else the guide; empty when neither is there.
QString help();

} // namespace SiteLink
