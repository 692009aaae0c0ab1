// veltrane-extract [--no-camera-roll] BACKUP_FOLDER EXTRACTION_FOLDER: restores what Veltrane
// carries from an unencrypted iTunes backup of an iPhone and lists it in
// EXTRACTION_FOLDER/backup_file_list (what could not be restored in backup_unrestored_list, exit
// code 5).
#include "extract/BackupExtraction.h"

#include <QCoreApplication>
#include <QTextStream>

#include <cstdio>

int main(int argc, char* argv[])
{
    QCoreApplication application(argc, argv);
    QTextStream report(stderr);
    QStringList arguments = QCoreApplication::arguments().mid(1);
    const bool cameraRoll = arguments.removeAll(QStringLiteral("--no-camera-roll")) == 0;
    if (arguments.size() != 2) {
        report << "usage: veltrane-extract [--no-camera-roll] BACKUP_FOLDER EXTRACTION_FOLDER\n";
        return BackupExtraction::BadArguments;
    }
    BackupExtraction extraction(arguments.at(0), arguments.at(1), report, cameraRoll);
    return extraction.run();
}
