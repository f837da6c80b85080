#include "registration/Registration.h"

#include "panes/MainWindowAccess.h"

namespace talveros::registration {

RegistrationController::RegistrationController(ProjectEntryTab &project, ClientEntryTab &, ConsultantEntryTab &,
                                               panes::MainWindowAccess &main, QObject *parent)
    : QObject(parent), m_main(main)
{
    // The project code follows the project name as it is typed or set.
    auto *entry = &project;
    connect(entry->Text54, &QLineEdit::textChanged, this,
            [entry] { entry->Text55->setText(entry->Text53->text() + entry->Text54->text() + entry->Text52->text()); });
}

} // namespace talveros::registration
