#include "ui/DeleteTracksConfirm.h"

#include "app/LogScope.h"
#include "tracks/Track.h"
#include "tracks/TrackList.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

DeleteTracksConfirm::DeleteTracksConfirm(const TrackList& aTracks, QWidget* aParent) : QDialog(aParent)
{
    setModal(true);
    auto* layout = new QVBoxLayout(this);
    auto* question =
        new QLabel(tr("The following tracks will be removed from your device. Do you want to continue?"));
    question->setWordWrap(true);
    layout->addWidget(question);
    auto* list = new QListWidget;
    for (int i = 0; i < aTracks.count(); ++i)
        list->addItem(aTracks.at(i).trackName());
    layout->addWidget(list);
    mAlways = new QCheckBox(tr("Always delete tracks without warning"));
    layout->addWidget(mAlways);
    auto* buttons = new QHBoxLayout;
    auto* no = new QPushButton(tr("No"));
    auto* yes = new QPushButton(tr("Yes"));
    buttons->addStretch();
    buttons->addWidget(no);
    buttons->addWidget(yes);
    layout->addLayout(buttons);
    connect(no, &QPushButton::clicked, this, &DeleteTracksConfirm::userClicksCancel);
    connect(yes, &QPushButton::clicked, this, &DeleteTracksConfirm::userClicksDone);
}

void DeleteTracksConfirm::userClicksDone()
{
    LogScope log("DeleteTracksConfirm::userClicksDone");
    done(mAlways->isChecked() ? YesAlways : Yes);
}

void DeleteTracksConfirm::userClicksCancel()
{
    LogScope log("DeleteTracksConfirm::userClicksCancel");
    done(No);
}
