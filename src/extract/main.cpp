// veltrane-extract BACKUP_FOLDER EXTRACTION_FOLDER: restores what Veltrane carries from an
// unencrypted iTunes backup of an iPhone and lists it in EXTRACTION_FOLDER/backup_file_list.
#include "extract/BackupExtraction.h"

#include <QCoreApplication>
#include <QTextStream>

#include <cstdio>

int main(int argc, char* argv[])
{
    QCoreApplication application(argc, argv);
    QTextStream report(stderr);
    const QStringList arguments = QCoreApplication::arguments();
    if (arguments.size() != 3) {
        report << "usage: veltrane-extract BACKUP_FOLDER EXTRACTION_FOLDER\n";
        return BackupExtraction::BadArguments;
    }
    BackupExtraction extraction(arguments.at(1), arguments.at(2), report);
    return extraction.run();
}
