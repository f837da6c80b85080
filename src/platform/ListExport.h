#pragma once

#include <QString>

#include <functional>
#include <memory>

class QAction;
class QComboBox;
class QListView;
class QWidget;

namespace talveros::platform {

class Dialogs;
class ListRows;

// The rows an export writes, taken when the administrator asks for it: what the list
// shows at that moment, kept as it is while the file is written.
using RowsNow = std::function<std::shared_ptr<const ListRows>()>;

// Asks where to write the rows, as an Excel workbook or as CSV for a Dutch spreadsheet,
// and writes them there with a progress box that can stop it. `name` is the file name
// offered, without its suffix. A failure is thrown (ExportFailure), for the action's box.
void exportList(Dialogs &dialogs, const ListRows &rows, const QString &name);

// "Exporteren…" in the widget's context menu (beside the entries other features give
// it) and on Ctrl+E while the widget or one of its children has the focus.
QAction *offerExport(QWidget *list, Dialogs &dialogs, const QString &name, RowsNow rows);
// A list made by rowList (platform/RowList.h): the rows it shows.
QAction *offerExport(QListView *list, Dialogs &dialogs, const QString &name);
// A picker: its entries, one column named `columnName`. An editable picker offers it
// in its edit field's menu too, after the field's own entries.
QAction *offerExport(QComboBox *picker, Dialogs &dialogs, const QString &name, const QString &columnName);

} // namespace talveros::platform
