// iPhone backups: exporting a large message database (time and peak memory), and how many bytes
// the extractor reads beside the bytes it restores.
#include "backup/AppleExtractor.h"
#include "support/BackupBuilder.h"
#include "support/IphoneDatabases.h"
#include "support/TestHome.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QTextStream>

#include <sys/resource.h>

#include <cstdio>

namespace {

long peakRssMb()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss / 1024;
}

void exportMessages(const TestHome& aHome)
{
    const int messages = 100000;
    const int attachments = 2000;
    const QString sms = aHome.path() + "/sms.db";
    IphoneDatabases::newSms(sms, messages, attachments);
    AppleExtractor extractor;
    extractor.mSmsDatabases << sms;
    // Phone-camera sized pictures: 1,600 x 1,200 JPEGs.
    const QByteArray photo = IphoneDatabases::picture(1600, 1200);
    for (int a = 1; a <= attachments; ++a) {
        const QString key = QStringLiteral("Library/SMS/Attachments/%1/IMG_%2.jpeg")
                                .arg(a % 100, 2, 10, QLatin1Char('0'))
                                .arg(a);
        extractor.mSmsAttachments.insert(key, aHome.writeFile("att/" + QString::number(a) + ".jpeg", photo));
    }
    const long before = peakRssMb();
    QElapsedTimer timer;
    timer.start();
    extractor.generateMessagesXML(aHome.path(), aHome.path() + "/messages.xml");
    std::printf(
        "messages: %d messages, %d JPEG attachments exported in %.2f s; peak memory %ld MB (%ld MB before); "
        "XML %lld MB\n",
        messages, attachments, static_cast<double>(timer.elapsed()) / 1000.0, peakRssMb(), before,
        QFileInfo(aHome.path() + "/messages.xml").size() / (1024 * 1024));
}

void extractBackup(const TestHome& aHome, const QString& aProgram)
{
    // A backup of 200 MB in which a tenth is what Veltrane carries.
    BackupBuilder backup(aHome.path() + "/backups", "bench");
    backup.setInfoPlist("Bench iPhone");
    const QByteArray mb(1024 * 1024, 'x');
    for (int i = 0; i < 20; ++i)
        backup.addFile("CameraRollDomain", QStringLiteral("Media/DCIM/100APPLE/IMG_%1.JPG").arg(i), mb);
    for (int i = 0; i < 180; ++i)
        backup.addFile("AppDomain-com.example.app", QStringLiteral("Documents/data%1.bin").arg(i), mb);
    backup.write();
    QDir().mkpath(aHome.path() + "/extracted");
    QProcess extractor;
    extractor.setProcessChannelMode(QProcess::MergedChannels);
    extractor.start(aProgram, {backup.path(), aHome.path() + "/extracted"});
    extractor.waitForFinished(-1);
    std::printf("extractor: %s", extractor.readAll().constData());
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication application(argc, argv);
    TestHome home;
    exportMessages(home);
    extractBackup(home, QCoreApplication::applicationDirPath() + "/../src/veltrane-extract");
    return 0;
}
