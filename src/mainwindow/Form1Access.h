#pragma once

#include "mainwindow/Form1.h"
#include "mainwindow/Form1Ui.h"
#include "mainwindow/MasterLists.h"
#include "panes/MainWindowAccess.h"

#include <QPointer>

namespace talveros::mainwindow {

// The window as its features see it.
class Form1::Access final : public panes::MainWindowAccess {
public:
    Access(Form1 &form, Form1Ui &ui, MasterLists &lists) : m_form(form), m_ui(ui), m_lists(lists) {}

    // What start-up filled, for the features' pickers.
    void listed(const MasterLists::Listed &listed)
    {
        emit consultantsListed(listed.consultants);
        emit clientsListed(listed.clients);
        emit projectsListed(listed.projects);
    }

    platform::Services &services() override { return m_form.m_services; }
    QWidget *window() override { return &m_form; }
    data::BoundSource &consultantSource() override { return *m_ui.consultantSource; }
    data::BoundSource &clientSource() override { return *m_ui.clientSource; }
    data::BoundSource &projectSource() override { return *m_ui.projectSource; }
    void rebuildConsultantLists() override { emit consultantsListed(m_lists.rebuildConsultantLists()); }
    void rebuildClientLists() override { emit clientsListed(m_lists.rebuildClientLists()); }
    void rebuildProjectLists(panes::ProjectListChange change) override
    {
        emit projectsListed(m_lists.rebuildProjectLists());
        emit projectListChanged(change);
    }
    panes::ProjectParties describeCurrentProject() override { return m_lists.describeProjectKeepingPanes(); }
    bool storePendingEditsOrLetGo(const QString &question) override
    {
        return m_form.storePendingEditsOrLetGo(question);
    }
    void showTab(panes::Tab tab) override { m_ui.outerTabs->setCurrentIndex(int(tab)); }
    QString chosenPrinter() const override { return m_ui.printerList->currentText(); }
    void dropRepeatedPrinters() override;
    void showTrace(const QString &text) override;
    void setTraceRunning(bool running) override;

private:
    Form1 &m_form;
    Form1Ui &m_ui;
    MasterLists &m_lists;
    // A trace keeps running while the window may be closing under it.
    QPointer<QPlainTextEdit> m_traceBox{m_ui.traceBox};
    QPointer<QPushButton> m_traceButton{m_ui.routeTraceButton};
};

} // namespace talveros::mainwindow
