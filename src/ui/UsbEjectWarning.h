#pragma once

#include <QDialog>

class QCheckBox;

// After a run on a USB drive: eject before unplugging. Result 1 when "Do not display this message
// again." is ticked, else 0.
class UsbEjectWarning : public QDialog
{
    Q_OBJECT

public:
    enum Answer
    {
        Dismissed = 0,
        DoNotShowAgain = 1,
    };

    explicit UsbEjectWarning(QWidget* aParent = nullptr);

private slots:
    void userDone();

private:
    QCheckBox* mDoNotShow;
};
