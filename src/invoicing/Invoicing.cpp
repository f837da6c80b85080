#include "invoicing/Invoicing.h"

#include "panes/MainWindowAccess.h"

namespace talveros::invoicing {

InvoicingController::InvoicingController(InvoicingTab &, panes::MainWindowAccess &main, QObject *parent)
    : QObject(parent), m_main(main)
{
}

} // namespace talveros::invoicing
