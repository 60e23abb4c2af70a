#include "ui/searchbar.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>

#include "platform/qt/dialog.h"
#include "res/ids.h"

CSearchBar::CSearchBar(CDialog& dlg, QWidget* parent)
    : QWidget(parent), m_options(new CFoldButton(tr("Search options"), dlg.GetDlgItem(IDC_OPTIONSGROUP), this))
{
    const auto item = [&dlg](int id) { return dlg.GetDlgItem(id); };

    // Look in, its picker and Search on one line, the program's About at
    // its end; the name and text filters under them with the options' switch.
    auto* grid = new QGridLayout;
    grid->addWidget(dlg.LabelFor(IDC_LOOKIN), 0, 0);
    grid->addWidget(item(IDC_LOOKIN), 0, 1, 1, 3);
    grid->addWidget(item(IDC_BROWSE), 0, 4);
    grid->addWidget(item(IDOK), 0, 5);
    grid->addWidget(item(IDC_ABOUT), 0, 6, Qt::AlignRight);
    grid->addWidget(dlg.LabelFor(IDC_FILEMASK), 1, 0);
    grid->addWidget(item(IDC_FILEMASK), 1, 1);
    grid->addWidget(dlg.LabelFor(IDC_CONTAINING), 1, 2);
    grid->addWidget(item(IDC_CONTAINING), 1, 3);
    grid->addWidget(m_options, 1, 4, 1, 3, Qt::AlignLeft);
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(3, 1);
    grid->setColumnMinimumWidth(6, 0);

    const auto row = [](std::initializer_list<QWidget*> widgets) -> QBoxLayout* {
        auto* layout = new QHBoxLayout;
        for (QWidget* widget : widgets)
            layout->addWidget(widget);
        layout->addStretch(1);
        return layout;
    };
    // Two lines: what is looked for, then the size range with what the hits
    // do to the list.
    auto* panel = new QVBoxLayout(item(IDC_OPTIONSGROUP));
    panel->addLayout(row({item(IDC_SUBFOLDERS), item(IDC_CHECKSOUND), item(IDC_ONLYWITHSOUND)}));
    QBoxLayout* modes = row({item(IDC_REPLACE), item(IDC_ADD), item(IDC_REMOVE)});
    modes->setContentsMargins(4, 0, 4, 0);
    item(IDC_MODEFRAME)->setLayout(modes);
    panel->addLayout(row({item(IDC_SIZERANGE), item(IDC_SIZEMIN), dlg.NextControl(IDC_SIZEMIN), item(IDC_SIZEMAX),
                          item(IDC_MODEFRAME)}));

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addLayout(grid);
    layout->addWidget(item(IDC_OPTIONSGROUP));
    SetFolded(false);
}
