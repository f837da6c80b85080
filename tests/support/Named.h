#pragma once

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QString>
#include <QTest>

#include <source_location>
#include <stdexcept>

namespace talveros::test {

// The one control called `name` below `root`, of kind T: the window keeps its controls to
// itself, and checks reach them as the administrator's scripts and the whole-program checks
// do, by object name. A name that is missing, taken twice or of another kind fails the
// test where it was asked for.
template <typename T = QWidget>
T *named(const QObject &root, const char *name, std::source_location where = std::source_location::current())
{
    const QList<QObject *> found = root.findChildren<QObject *>(QLatin1String(name));
    T *control = found.size() == 1 ? qobject_cast<T *>(found.first()) : nullptr;
    if (!control) {
        const QByteArray why = found.isEmpty() ? QByteArray("no control named ") + name
                               : found.size() > 1
                                   ? QByteArray::number(found.size()) + " controls named " + name
                                   : QByteArray("the control named ") + name + " is a "
                                         + found.first()->metaObject()->className();
        QTest::qFail(why.constData(), where.file_name(), int(where.line()));
        throw std::logic_error(why.toStdString());
    }
    return control;
}

} // namespace talveros::test
