#include "support/WindowRig.h"

#include "mainwindow/Form1.h"
#include "support/TestDb.h"

#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QtTest>

namespace talveros::test {

using data::Database;

void emptyWindowTables()
{
    for (const QString &table : {tables::kConsultants, tables::kClients, tables::kProjects, tables::kProjectData,
                                 tables::kMessages})
        resetTable(Database::Main, table);
    insertRows(Database::Main, tables::kMessages, {QStringLiteral("Bericht")}, {{s("")}});
}

WindowRig::WindowRig(platform::PageOutput *output)
    : m_services{dialogs, clock, printers, workstation, app, sound, shell, icmp, output ? *output : pages},
      m_window(std::make_unique<mainwindow::Form1>(m_services)), window(*m_window), form(*m_window)
{
    window.load();
}

WindowRig::~WindowRig() = default;

QComboBox *WindowRig::combo(const char *name) const { return named<QComboBox>(form, name); }

QString WindowRig::text(const char *name) const
{
    QWidget *box = named(form, name);
    if (auto *line = qobject_cast<QLineEdit *>(box))
        return line->text();
    if (auto *lines = qobject_cast<QPlainTextEdit *>(box))
        return lines->toPlainText();
    QTest::qFail(qPrintable(QStringLiteral("%1 is no text box").arg(QLatin1String(name))), __FILE__, __LINE__);
    return {};
}

QStringList items(const QComboBox *combo)
{
    QStringList list;
    for (int i = 0; i < combo->count(); ++i)
        list << combo->itemText(i);
    return list;
}

QStringList items(const QListWidget *list)
{
    QStringList lines;
    for (int i = 0; i < list->count(); ++i)
        lines << list->item(i)->text();
    return lines;
}

void choose(QComboBox *combo, const QString &entry)
{
    const int index = combo->findText(entry);
    QVERIFY2(index >= 0, qPrintable(entry));
    combo->setCurrentIndex(index);
    emit combo->activated(index);
}

} // namespace talveros::test
