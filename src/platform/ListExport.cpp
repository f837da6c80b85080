#include "platform/ListExport.h"

#include "platform/Action.h"
#include "platform/Dialogs.h"
#include "platform/RowList.h"
#include "platform/SheetExport.h"

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QListView>
#include <QMenu>

namespace talveros::platform {

namespace {

const QString kWorkbookFilter = QStringLiteral("Excel-werkmap (*.xlsx)");
const QString kCsvFilter = QStringLiteral("CSV, puntkomma's (*.csv)");

} // namespace

void exportList(Dialogs &dialogs, const ListRows &rows, const QString &name)
{
    QString filter = kWorkbookFilter;
    const std::optional<QString> chosen =
        dialogs.saveFileName(QStringLiteral("Lijst exporteren"), QDir::home().filePath(name + QStringLiteral(".xlsx")),
                             {kWorkbookFilter, kCsvFilter}, &filter);
    if (!chosen || chosen->isEmpty())
        return;
    // The suffix typed decides; without one, the filter chosen decides and gives it.
    QString path = *chosen;
    const QString suffix = QFileInfo(path).suffix().toLower();
    SheetFormat format = filter == kCsvFilter ? SheetFormat::Csv : SheetFormat::Xlsx;
    if (suffix == QLatin1String("csv"))
        format = SheetFormat::Csv;
    else if (suffix == QLatin1String("xlsx"))
        format = SheetFormat::Xlsx;
    else
        path += format == SheetFormat::Csv ? QStringLiteral(".csv") : QStringLiteral(".xlsx");

    const std::unique_ptr<Progress> progress = dialogs.progress(
        QStringLiteral("De lijst wordt opgeslagen in \u201c%1\u201d\u2026").arg(QFileInfo(path).fileName()), rows.count());
    writeSheet(rows, path, format, [&progress](int done) { return progress->advance(done); });
}

QAction *offerExport(QWidget *list, Dialogs &dialogs, const QString &name, RowsNow rows)
{
    auto *action = new QAction(QStringLiteral("Exporteren\u2026"), list);
    action->setObjectName(QStringLiteral("actionExportList"));
    action->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_E));
    action->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    QObject::connect(action, &QAction::triggered, list, [&dialogs, name, rows = std::move(rows)] {
        runAction(dialogs, [&] {
            const std::shared_ptr<const ListRows> now = rows();
            if (now)
                exportList(dialogs, *now, name);
        });
    });
    list->setContextMenuPolicy(Qt::ActionsContextMenu);
    list->addAction(action);
    return action;
}

QAction *offerExport(QListView *list, Dialogs &dialogs, const QString &name)
{
    return offerExport(static_cast<QWidget *>(list), dialogs, name, [list] { return listRows(list); });
}

QAction *offerExport(QComboBox *picker, Dialogs &dialogs, const QString &name, const QString &columnName)
{
    QAction *action = offerExport(static_cast<QWidget *>(picker), dialogs, name, [picker, columnName] {
        QStringList entries;
        entries.reserve(picker->count());
        for (int i = 0; i < picker->count(); ++i)
            entries << picker->itemText(i);
        return rowsOf(std::move(entries), columnName);
    });
    if (QLineEdit *edit = picker->lineEdit()) {
        edit->setContextMenuPolicy(Qt::CustomContextMenu);
        QObject::connect(edit, &QWidget::customContextMenuRequested, edit, [edit, action](const QPoint &at) {
            QMenu *menu = edit->createStandardContextMenu();
            menu->setAttribute(Qt::WA_DeleteOnClose);
            menu->addSeparator();
            menu->addAction(action);
            menu->popup(edit->mapToGlobal(at));
        });
    }
    return action;
}

} // namespace talveros::platform
