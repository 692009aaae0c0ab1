// veltrane-extract [--no-camera-roll] BACKUP_FOLDER EXTRACTION_FOLDER: restores what Veltrane
// carries from an unencrypted iTunes backup of an iPhone and lists it in
// EXTRACTION_FOLDER/backup_file_list (what could not be restored in backup_unrestored_list, exit
// code 5).
#include "extract/BackupExtraction.h"

#include <QCoreApplication>
#include <QTextStream>

#include <algorithm>
#include <cstdio>

int main(int argc, char* argv[])
{
    QCoreApplication application(argc, argv);
    QTextStream report(stderr);
    QStringList arguments = QCoreApplication::arguments().mid(1);
    const char* const usage = "usage: veltrane-extract [--no-camera-roll] BACKUP_FOLDER EXTRACTION_FOLDER\n";
    if (arguments.contains(QStringLiteral("--version"))) {
        QTextStream(stdout) << "veltrane-extract " VELTRANE_VERSION "\n";
        return BackupExtraction::Extracted;
    }
    if (arguments.contains(QStringLiteral("--help")) || arguments.contains(QStringLiteral("-h"))) {
        QTextStream(stdout) << usage;
        return BackupExtraction::Extracted;
    }
    const bool cameraRoll = arguments.removeAll(QStringLiteral("--no-camera-roll")) == 0;
    // An option it doesn't know is never taken for a folder's name.
    const bool unknownOption =
        std::any_of(arguments.cbegin(), arguments.cend(),
                    [](const QString& aArgument) { return aArgument.startsWith(QLatin1Char('-')); });
    if (unknownOption || arguments.size() != 2) {
        report << usage;
        return BackupExtraction::BadArguments;
    }
    BackupExtraction extraction(arguments.at(0), arguments.at(1), report, cameraRoll);
    return extraction.run();
}
