#pragma once

#include <QObject>
#include <QString>

#include <memory>

class DriveProber;

// Asks a volume for its size on the checker thread, where a slow or hung drive blocks nobody.
class MountedChecker : public QObject
{
    Q_OBJECT

public:
    static constexpr int MountedStateMounted = 1;
    static constexpr int MountedStateNotMounted = 2;

    explicit MountedChecker(std::shared_ptr<DriveProber> aProber) : mProber(std::move(aProber)) {}

public slots:
    void startMountedCheck(const QString& aRootPath);

signals:
    void mountedStatusUpdate(int aMountedState, const QString& aRootPath);

private:
    std::shared_ptr<DriveProber> mProber;
};
