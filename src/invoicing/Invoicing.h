#pragma once

#include "invoicing/InvoicingTab.h"
#include <QObject>

namespace talveros::panes {
class MainWindowAccess;
}

namespace talveros::invoicing {

// Gives the invoicing tab and the project pane's closing flag their actions.
class InvoicingController : public QObject {
    Q_OBJECT
public:
    InvoicingController(InvoicingTab &tab, panes::MainWindowAccess &main, QObject *parent = nullptr);

private:
    panes::MainWindowAccess &m_main;
};

} // namespace talveros::invoicing
