#include "ui/UpdateDialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QVBoxLayout>

UpdateDialog::UpdateDialog(QWidget* aParent, const QString& aTitle, const QString& aText) : QDialog(aParent)
{
    setModal(true);
    setFixedWidth(500);
    setWindowTitle(aTitle);
    auto* layout = new QVBoxLayout(this);
    auto* label = new QLabel(aText);
    label->setWordWrap(true);
    label->setOpenExternalLinks(true);
    layout->addWidget(label);
    auto* box = new QCheckBox(tr("Do not display this message again."));
    connect(box, &QCheckBox::stateChanged, this, &UpdateDialog::dontShowAgainStateChanged);
    layout->addWidget(box);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    layout->addWidget(buttons);
}

void UpdateDialog::dontShowAgainStateChanged(int aNewState)
{
    mDoNotShowAgain = aNewState == Qt::Checked;
}
