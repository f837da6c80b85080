#pragma once

#include "invoicing/InvoicingTab.h"
#include "mainwindow/Form1.h"
#include "mainwindow/MasterLists.h"
#include "panes/MainWindowAccess.h"

namespace talveros::mainwindow {

// The window as its features see it.
class Form1::Access final : public panes::MainWindowAccess {
public:
    explicit Access(Form1 &form) : m_form(form) {}

    platform::Services &services() override { return m_form.m_services; }
    QWidget *window() override { return &m_form; }
    data::BoundSource &consultantSource() override { return *m_form.Adodc1; }
    data::BoundSource &clientSource() override { return *m_form.Adodc2; }
    data::BoundSource &projectSource() override { return *m_form.Adodc3; }
    panes::ConsultantPane &consultantPane() override { return *m_form.consultantPane; }
    panes::ClientPane &clientPane() override { return *m_form.clientPane; }
    panes::ProjectPane &projectPane() override { return *m_form.projectPane; }
    panes::StatusStrip &statusStrip() override { return m_form.m_strip; }
    QTabWidget &SSTab1() override { return *m_form.SSTab1; }
    QTabWidget &SSTab2() override { return *m_form.SSTab2; }
    QComboBox &Combo7() override { return *m_form.invoicing->Combo7; }
    void rebuildConsultantLists() override { m_form.m_lists->rebuildConsultantLists(); }
    void rebuildClientLists() override { m_form.m_lists->rebuildClientLists(); }
    void rebuildProjectLists() override { m_form.m_lists->rebuildProjectLists(); }
    void describeCurrentProject() override { m_form.m_lists->describeProjectKeepingPanes(); }
    bool storePendingEdits() override { return m_form.storePendingEdits(); }

private:
    Form1 &m_form;
};

} // namespace talveros::mainwindow
