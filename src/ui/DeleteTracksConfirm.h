#pragma once

#include <QDialog>

class QCheckBox;
class TrackList;

// Asks before tracks are deleted from the phone, listing them. Result: 0 no, 1 yes, 2 yes and
// "Always delete tracks without warning" ticked.
class DeleteTracksConfirm : public QDialog
{
    Q_OBJECT

public:
    enum Answer
    {
        No = 0,
        Yes = 1,
        YesAlways = 2,
    };

    explicit DeleteTracksConfirm(const TrackList& aTracks, QWidget* aParent = nullptr);

private slots:
    void userClicksDone();
    void userClicksCancel();

private:
    QCheckBox* mAlways;
};
