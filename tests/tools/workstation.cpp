// One workstation registering in a loop, for the tests of several workstations at once:
//
//   talveros_workstation consultants|clients|projects COUNT PORT TAG run|step
//
// It works through the server on PORT. It waits for a line on stdin (so that several
// start at the same moment) before its first registration, or with "step" before each
// one, and makes COUNT registrations, writing one line for each:
// "N <number>" for a created consultant or client, "S <code>" for a stored project,
// "T <code>" for a project code found taken, "E <text>" for a refusal.
#include "data/ConnectionSettings.h"
#include "data/DbError.h"
#include "registration/RegistrationStore.h"
#include "registration/RegistrationTexts.h"

#include <QCoreApplication>
#include <QTextStream>

#include <iostream>
#include <string>

using namespace talveros;

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 6) {
        std::cerr << "usage: talveros_workstation consultants|clients|projects COUNT PORT TAG run|step\n";
        return 2;
    }
    const QString kind = args[1];
    const int count = args[2].toInt();
    const QString tag = args[4];
    const bool inStep = args[5] == QLatin1String("step");
    data::overrideServerForTests(QStringLiteral("127.0.0.1"), args[3].toInt());

    std::string go;

    QTextStream out(stdout);
    const bool client = kind == QLatin1String("clients");
    const registration::MasterTable target =
        client ? registration::MasterTable{QStringLiteral("TALVERO_opdrachtgevers"),
                                           QStringLiteral("Opdrachtgevernummer"), registration::clientNumberInUse}
               : registration::MasterTable{QStringLiteral("TALVERO_consultants"), QStringLiteral("consultantnummer"),
                                           registration::consultantNumberInUse};
    for (int i = 0; i < count; ++i) {
        if (i == 0 || inStep)
            std::getline(std::cin, go);
        try {
            if (kind == QLatin1String("projects")) {
                const QString code = QStringLiteral("C%1").arg(i, 4, 10, QLatin1Char('0'));
                const bool stored = registration::insertProjectUnlessTaken(
                    code, {{"Projectnaam", tag}, {"Projectcode", code}, {"AFSLUITEN", QStringLiteral("Nee")}});
                out << (stored ? "S " : "T ") << code << Qt::endl;
            } else {
                const QString number = registration::insertNumberedRow(target, [&](const QString &n) {
                    return registration::Fields{{client ? "Opdrachtgevernummer" : "consultantnummer", n}, {"naam", tag}};
                });
                out << "N " << number << Qt::endl;
            }
        } catch (const data::DbError &e) {
            out << "E " << e.text().simplified() << Qt::endl;
        }
    }
    return 0;
}
